#pragma once
// The paging row of a report shown one page at a time: first, previous, the
// page shown of how many ("1/2"), next and last. A button that would not
// move is disabled; the row follows the view's page and page count.

#include <QWidget>

class QLabel;
class QToolButton;

namespace ch {

class CReportView;

class ReportPageButtons : public QWidget {
    Q_OBJECT

public:
    explicit ReportPageButtons(CReportView& view, QWidget* parent = nullptr);

    // Reads the view's page and count again.
    void refresh();

private:
    // Moves the view by one of its paging steps and shows where it now is.
    void turn(unsigned (CReportView::*step)());

    CReportView& mView;
    QToolButton* mFirst;
    QToolButton* mPrevious;
    QToolButton* mNext;
    QToolButton* mLast;
    QLabel* mDescription;
};

} // namespace ch
