#pragma once
// CReportView: a report shown one page at a time. A page is as large as the
// view; the user pages with first, last, next and previous. The page shown
// stays within 1..max(1, page count), also when a resize changes the count.
// Or, set to show the whole report, one sheet sized to it. Texts use the
// styles' screen attributes.

#include <memory>

#include <QString>
#include <QWidget>

#include "analysis/ReportPages.h"

namespace ch {

class CReportContents;

class CReportView : public QWidget {
    Q_OBJECT

public:
    explicit CReportView(QWidget* parent = nullptr);
    ~CReportView() override;

    const std::shared_ptr<CReportContents>& mReportContents() const { return mContents; }
    // Shows the contents (none: an empty report) laid out anew, and takes
    // their title.
    void setMReportContents(std::shared_ptr<CReportContents> contents);

    // Each answers the page shown after the move, and redraws.
    unsigned firstPage();
    unsigned lastPage();
    unsigned nextPage();
    unsigned previousPage();

    unsigned currentPage() const { return mPaging.currentPage(); }
    unsigned numberOfPages() const { return mPaging.numberOfPages(); }
    // "current/count".
    QString pageDescription() const;

    const QString& title() const { return mTitle; }
    void setTitle(const QString& title) { mTitle = title; }

    // The whole report on one sheet, for a view inside a scroll area: no
    // pages (a page break takes no room), a margin around the text, and a
    // size hint as tall as the report and as wide as its texts need, so that
    // no column is cut at the edge.
    void setShowsWholeReport(bool whole);
    bool showsWholeReport() const { return mShowsWholeReport; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The page count changed (new contents, another size).
    void numberOfPagesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void countPages();

    std::shared_ptr<CReportContents> mContents;
    ReportPaging mPaging;
    QString mTitle;
    bool mShowsWholeReport = false;
};

} // namespace ch
