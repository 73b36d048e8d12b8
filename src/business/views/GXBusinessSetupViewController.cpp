#include "business/views/GXBusinessSetupViewController.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QFont>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "analysis/CReportContents.h"
#include "analysis/views/CReportPrintView.h"
#include "analysis/views/CReportView.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessOfDocument.h"
#include "business/CVATListingPerRateReportBuilder.h"
#include "business/CVATListingPerVATIdReportBuilder.h"
#include "business/GXVATPeriod.h"
#include "business/GXVATRate.h"
#include "business/InterVATBuilder.h"
#include "business/BusinessDefaults.h"
#include "business/VATPeriods.h"
#include "business/VATRateArguments.h"
#include "business/VATRates.h"
#include "business/views/CVATRateDialog.h"
#include "business/views/GXReportHolderView.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "model/foundation/CDate.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/export_file_chooser.h"
#include "platform/gui/localized_text.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

namespace {

constexpr const char* kTabIdentifiers[3] = {"VatR", "AmoR", "VatP"};
constexpr int kCommandNewVATRate = 33;
constexpr int kCommandModifyVATRate = 34;
constexpr int kCommandDeleteVATRate = 37;

QString qs(const std::optional<std::string>& text)
{
    return QString::fromStdString(text.value_or(""));
}

QString amount(double value)
{
    return QString::fromStdString(CNSNumberAmountTBridge::NSNumberToNSString(value));
}

QString percent(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'g', 12) + QStringLiteral(" %") : QString();
}

QString dateText(const std::optional<long>& date)
{
    return date ? QString::fromStdString(CDate::DateTToString(static_cast<DateT>(*date))) : QString();
}

// The image of a period's status: a dot in the status's colour.
QIcon periodStatusIcon(const std::optional<std::string>& imageName)
{
    if (!imageName) return {};
    static const std::pair<const char*, QColor> colours[] = {
        {"openPeriod", QColor(0x3b, 0xa5, 0x5c)},
        {"closedPeriod", QColor(0x8a, 0x8a, 0x8a)},
        {"nextPeriod", QColor(0x3b, 0x7d, 0xd8)},
        {"overduePeriod", QColor(0xd9, 0x3f, 0x3f)},
    };
    for (const auto& [name, colour] : colours) {
        if (*imageName != name) continue;
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(colour.darker(130));
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        return QIcon(pixmap);
    }
    return {};
}

QTableWidget* makeTable(const char* name, std::initializer_list<const char*> headings)
{
    auto* table = new QTableWidget(0, int(headings.size()));
    table->setObjectName(QString::fromLatin1(name));
    QStringList labels;
    for (const char* key : headings) labels << localizedText(key);
    table->setHorizontalHeaderLabels(labels);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setAlternatingRowColors(true);
    return table;
}

