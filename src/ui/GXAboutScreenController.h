#pragma once
// The About window: the application's name, version and credits, with mail
// links to the maker's support and sales and a link to its web site.

#include <QDialog>

namespace ch {

class GXAboutScreenController : public QDialog {
    Q_OBJECT

public:
    explicit GXAboutScreenController(QWidget* parent = nullptr);

public slots:
    void doSupportLink();
    void doSalesLink();
};

} // namespace ch
