#include "analysis/views/ReportPageButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

#include "analysis/views/CReportView.h"
#include "platform/gui/localized_text.h"

namespace ch {

namespace {

QToolButton* pageButton(const char* name, QStyle::StandardPixmap icon, std::string_view tipKey, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(localizedText(tipKey));
    button->setAccessibleName(localizedText(tipKey));
    return button;
}

} // namespace

ReportPageButtons::ReportPageButtons(CReportView& view, QWidget* parent)
    : QWidget(parent),
      mView(view),
      mFirst(pageButton("firstPage", QStyle::SP_MediaSkipBackward, "REPORTFIRSTPAGE", this)),
      mPrevious(pageButton("previousPage", QStyle::SP_MediaSeekBackward, "REPORTPREVIOUSPAGE", this)),
      mNext(pageButton("nextPage", QStyle::SP_MediaSeekForward, "REPORTNEXTPAGE", this)),
      mLast(pageButton("lastPage", QStyle::SP_MediaSkipForward, "REPORTLASTPAGE", this)),
      mDescription(new QLabel(this))
{
    setObjectName(QStringLiteral("reportPageButtons"));
    mDescription->setObjectName(QStringLiteral("pageDescription"));
    mDescription->setAlignment(Qt::AlignCenter);
    mDescription->setMinimumWidth(mDescription->fontMetrics().horizontalAdvance(QStringLiteral("0000/0000")));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    for (QWidget* widget : std::initializer_list<QWidget*>{mFirst, mPrevious, mDescription, mNext, mLast})
        row->addWidget(widget);
    row->addStretch(1);
    connect(mFirst, &QToolButton::clicked, this, [this] { turn(&CReportView::firstPage); });
    connect(mPrevious, &QToolButton::clicked, this, [this] { turn(&CReportView::previousPage); });
    connect(mNext, &QToolButton::clicked, this, [this] { turn(&CReportView::nextPage); });
    connect(mLast, &QToolButton::clicked, this, [this] { turn(&CReportView::lastPage); });
    connect(&mView, &CReportView::numberOfPagesChanged, this, &ReportPageButtons::refresh);
    refresh();
}

void ReportPageButtons::turn(unsigned (CReportView::*step)())
{
    (mView.*step)();
    refresh();
}

void ReportPageButtons::refresh()
{
    const unsigned page = mView.currentPage(), count = mView.numberOfPages();
    mDescription->setText(mView.pageDescription());
    mFirst->setEnabled(page > 1);
    mPrevious->setEnabled(page > 1);
    mNext->setEnabled(page < count);
    mLast->setEnabled(page < count);
}

} // namespace ch