QTableWidgetItem* cell(const QString& text, bool number = false)
{
    auto* item = new QTableWidgetItem(text);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QPushButton* button(const char* key, const char* name, QWidget* parent)
{
    auto* made = new QPushButton(localizedText(key), parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

} // namespace

GXBusinessSetupViewController::GXBusinessSetupViewController(MyDocument& document, QObject* parent)
    : GXSideBarControlledViewAncestor(parent), mMyDocument(document)
{
    setMSelectedItem(nullptr);
    setMSelectedMasterItem(nullptr);
    NotificationCenter& centre = mMyDocument.notificationCenter();
    // A modified rate changes its row too, which a bound table would follow.
    for (const char* name : {GXCNewVatRateCreatedNotification, GXCVatRateDeletedNotification,
                             GXCVatRateUpdatedNotification})
        mSubscriptions.push_back(centre.subscribe(name, [this](const Notification&) { refreshRates(); }));
    mSubscriptions.push_back(
        centre.subscribe(GXCVATPeriodCreatedNotification, [this](const Notification&) { refreshPeriods(); }));
    // A booking changes the figures of the period it falls in.
    for (const char* name : {GXCTransactionCreatedNotification, GXCTransactionModifiedNotification,
                             GXCTransactionDeletedNotification, GXCTransactionLinkedNotification})
        mSubscriptions.push_back(centre.subscribe(name, [this](const Notification&) { schedulePeriodRefresh(); }));
    // A new length, chosen here or in another window, lays out its periods
    // in these books too.
    mSubscriptions.push_back(UserDefaults::standard().observe(
        kVATPeriodicityKey, [this](const std::string&) { VATPeriodicityChanged(); }));
}

void GXBusinessSetupViewController::schedulePeriodRefresh()
{
    // Once for the many bookings of an import, after the last.
    if (!mVATPeriodTable || mPeriodRefreshPending) return;
    mPeriodRefreshPending = true;
    QTimer::singleShot(0, this, [this] {
        mPeriodRefreshPending = false;
        refreshPeriods();
    });
}

void GXBusinessSetupViewController::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
    refreshPeriods();
    rebuildReportContents();
}

void GXBusinessSetupViewController::VATPeriodicityChanged()
{
    if (BusinessOfDocument* books = business()) initializeVATPeriods(*books);
    refreshPeriods();
    if (!periodicityButton) return;
    {
        const QSignalBlocker quiet(periodicityButton);
        periodicityButton->setCurrentIndex(static_cast<int>(currentVATPeriodicity()));
    }
    // The period to declare now is the last complete one of the new length.
    if (BusinessOfDocument* books = business()) selectVATPeriod(lastCompleteVATPeriod(*books).get());
}

BusinessOfDocument* GXBusinessSetupViewController::business() const
{
    return dynamic_cast<BusinessOfDocument*>(mMyDocument.business());
}

QWidget* GXBusinessSetupViewController::makeControlledView()
{
    auto* view = new QWidget;
    view->setObjectName(QStringLiteral("businessSetupView"));
    auto* layout = new QVBoxLayout(view);
    pageTab = new QTabWidget(view);
    pageTab->setObjectName(QStringLiteral("pageTab"));
    layout->addWidget(pageTab);

    // Rates
    auto* rates = new QWidget;
    auto* ratesLayout = new QVBoxLayout(rates);
    topTableView = makeTable("VATRateTableView", {"SETUPCOLNAME", "SETUPCOLRATE", "SETUPCOLRECOVERABLE",
                                                  "SETUPCOLPAIDACCOUNT", "SETUPCOLRECEIVEDACCOUNT"});
    ratesLayout->addWidget(topTableView);
    auto* rateButtons = new QHBoxLayout;
    auto* newRate = button("SETUPNEWRATE", "newVATRateButton", rates);
    auto* modifyRate = button("SETUPMODIFYRATE", "modifyVATRateButton", rates);
    auto* deleteRate = button("SETUPDELETERATE", "deleteVATRateButton", rates);
    rateButtons->addWidget(newRate);
    rateButtons->addWidget(modifyRate);
    rateButtons->addWidget(deleteRate);
    rateButtons->addStretch();
    ratesLayout->addLayout(rateButtons);
    connect(newRate, &QPushButton::clicked, this, [this] { newVATRate(); });
    connect(modifyRate, &QPushButton::clicked, this, [this] { modifyVATRate(); });
    connect(deleteRate, &QPushButton::clicked, this, [this] { deleteVATRate(); });
    connect(topTableView, &QTableWidget::cellDoubleClicked, this, [this] { modifyVATRate(); });
    auto enableRateButtons = [this, modifyRate, deleteRate] {
        const bool chosen = selectedVATRate() != nullptr;
        modifyRate->setEnabled(chosen);
        deleteRate->setEnabled(chosen);
    };
    connect(topTableView, &QTableWidget::itemSelectionChanged, this, enableRateButtons);

    // Amortisation schemes: none exist.
    amortisationRateTable = makeTable("amortisationRateTable", {"SETUPCOLNAME"});

    // Periods, with the listing of the selected one under them.
    auto* periods = new QSplitter(Qt::Vertical);
    auto* periodTop = new QWidget;
    auto* periodLayout = new QVBoxLayout(periodTop);
    periodLayout->setContentsMargins(0, 0, 0, 0);
    // The figures as the listing and the declaration give them: a credit
    // note's VAT shows as cancelled beside the VAT invoiced, not netted away.
    mVATPeriodTable = makeTable("VATPeriodTable", {"SETUPCOLSTATUS", "SETUPCOLNAME", "SETUPCOLSTART", "SETUPCOLEND",
                                                   "VATPAIDHEADER", "VATPAIDANNHEADER", "VATRECEIVEDHEADER",
                                                   "VATRECEIVEDANNHEADER", "SETUPCOLSALDO"});
    // Periods carry no name of their own: every column takes what it shows,
    // rather than an empty name column taking the table's width.
    mVATPeriodTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    mVATPeriodTable->horizontalHeader()->setStretchLastSection(false);
    periodLayout->addWidget(mVATPeriodTable);
    auto* periodButtons = new QHBoxLayout;
    // The length of the periods: the user's choice, for every set of books.
    auto* lengthLabel = new QLabel(localizedText("SETUPPERIODLENGTH"), periodTop);
    periodicityButton = new QComboBox(periodTop);
    periodicityButton->setObjectName(QStringLiteral("VATPeriodicityButton"));
    periodicityButton->addItems(
        {localizedText("SETUPPERIODMONTH"), localizedText("SETUPPERIODQUARTER"), localizedText("SETUPPERIODYEAR")});
    periodicityButton->setCurrentIndex(static_cast<int>(currentVATPeriodicity()));
    lengthLabel->setBuddy(periodicityButton);
    periodButtons->addWidget(lengthLabel);
    periodButtons->addWidget(periodicityButton);
    auto* calculate = button("SETUPCALCULATEPERIOD", "calculateVATPeriodButton", periodTop);
    menuChoiceButton = new QComboBox(periodTop);
    menuChoiceButton->setObjectName(QStringLiteral("menuChoiceButton"));
    menuChoiceButton->addItems({localizedText("SETUPDETAILLISTING"), localizedText("SETUPVATIDLISTING"),
                                localizedText("SETUPRATELISTING")});
    auto* print = button("SETUPPRINT", "printReportButton", periodTop);
    auto* declaration = button("SETUPDECLARATION", "createInterVATFileButton", periodTop);
    periodButtons->addWidget(calculate);
    periodButtons->addStretch();
    periodButtons->addWidget(menuChoiceButton);
    periodButtons->addWidget(print);
    periodButtons->addWidget(declaration);
    periodLayout->addLayout(periodButtons);
    periods->addWidget(periodTop);
    // The listing whole on one sheet sized to it, scrolled when larger than
    // the room it has: every column shows and the net total follows the
    // rates, with no pages to turn (paper keeps its pages).
    mVATReportView = new CReportView;
    mVATReportView->setObjectName(QStringLiteral("VATReportView"));
    mVATReportView->setShowsWholeReport(true);
    mVATReportView->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    auto* holder = new GXReportHolderView;
    holder->setReportView(mVATReportView);
    auto* listing = new QScrollArea;
    listing->setObjectName(QStringLiteral("VATListingScrollArea"));
    listing->setFrameShape(QFrame::NoFrame);
    listing->setWidgetResizable(true);
    listing->setWidget(holder);
    periods->addWidget(listing);
    periods->setStretchFactor(0, 1);
    periods->setStretchFactor(1, 3);
    mVATPeriodTable->setMinimumHeight(140);
    periods->setSizes({200, 600});
    connect(periodicityButton, &QComboBox::activated, this,
            [this](int index) { setVATPeriodicity(VATPeriodicity(index)); });
    connect(calculate, &QPushButton::clicked, this, [this] { calculateVATPeriod(); });
    connect(print, &QPushButton::clicked, this, [this] { printReport(); });
    connect(declaration, &QPushButton::clicked, this, [this] { createInterVATFile(); });
    connect(menuChoiceButton, &QComboBox::currentIndexChanged, this,
            [this](int index) { setListing(Listing(index)); });
    connect(mVATPeriodTable, &QTableWidget::itemSelectionChanged, this, [this] { rebuildReportContents(); });

    QWidget* tabs[3] = {rates, amortisationRateTable, periods};
    const char* titles[3] = {"SETUPTABVATRATES", "SETUPTABAMORTISATION", "SETUPTABVATPERIODS"};
    for (int i = 0; i < 3; ++i) {
        tabs[i]->setProperty("identifier", QString::fromLatin1(kTabIdentifiers[i]));
        pageTab->addTab(tabs[i], localizedText(titles[i]));
    }
    // The side bar highlights the node of the tab the person chose.
    connect(pageTab->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index < 3) emit subPageChosen(fourCCFromString(kTabIdentifiers[index]));
    });
    refreshRates();
    refreshPeriods();
    enableRateButtons();
    return view;
}

