#pragma once
// The plain view that frames a report view: it draws a soft shadow falling
// to the lower right of the report view it holds, so the report reads as a
// sheet of paper lying on the page.

#include <QPointer>
#include <QWidget>

namespace ch::business {

class GXReportHolderView : public QWidget {
    Q_OBJECT
public:
    explicit GXReportHolderView(QWidget* parent = nullptr);
    // The framed view, laid out inside with room for its shadow; none draws
    // no shadow.
    void setReportView(QWidget* view);
    QWidget* reportView() const { return mReportView; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> mReportView;
};

} // namespace ch::business
