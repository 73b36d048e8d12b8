#include "analysis/views/CReportView.h"

#include <QPainter>
#include <QResizeEvent>

#include <cmath>

#include "analysis/CReportContents.h"
#include "analysis/views/QtReportCanvas.h"

namespace ch {

namespace {

// Around the whole report, and after each cell's text so that neighbouring
// columns do not run together.
constexpr int kSheetMargin = 8;
constexpr float kColumnGap = 6.0f;

} // namespace

CReportView::CReportView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mReportView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CReportView::~CReportView() = default;

void CReportView::setMReportContents(std::shared_ptr<CReportContents> contents)
{
    if (contents != mContents) {
        mContents = std::move(contents);
        mTitle = mContents ? QString::fromStdString(mContents->title()) : QString();
    }
    countPages();
    if (mShowsWholeReport) updateGeometry();
    update();
}

void CReportView::setShowsWholeReport(bool whole)
{
    if (whole == mShowsWholeReport) return;
    mShowsWholeReport = whole;
    countPages();
    updateGeometry();
    update();
}

QSize CReportView::sizeHint() const
{
    if (!mShowsWholeReport) return QWidget::sizeHint();
    if (!mContents || mContents->count() == 0) return QSize(2 * kSheetMargin, 2 * kSheetMargin);
    QtReportCanvas measurer(const_cast<CReportView*>(this));
    const float width = mContents->neededWidth(true, measurer, kColumnGap);
    const float height = mContents->layout(true, width, 0.0f, measurer).size.height;
    return QSize(static_cast<int>(std::ceil(width)) + 2 * kSheetMargin,
                 static_cast<int>(std::ceil(height)) + 2 * kSheetMargin);
}

QSize CReportView::minimumSizeHint() const
{
    return mShowsWholeReport ? sizeHint() : QWidget::minimumSizeHint();
}

void CReportView::countPages()
{
    const unsigned before = mPaging.numberOfPages();
    unsigned count = 0;
    if (mShowsWholeReport) {
        count = mContents && mContents->count() > 0 ? 1 : 0;
    } else if (mContents && mContents->count() > 0) {
        QtReportCanvas measurer(this);
        const ReportSize size = mContents->reportSizeForScreenDisplay(
            true, static_cast<float>(width()), static_cast<float>(height()), measurer);
        count = CReportContents::pageCountForHeight(size.height, static_cast<float>(height()));
    }
    mPaging.setNumberOfPages(count);
    if (count != before) emit numberOfPagesChanged();
}

unsigned CReportView::firstPage()
{
    update();
    return mPaging.firstPage();
}

unsigned CReportView::lastPage()
{
    update();
    return mPaging.lastPage();
}

unsigned CReportView::nextPage()
{
    update();
    return mPaging.nextPage();
}

unsigned CReportView::previousPage()
{
    update();
    return mPaging.previousPage();
}

QString CReportView::pageDescription() const
{
    return QString::fromStdString(mPaging.pageDescription());
}

void CReportView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!mContents || mContents->count() == 0) return;
    QtReportCanvas canvas(this, &painter);
    if (mShowsWholeReport) {
        // One endless page inside the margin.
        painter.translate(kSheetMargin, kSheetMargin);
        printPage(*mContents, 1, ReportSize{static_cast<float>(width() - 2 * kSheetMargin), 0.0f}, true, canvas);
        return;
    }
    printPage(*mContents, mPaging.currentPage(),
              ReportSize{static_cast<float>(width()), static_cast<float>(height())}, true, canvas);
}

void CReportView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    countPages();
}

} // namespace ch