void GXBusinessSetupViewController::refreshRates()
{
    if (!topTableView) return;
    const auto kept = selectedVATRate();
    const QSignalBlocker quiet(topTableView);
    topTableView->clearContents();
    BusinessOfDocument* books = business();
    const auto& rates = books ? books->businessArrays().VATRateArray : std::vector<std::shared_ptr<GXVATRate>>();
    topTableView->setRowCount(int(rates.size()));
    for (std::size_t i = 0; i < rates.size(); ++i) {
        const GXVATRate& rate = *rates[i];
        const int row = int(i);
        topTableView->setItem(row, 0, cell(qs(rate.name())));
        topTableView->setItem(row, 1, cell(percent(rate.rate()), true));
        topTableView->setItem(row, 2, cell(percent(rate.fiscalRecoverablePercentage()), true));
        topTableView->setItem(row, 3, cell(qs(rate.accountPaidName())));
        topTableView->setItem(row, 4, cell(qs(rate.accountReceivedName())));
    }
    topTableView->resizeColumnsToContents();
    selectVATRate(kept.get());
    emit topTableView->itemSelectionChanged();
}

void GXBusinessSetupViewController::refreshPeriods()
{
    if (!mVATPeriodTable) return;
    const auto kept = selectedVATPeriod();
    const QSignalBlocker quiet(mVATPeriodTable);
    mVATPeriodTable->clearContents();
    BusinessOfDocument* books = business();
    // In date order, whatever order the periods were made in.
    mShownPeriods = books ? books->businessArrays().VATPeriodArray : std::vector<std::shared_ptr<GXVATPeriod>>();
    std::stable_sort(mShownPeriods.begin(), mShownPeriods.end(), [](const auto& a, const auto& b) {
        return a->startDate().value_or(0) < b->startDate().value_or(0);
    });
    const auto& periods = mShownPeriods;
    mVATPeriodTable->setRowCount(int(periods.size()));
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const GXVATPeriod& period = *periods[i];
        // Worked out as shown, not stored: a stored figure may predate later
        // bookings, and looking changes nothing in the books.
        const VATFigures worked = books ? calculateVATBalanceForPeriod(*books, period) : VATFigures();
        const int row = int(i);
        auto* status = cell(QString::fromStdString(period.status()));
        status->setIcon(periodStatusIcon(VATPeriodStatusImageName(period.status())));
        mVATPeriodTable->setItem(row, 0, status);
        const std::string name = period.name().value_or(std::string());
        mVATPeriodTable->setItem(row, 1, cell(QString::fromStdString(
            name.empty() ? VATPeriodName(static_cast<DateT>(period.startDate().value_or(0)),
                                         static_cast<DateT>(period.endDate().value_or(0)))
                         : name)));
        mVATPeriodTable->setItem(row, 2, cell(dateText(period.startDate())));
        mVATPeriodTable->setItem(row, 3, cell(dateText(period.endDate())));
        const double figures[] = {worked.paid, worked.paidCancelled, worked.received, worked.receivedCancelled};
        for (int figure = 0; figure < 4; ++figure)
            mVATPeriodTable->setItem(row, 4 + figure, cell(amount(figures[figure]), true));
        const double balance = (figures[0] - figures[1]) - (figures[2] - figures[3]);
        mVATPeriodTable->setItem(row, 8, cell(amount(balance), true));
        // Kept for its declaration or closing, though of a length no longer chosen.
        if (!isOfChosenLength(period))
            for (int column = 0; column < mVATPeriodTable->columnCount(); ++column)
                if (QTableWidgetItem* item = mVATPeriodTable->item(row, column)) {
                    QFont font = item->font();
                    font.setItalic(true);
                    item->setFont(font);
                    item->setToolTip(localizedText("SETUPPERIODEARLIERLENGTH"));
                }
    }
    mVATPeriodTable->resizeColumnsToContents();
    selectVATPeriod(kept.get());
}

