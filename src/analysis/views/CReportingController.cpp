#include "analysis/views/CReportingController.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "analysis/CPeriods.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportChoices.h"
#include "analysis/views/CReportPrintView.h"
#include "analysis/views/CReportView.h"
#include "platform/gui/localized_text.h"

namespace ch {

namespace {

// A titled box of radio buttons whose ids are their tags 0, 1, 2.
QGroupBox* radioBox(const QString& title, QButtonGroup* group, std::initializer_list<std::string_view> keys)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QHBoxLayout(box);
    int tag = 0;
    for (std::string_view key : keys) {
        auto* button = new QRadioButton(localizedText(key));
        group->addButton(button, tag++);
        layout->addWidget(button);
    }
    group->button(0)->setChecked(true);
    return box;
}

QToolButton* pageButton(const char* name, QStyle::StandardPixmap icon, std::string_view tipKey, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(localizedText(tipKey));
    return button;
}

} // namespace

CReportingController::CReportingController(QWidget* parent)
    : QWidget(parent),
      mPrintSettings(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(72, 90, 72, 90), QPageLayout::Point)
{
    setObjectName(QStringLiteral("mReportingController"));
    buildControls();
    announcePageDescription();
}

CReportingController::~CReportingController() = default;

void CReportingController::buildControls()
{
    mGraphSelectionMenu = new QComboBox(this);
    mGraphSelectionMenu->setObjectName(QStringLiteral("mGraphSelectionMenu"));
    mGraphSelectionMenu->addItem(localizedText("BALANCESHEET"), report_tag::kBalanceSheet);
    mGraphSelectionMenu->addItem(localizedText("PLSTATEMENTREPORTTITLE"), report_tag::kProfitAndLoss);
    mGraphSelectionMenu->addItem(localizedText("EXPENSEREPORTTITLE"), report_tag::kExpenseOverview);

    mPeriodicitySelection = new QButtonGroup(this);
    mPeriodicitySelection->setObjectName(QStringLiteral("mPeriodicitySelection"));
    QGroupBox* periodicityBox =
        radioBox(localizedText("REPORTPERIODLENGTH"), mPeriodicitySelection, {"REPORTMONTH", "REPORTQUARTER", "REPORTYEAR"});

    mTimeSelection = new QButtonGroup(this);
    mTimeSelection->setObjectName(QStringLiteral("mTimeSelection"));
    QGroupBox* timeBox = radioBox(localizedText("REPORTFIRSTPERIOD"), mTimeSelection,
                                  {"REPORTCURRENTPERIOD", "REPORTLASTCOMPLETEPERIOD", "REPORTPERIODSAGO"});
    mPeriodsAgoField = new QSpinBox(timeBox);
    mPeriodsAgoField->setObjectName(QStringLiteral("mPeriodsAgoField"));
    mPeriodsAgoField->setRange(0, static_cast<int>(kMaxPeriodsAgo));
    mPeriodsAgoField->setEnabled(isNumberOfPeriodsAgoEnabled());
    timeBox->layout()->addWidget(mPeriodsAgoField);

    QToolButton* first = pageButton("firstPage", QStyle::SP_MediaSkipBackward, "REPORTFIRSTPAGE", this);
    QToolButton* previous = pageButton("previousPage", QStyle::SP_MediaSeekBackward, "REPORTPREVIOUSPAGE", this);
    QToolButton* next = pageButton("nextPage", QStyle::SP_MediaSeekForward, "REPORTNEXTPAGE", this);
    QToolButton* last = pageButton("lastPage", QStyle::SP_MediaSkipForward, "REPORTLASTPAGE", this);
    mPageDescriptionField = new QLabel(this);
    mPageDescriptionField->setObjectName(QStringLiteral("mPageDescriptionField"));
    mPageDescriptionField->setAlignment(Qt::AlignCenter);
    mPageDescriptionField->setMinimumWidth(mPageDescriptionField->fontMetrics().horizontalAdvance(QStringLiteral("0000/0000")));
    auto* printButton = new QToolButton(this);
    printButton->setObjectName(QStringLiteral("print"));
    printButton->setText(localizedText("REPORTPRINT"));

    mReportView = new CReportView(this);

    auto* choices = new QHBoxLayout;
    choices->addWidget(mGraphSelectionMenu);
    choices->addWidget(periodicityBox);
    choices->addWidget(timeBox);
    choices->addStretch(1);
    for (QWidget* widget : std::initializer_list<QWidget*>{first, previous, mPageDescriptionField, next, last, printButton})
        choices->addWidget(widget);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(mReportView, 1);

    connect(mGraphSelectionMenu, &QComboBox::currentIndexChanged, this, &CReportingController::selectReport);
    connect(mPeriodicitySelection, &QButtonGroup::idClicked, this, &CReportingController::setPeriodicity);
    connect(mTimeSelection, &QButtonGroup::idClicked, this, &CReportingController::setPeriod);
    connect(mPeriodsAgoField, &QSpinBox::valueChanged, this, &CReportingController::setNumberOfDaysAgo);
    connect(first, &QToolButton::clicked, this, &CReportingController::firstPage);
    connect(previous, &QToolButton::clicked, this, &CReportingController::previousPage);
    connect(next, &QToolButton::clicked, this, &CReportingController::nextPage);
    connect(last, &QToolButton::clicked, this, &CReportingController::lastPage);
    connect(printButton, &QToolButton::clicked, this, &CReportingController::print);
    connect(mReportView, &CReportView::numberOfPagesChanged, this, &CReportingController::announcePageDescription);
    connect(this, &CReportingController::isNumberOfPeriodsAgoEnabledChanged, this,
            [this] { mPeriodsAgoField->setEnabled(isNumberOfPeriodsAgoEnabled()); });
    connect(this, &CReportingController::mPageDescriptionChanged, this,
            [this] { mPageDescriptionField->setText(mPageDescription()); });
}

