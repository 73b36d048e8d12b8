#pragma once
// The band at the top of a page: the page's icon, title and a quieter line
// below it, on a light shaded background with a line underneath.

#include <QWidget>

class QLabel;

namespace ch {

class PageHeading : public QWidget {
    Q_OBJECT

public:
    explicit PageHeading(QWidget* parent = nullptr);

    void setIcon(const QIcon& icon);
    void setTitle(const QString& title);
    void setSubtitle(const QString& subtitle);
    QString title() const;
    QString subtitle() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* mIcon;
    QLabel* mTitle;
    QLabel* mSubtitle;
};

} // namespace ch