void GXBusinessSetupViewController::selectSubPage(FourCharCode type)
{
    controlledView();
    const std::string code = fourCCToString(type);
    for (int i = 0; i < 3; ++i)
        if (code == kTabIdentifiers[i]) pageTab->setCurrentIndex(i);
}

bool GXBusinessSetupViewController::ratesTabSelected() const
{
    return pageTab && pageTab->currentIndex() == 0;
}

QWidget* GXBusinessSetupViewController::firstKeyView()
{
    if (!pageTab) return nullptr;
    return pageTab->currentIndex() == 2 ? static_cast<QWidget*>(mVATPeriodTable)
                                        : pageTab->currentIndex() == 0 ? static_cast<QWidget*>(topTableView)
                                                                       : amortisationRateTable;
}

void GXBusinessSetupViewController::executeMenuCommand(int code, const CommandSender&)
{
    switch (businessSetupMenuAction(code, ratesTabSelected())) {
    case BusinessSetupAction::NewRate: newVATRate(); break;
    case BusinessSetupAction::DeleteRate: deleteVATRate(); break;
    case BusinessSetupAction::ModifyRate: modifyVATRate(); break;
    case BusinessSetupAction::None: break;
    }
}

MenuItemValidation GXBusinessSetupViewController::validateMenuItem(int tag)
{
    const BusinessSetupState state{ratesTabSelected(), selectedVATRate() != nullptr, copiedVATRate != nullptr};
    return {businessSetupMenuItemEnabled(tag, state), std::nullopt};
}