bool CReportingController::isNumberOfPeriodsAgoEnabled() const
{
    return mTimeSelection->checkedId() == relative_period::kPeriodsAgo;
}

QString CReportingController::mPageDescription() const
{
    return mReportView->pageDescription();
}

void CReportingController::announcePageDescription()
{
    emit mPageDescriptionChanged();
}

void CReportingController::selectReport()
{
    rebuildReportContents();
}

void CReportingController::setPeriodicity()
{
    rebuildReportContents();
}

void CReportingController::setPeriod()
{
    emit isNumberOfPeriodsAgoEnabledChanged();
    rebuildReportContents();
}

void CReportingController::setNumberOfDaysAgo()
{
    rebuildReportContents();
}

void CReportingController::setDocument(CDocAccounting* books)
{
    if (books == mParentDocument && !mNeedsBuild) return;
    mParentDocument = books;
    mNeedsBuild = true;
    if (books && isVisible()) rebuildReportContents();
}

void CReportingController::periodsChanged()
{
    mNeedsBuild = true;
    if (mParentDocument && isVisible()) rebuildReportContents();
}

void CReportingController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A first view shows the report of the choices at hand, not an empty page.
    if (mNeedsBuild) rebuildReportContents();
}

void CReportingController::rebuildReportContents()
{
    mNeedsBuild = false;
    ReportChoices choices;
    choices.report = mGraphSelectionMenu->currentData().toInt();
    choices.periodicity = mPeriodicitySelection->checkedId();
    choices.relativePeriod = mTimeSelection->checkedId();
    choices.periodsAgo = mPeriodsAgoField->value();
    mReportView->setMReportContents(buildReport(mParentDocument, choices));
    mReportView->firstPage();
    announcePageDescription();
}

void CReportingController::firstPage()
{
    mReportView->firstPage();
    announcePageDescription();
}

void CReportingController::lastPage()
{
    mReportView->lastPage();
    announcePageDescription();
}

void CReportingController::nextPage()
{
    mReportView->nextPage();
    announcePageDescription();
}

void CReportingController::previousPage()
{
    mReportView->previousPage();
    announcePageDescription();
}

void CReportingController::print()
{
    if (!mPrinter) mPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    mPrinter->setPageLayout(mPrintSettings);
    auto* dialog = new QPrintDialog(mPrinter.get(), this);
    dialog->setObjectName(QStringLiteral("printDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this, [this] {
        mPrintSettings = mPrinter->pageLayout();
        emit printSettingsChanged(mPrintSettings);
        printTo(*mPrinter);
    });
    dialog->open();
}

bool CReportingController::printTo(QPrinter& printer) const
{
    return printReport(mReportView->mReportContents(), printer);
}

bool CReportingController::printToPdf(const QString& path) const
{
    return printReportToPdf(mReportView->mReportContents(), path, mPrintSettings);
}

} // namespace ch
