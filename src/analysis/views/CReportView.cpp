#include "analysis/views/CReportView.h"

#include <QPainter>
#include <QResizeEvent>

#include "analysis/CReportContents.h"
#include "analysis/views/QtReportCanvas.h"

namespace ch {

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
    update();
}

void CReportView::countPages()
{
    const unsigned before = mPaging.numberOfPages();
    unsigned count = 0;
    if (mContents && mContents->count() > 0) {
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
    printPage(*mContents, mPaging.currentPage(),
              ReportSize{static_cast<float>(width()), static_cast<float>(height())}, true, canvas);
}

void CReportView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    countPages();
}

} // namespace ch