void GXBusinessSetupViewController::searchContents(const std::string& text)
{
    if (!ratesTabSelected() || !topTableView) return;
    const QString wanted = QString::fromStdString(text);
    for (int row = 0; row < topTableView->rowCount(); ++row) {
        const QTableWidgetItem* name = topTableView->item(row, 0);
        topTableView->setRowHidden(row, !wanted.isEmpty() && !(name && name->text().contains(wanted, Qt::CaseInsensitive)));
    }
}

std::shared_ptr<GXVATRate> GXBusinessSetupViewController::selectedVATRate() const
{
    BusinessOfDocument* books = business();
    if (!topTableView || !books || !topTableView->selectionModel()) return nullptr;
    const QModelIndexList rows = topTableView->selectionModel()->selectedRows();
    const auto& rates = books->businessArrays().VATRateArray;
    if (rows.isEmpty() || std::size_t(rows.front().row()) >= rates.size()) return nullptr;
    return rates[std::size_t(rows.front().row())];
}

std::shared_ptr<GXVATPeriod> GXBusinessSetupViewController::selectedVATPeriod() const
{
    BusinessOfDocument* books = business();
    if (!mVATPeriodTable || !books || !mVATPeriodTable->selectionModel()) return nullptr;
    const QModelIndexList rows = mVATPeriodTable->selectionModel()->selectedRows();
    const auto& periods = mShownPeriods;
    if (rows.isEmpty() || std::size_t(rows.front().row()) >= periods.size()) return nullptr;
    return periods[std::size_t(rows.front().row())];
}

void GXBusinessSetupViewController::selectVATRate(const GXVATRate* rate)
{
    BusinessOfDocument* books = business();
    if (!topTableView || !books) return;
    topTableView->clearSelection();
    const auto& rates = books->businessArrays().VATRateArray;
    for (std::size_t i = 0; i < rates.size(); ++i)
        if (rate && rates[i].get() == rate) topTableView->selectRow(int(i));
}

void GXBusinessSetupViewController::selectVATPeriod(const GXVATPeriod* period)
{
    BusinessOfDocument* books = business();
    if (!mVATPeriodTable || !books) return;
    const auto& periods = mShownPeriods;
    for (std::size_t i = 0; i < periods.size(); ++i)
        if (period && periods[i].get() == period) return mVATPeriodTable->selectRow(int(i));
    mVATPeriodTable->clearSelection();
}

void GXBusinessSetupViewController::newVATRate()
{
    openVATRateSheet(true);
}

void GXBusinessSetupViewController::modifyVATRate()
{
    if (selectedVATRate()) openVATRateSheet(false);
}

void GXBusinessSetupViewController::openVATRateSheet(bool newObject)
{
    controlledView();
    VATRateSheetContext context;
    context.document = &mMyDocument;
    context.newObject = newObject;
    if (newObject) {
        context.arguments = std::make_shared<arguments::VATRateArguments>();
        CPrfRItem* settings = business() ? business()->preferenceItem() : nullptr;
        const int category = settings ? settings->mVatInvoicedNotYetReceivedExpT() : 1;
        context.arguments->categoryInvoicedNotReceivedId = category;
        context.arguments->createCategoryInvoicedNotReceived = category == 1;
    } else {
        context.objectToModify = selectedVATRate();
        context.arguments = std::shared_ptr<arguments::VATRateArguments>(context.objectToModify->getAsArguments());
    }
    if (!mVATRateDialogController) {
        mVATRateDialogController = new CVATRateDialog(controlledView()->window());
        connect(mVATRateDialogController, &CVATRateDialog::closedWithReturn, this,
                [this](int code) { VATRateSheetClosed(code); });
    }
    mVATRateDialogController->initializeFor(context);
    mVATRateDialogController->openSheet(controlledView()->window(), SheetParameters());
}

void GXBusinessSetupViewController::VATRateSheetClosed(int returnCode)
{
    if (returnCode <= 0 || !mVATRateDialogController) return;
    const VATRateSheetContext& context = mVATRateDialogController->context();
    if (!context.arguments) return;
    if (context.newObject) {
        context.arguments->idKey = -1;
        mMyDocument.commandExecutor().executeCommand(kCommandNewVATRate, nullptr, *context.arguments);
    } else if (context.objectToModify) {
        mMyDocument.commandExecutor().executeCommand(kCommandModifyVATRate, context.objectToModify,
                                                     *context.arguments);
    }
}

void GXBusinessSetupViewController::deleteVATRate()
{
    const auto rate = selectedVATRate();
    BusinessOfDocument* books = business();
    if (!rate || !books || !rate->objectCanBeDeletedWithMessage(false)) return;
    // Asked before the command is journaled, so that a declined deletion is
    // never replayed; the command then asks nothing more.
    if (!confirmVATRateDeletion(*books, *rate)) return;
    arguments::CDeleteObjectParms parameters;
    parameters.withAsking = false;
    parameters.name = rate->name().value_or("-");
    mMyDocument.commandExecutor().executeCommand(kCommandDeleteVATRate, rate, parameters);
}

void GXBusinessSetupViewController::setListing(Listing listing)
{
    if (listing == mCurrentVATReport) return;
    mCurrentVATReport = listing;
    if (menuChoiceButton && menuChoiceButton->currentIndex() != int(listing)) {
        const QSignalBlocker quiet(menuChoiceButton);
        menuChoiceButton->setCurrentIndex(int(listing));
    }
    rebuildReportContents();
}

void GXBusinessSetupViewController::rebuildReportContents()
{
    std::unique_ptr<CVATListingReportBuilder> builder;
    switch (mCurrentVATReport) {
    case Listing::Detail: builder = std::make_unique<CVATListingReportBuilder>(); break;
    case Listing::PerVATId: builder = std::make_unique<CVATListingPerVATIdReportBuilder>(); break;
    case Listing::PerRate: builder = std::make_unique<CVATListingPerRateReportBuilder>(); break;
    }
    const auto period = selectedVATPeriod();
    if (!period || !mVATReportView) return;
    builder->setDocument(mMyDocument.accounting());
    builder->setBusinessDocument(business());
    builder->setPerdiodicityParms(4, 1, 1, 1, 1);
    builder->setStartDate(static_cast<DateT>(period->startDate().value_or(0)));
    builder->setEndDate(static_cast<DateT>(period->endDate().value_or(0)));
    builder->setRateToRetain(nullptr);
    mVATReportView->setMReportContents(std::shared_ptr<CReportContents>(builder->buildContents()));
    mVATReportView->firstPage();
}

void GXBusinessSetupViewController::calculateVATPeriod()
{
    const auto period = selectedVATPeriod();
    if (!period) return;
    period->calculatePeriod();
    refreshPeriods();
    rebuildReportContents();
}

void GXBusinessSetupViewController::printReport()
{
    if (!mVATReportView || !mVATReportView->mReportContents()) return;
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    auto* dialog = new QPrintDialog(printer.get(), controlledView()->window());
    dialog->setObjectName(QStringLiteral("printDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    const auto contents = mVATReportView->mReportContents();
    connect(dialog, &QDialog::accepted, this, [printer, contents] { ch::printReport(contents, *printer); });
    dialog->open();
}

void GXBusinessSetupViewController::createInterVATFile()
{
    // The period the user chose on the page.
    const auto [start, end] = declarationRange(selectedVATPeriod().get(), CDate::GetNowAsDateT());
    if (start == 0 || end == 0) return;
    getExportFileNameWithExtension(controlledView()->window(), "XML", [this, start, end](std::optional<std::string> path) {
        if (!path || path->empty()) return;
        InterVATBuilder builder(business());
        builder.setStartDate(start);
        builder.setEndDate(end);
        builder.buildInterVatFileWithName(*path);
    });
}

} // namespace ch::business
