#include "ui/pages/CBudgetPageController.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CBuDxItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "bridge/DeveloperLog.h"
#include "bridge/TextColours.h"
#include "document/MyDocument.h"
#include "document/arguments/BooksLinkArguments.h"
#include "model/ModelCodes.h"
#include "model/budget/CBudgetHeader.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/localized_strings.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/NamedIcons.h"
#include "ui/PageHeading.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/CNonVisualOutlineViewController.h"

namespace ch {
namespace {

// A budget command that failed: shown once, then the page shows the model.
constexpr long kBudgetCommandFailed = 320;
constexpr int kNewBudgetTag = 1100;

QColor qColour(const Colour& colour)
{
    return QColor::fromRgbF(colour.red, colour.green, colour.blue, colour.alpha);
}

QString amountText(double amount)
{
    return QString::fromStdString(CNSNumberAmountTBridge::NSNumberToNSString(amount));
}

// Cell backgrounds: planned figures blue-green, booked ones yellow, the
// start and end rows a shade deeper.
QColor background(bool accounts, int row)
{
    const QColor budget = QColor::fromHsvF(0.5, 0.2, 1.0, 1.0);
    const QColor actual = QColor::fromHsvF(0.1497, 0.2, 1.0, 1.0);
    const QColor budgetHeader = QColor::fromHsvF(0.5, 0.2, 1.0, 0.9);
    const QColor actualHeader = QColor::fromHsvF(0.1497, 0.2, 1.0, 0.9);
    if (accounts) {
        if (row == 0 || row == 5) return budgetHeader;
        if (row >= 1 && row <= 4) return budget;
        if (row == 6 || row == 11) return actualHeader;
        if (row >= 7 && row <= 10) return actual;
        return Qt::white;
    }
    if (row == 0 || row == 3) return budgetHeader;
    if (row == 1 || row == 2) return budget;
    if (row == 4 || row == 7) return actualHeader;
    if (row == 5 || row == 6) return actual;
    return Qt::white;
}

} // namespace

CBudgetPageController::CBudgetPageController(QWidget* parent) : QWidget(parent)
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    auto* heading = new PageHeading(this);
    heading->setIcon(makeNamedIcon("budget"));
    heading->setTitle(localizedText("BUDGETBUTTON"));
    heading->setSubtitle(localizedText("BUDGETPAGESUBTITLE"));
    page->addWidget(heading);
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(10, 8, 10, 10);
    page->addLayout(layout, 1);
    auto* top = new QHBoxLayout;
    mYearMenu = new QComboBox;
    mBudgetMenu = new QComboBox;
    mYearMenu->setMinimumWidth(110);
    mBudgetMenu->setMinimumWidth(180);
    auto addMenu = [&](std::string_view key, QComboBox* menu) {
        auto* label = new QLabel(localizedText(key));
        label->setBuddy(menu);
        top->addWidget(label);
        top->addWidget(menu);
        top->addSpacing(8);
    };
    addMenu("BUDGETPAGEYEARLABEL", mYearMenu);
    addMenu("BUDGETPAGEBUDGETLABEL", mBudgetMenu);
    auto addButton = [&](std::string_view key, void (CBudgetPageController::*action)()) {
        auto* button = new QPushButton(localizedText(key));
        connect(button, &QPushButton::clicked, this, action);
        top->addWidget(button);
    };
    addButton("NewBud", &CBudgetPageController::createBudget);
    addButton("BUDGETMODIFY", &CBudgetPageController::modifyBudget);
    addButton("BUDGETUPDATEACTUALS", &CBudgetPageController::updateActuals);
    top->addStretch();
    layout->addLayout(top);
    mBudgetTab = new QTabWidget;
    mBudgetTab->addTab(makeSide(true), localizedText("BUDGETACCOUNTSIDE"));
    mBudgetTab->addTab(makeSide(false), localizedText("BUDGETCATEGORYSIDE"));
    layout->addWidget(mBudgetTab, 1);
    connect(mYearMenu, &QComboBox::currentIndexChanged, this, [this] { yearChanged(); });
    connect(mBudgetMenu, &QComboBox::currentIndexChanged, this, [this] { budgetChanged(); });
}

CBudgetPageController::~CBudgetPageController() = default;

QWidget* CBudgetPageController::makeSide(bool accounts)
{
    Side& s = side(accounts);
    auto* splitter = new QSplitter(Qt::Horizontal);
    s.outline = new CNonVisualOutlineView;
    s.outline->setObjectName(accounts ? "budgetViewAcnT" : "budgetViewExpT");
    s.outline->setHeaderHidden(true);
    s.outline->setMinimumWidth(180);
    s.controller = std::make_unique<CNonVisualOutlineViewController>(
        s.outline, std::vector<NamedListOutlineModel::Column>{{QStringLiteral("name"), QString()}});
    splitter->addWidget(s.outline);
    auto* right = new QWidget;
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    s.table = new QTableWidget(0, 13);
    s.table->setObjectName(accounts ? "ActTBudgetTable" : "ExpTBudgetTable");
    s.table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    s.table->verticalHeader()->setVisible(false);
    s.table->horizontalHeader()->setSectionsMovable(false);
    s.table->setSelectionMode(QAbstractItemView::NoSelection);
    s.table->verticalHeader()->setDefaultSectionSize(20);
    column->addWidget(s.table, 3);
    s.xrefTable = new QTableWidget(0, 9);
    s.xrefTable->setObjectName(accounts ? "acntXrefTable" : "exptXrefTable");
    s.xrefTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    s.xrefTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    s.xrefTable->setSelectionMode(QAbstractItemView::SingleSelection);
    s.xrefTable->verticalHeader()->setVisible(false);
    s.xrefTable->verticalHeader()->setDefaultSectionSize(20);
    QStringList xrefTitles = {localizedText(accounts ? "PopupLabelExpT" : "PopupLabelAcnT")};
    for (std::string_view key : {"BUDOUT", "BUD1OUT", "BUDIN", "BUD1IN", "ACTOUT", "ACT1OUT", "ACTIN", "ACT1IN"})
        xrefTitles << localizedText(key);
    s.xrefTable->setHorizontalHeaderLabels(xrefTitles);
    column->addWidget(s.xrefTable, 2);
    auto* buttons = new QHBoxLayout;
    auto addButton = [&](std::string_view key, void (CBudgetPageController::*action)()) {
        auto* button = new QPushButton(localizedText(key));
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    };
    addButton("BUDGETNEWXREF", &CBudgetPageController::createBudgetXRef);
    addButton("BUDGETDELETEXREF", &CBudgetPageController::deleteBudgetXRef);
    addButton("BUDGETTRANSFER", &CBudgetPageController::editTransferXRef);
    buttons->addStretch();
    column->addLayout(buttons);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({170, 900});
    connect(s.controller.get(), &CNonVisualOutlineViewController::selectionDidChange, this,
            [this, accounts] { outlineSelectionChanged(accounts); });
    connect(s.table, &QTableWidget::cellClicked, this,
            [this, accounts](int, int column) { budgetTableClicked(accounts, column); });
    connect(s.table, &QTableWidget::cellDoubleClicked, this, [this] { modifyBudgetDetail(); });
    connect(s.xrefTable, &QTableWidget::cellDoubleClicked, this, [this] { modifyBudgetXRef(); });
    return splitter;
}

// --- content and menus

void CBudgetPageController::setParentDocument(MyDocument* document)
{
    mDocument = document;
}

void CBudgetPageController::setContent()
{
    mBudgetYearDictionary.clear();
    if (mDocument)
        for (const std::shared_ptr<CBuDhItem>& budget : mDocument->mBudgetArray())
            mBudgetYearDictionary[CNSStringDateTBridge::dateTToNSString(budget->mStartDate().value_or(0))].push_back(
                budget);
    fillMenus();
}

void CBudgetPageController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!menusHoldEveryBudget()) setContent();
}

bool CBudgetPageController::menusHoldEveryBudget() const
{
    std::size_t held = 0;
    for (const auto& [year, budgets] : mBudgetYearDictionary) held += budgets.size();
    if (!mDocument) return held == 0;
    const auto& all = mDocument->mBudgetArray();
    if (held != all.size()) return false;
    for (const auto& [year, budgets] : mBudgetYearDictionary)
        for (const std::shared_ptr<CBuDhItem>& budget : budgets)
            if (std::find(all.begin(), all.end(), budget) == all.end()) return false;
    return true;
}

void CBudgetPageController::fillMenus()
{
    const QString year = mYearMenu->currentText();
    {
        QSignalBlocker block(mYearMenu);
        mYearMenu->clear();
        for (const auto& entry : mBudgetYearDictionary) mYearMenu->addItem(QString::fromStdString(entry.first));
        const int index = mYearMenu->findText(year);
        mYearMenu->setCurrentIndex(index >= 0 ? index : (mYearMenu->count() ? 0 : -1));
    }
    yearChanged();
}

void CBudgetPageController::yearChanged()
{
    const QString chosen = mBudgetMenu->currentText();
    {
        QSignalBlocker block(mBudgetMenu);
        mBudgetMenu->clear();
        auto group = mBudgetYearDictionary.find(mYearMenu->currentText().toStdString());
        if (group != mBudgetYearDictionary.end())
            for (const std::shared_ptr<CBuDhItem>& budget : group->second)
                if (mBudgetMenu->findText(QString::fromStdString(budget->getName())) < 0)
                    mBudgetMenu->addItem(QString::fromStdString(budget->getName()));
        const int index = mBudgetMenu->findText(chosen);
        mBudgetMenu->setCurrentIndex(index >= 0 ? index : (mBudgetMenu->count() ? 0 : -1));
    }
    budgetChanged();
}

void CBudgetPageController::budgetChanged()
{
    auto group = mBudgetYearDictionary.find(mYearMenu->currentText().toStdString());
    std::shared_ptr<CBuDhItem> chosen;
    if (group != mBudgetYearDictionary.end())
        for (const std::shared_ptr<CBuDhItem>& budget : group->second)
            if (QString::fromStdString(budget->getName()) == mBudgetMenu->currentText()) chosen = budget;
    if (chosen != mSelectedBudget || !chosen) setSelectedBudget(chosen);
}

// --- selection

void CBudgetPageController::setSelectedBudget(std::shared_ptr<CBuDhItem> budget)
{
    mSelectedBudget = std::move(budget);
    mAccounts.month = mCategories.month = -1;
    QStringList titles = {QString()};
    for (int month = 0; month < 12; ++month)
        titles << (mSelectedBudget
                       ? QString::fromStdString(mSelectedBudget->budgetTitleForColum(std::to_string(month)).value_or(""))
                       : QString::number(month + 1));
    for (bool accounts : {true, false}) {
        side(accounts).table->setHorizontalHeaderLabels(titles);
        side(accounts).xrefs.clear();
        side(accounts).hasList = false;
        fillOutline(accounts);
        reloadXRefs(accounts);
    }
}

bool CBudgetPageController::workingOnAccounts() const
{
    return mBudgetTab->currentIndex() == 0;
}

void CBudgetPageController::showSide(bool accounts)
{
    mBudgetTab->setCurrentIndex(accounts ? 0 : 1);
}

void CBudgetPageController::fillOutline(bool accounts)
{
    auto* header = mSelectedBudget ? static_cast<CBudgetHeader*>(mSelectedBudget->getSourceItem()) : nullptr;
    // Without a budget the outline shows nothing rather than a list of the one before.
    CNamedListArray* folders =
        header ? (accounts ? header->Get_BudgettedRootAccT() : header->Get_BudgettedRootMxpT()) : nullptr;
    side(accounts).controller->initializeWithDocument(mDocument, folders, true);
    reloadTable(accounts);
}

bool CBudgetPageController::selectObject(bool accounts, FourCharCode type, ObjectIdT id)
{
    Side& s = side(accounts);
    NamedListOutlineModel& rows = s.controller->model();
    std::function<QModelIndex(const QModelIndex&)> find = [&](const QModelIndex& parent) -> QModelIndex {
        for (int row = 0; row < rows.rowCount(parent); ++row) {
            const QModelIndex index = rows.index(row, 0, parent);
            const CNonVisualDataItem::Ptr item = rows.itemAt(index);
            const CNonVisual* object = item ? item->getSourceItem() : nullptr;
            if (object && object->Get_ObjectType() == type && object->Get_Id() == id) return index;
            if (const QModelIndex below = find(index); below.isValid()) return below;
        }
        return {};
    };
    const QModelIndex found = find({});
    if (!found.isValid()) return false;
    for (QModelIndex up = found.parent(); up.isValid(); up = up.parent()) s.outline->expand(up);
    s.outline->setCurrentIndex(found);
    s.outline->selectionModel()->select(found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void CBudgetPageController::outlineSelectionChanged(bool accounts)
{
    mAccounts.month = mCategories.month = -1;
    reloadTable(accounts);
}

CNonVisual* CBudgetPageController::currentObject(bool accounts) const
{
    const CNonVisualDataItem::Ptr& item = side(accounts).controller->currentItem();
    return item ? item->getSourceItem() : nullptr;
}

void CBudgetPageController::reloadTable(bool accounts)
{
    Side& s = side(accounts);
    const auto& rows = budget_page::rows(accounts);
    const CNonVisual* current = currentObject(accounts);
    const bool shown = mSelectedBudget && current;
    s.table->setRowCount(shown ? static_cast<int>(rows.size()) : 0);
    if (!shown) return;
    const QColor green = qColour(getGreenColor());
    const QColor red = qColour(getRedColor());
    const double textSize = UserDefaults::standard().doubleForKey("GXtableTextSize");
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        auto* label = new QTableWidgetItem(localizedText(rows[row].labelKey));
        label->setBackground(background(accounts, row));
        s.table->setItem(row, 0, label);
        for (int month = 0; month < 12; ++month) {
            const std::optional<double> amount =
                budget_page::cellAmount(*mSelectedBudget, *current, rows[row].figure, month);
            auto* cell = new QTableWidgetItem(amount ? amountText(*amount) : QString());
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setBackground(background(accounts, row));
            QFont font = cell->font();
            if (textSize > 0) font.setPointSizeF(textSize);
            font.setBold(budget_page::isBoldFigure(rows[row].figure));
            cell->setFont(font);
            if (amount) {
                const budget_page::Tint tint = budget_page::tintFor(budget_page::kindOf(*current), rows[row].figure, *amount);
                if (tint != budget_page::Tint::None)
                    cell->setForeground(tint == budget_page::Tint::Favourable ? green : red);
            }
            s.table->setItem(row, month + 1, cell);
        }
    }
    s.table->resizeColumnsToContents();
}

std::shared_ptr<CBuDdItem> CBudgetPageController::currentDetail(bool accounts) const
{
    const CNonVisual* current = currentObject(accounts);
    if (!mSelectedBudget || !current || budget_page::isFolder(*current)) return nullptr;
    return mSelectedBudget->getDetailForType(
        current->Get_ObjectType() == type::kAccount ? type::kAccount : type::kExpenseType, current->Get_Id());
}

void CBudgetPageController::budgetTableClicked(bool accounts, int column)
{
    Side& s = side(accounts);
    if (column <= 0) {
        s.hasList = false;
        s.xrefs.clear();
        reloadXRefs(accounts);
        return;
    }
    const CNonVisual* current = currentObject(accounts);
    if (!mSelectedBudget || !current) return;
    s.month = column - 1;
    if (budget_page::isFolder(*current)) return;
    setXRefs(accounts, currentDetail(accounts), s.month);
}

void CBudgetPageController::setXRefs(bool accounts, const std::shared_ptr<CBuDdItem>& line, int month)
{
    Side& s = side(accounts);
    s.hasList = static_cast<bool>(line);
    s.xrefs = line ? line->xRefForPeriod(month) : std::vector<std::shared_ptr<CBuDxItem>>();
    reloadXRefs(accounts);
}

const std::vector<std::shared_ptr<CBuDxItem>>* CBudgetPageController::xrefList(bool accounts) const
{
    return side(accounts).hasList ? &side(accounts).xrefs : nullptr;
}

void CBudgetPageController::reloadXRefs(bool accounts)
{
    Side& s = side(accounts);
    s.xrefTable->setRowCount(static_cast<int>(s.xrefs.size()));
    for (int row = 0; row < static_cast<int>(s.xrefs.size()); ++row) {
        const CBuDxItem& xref = *s.xrefs[row];
        s.xrefTable->setItem(row, 0,
                             new QTableWidgetItem(QString::fromStdString(accounts ? xref.reasonName() : xref.accountName())));
        const std::optional<double> amounts[] = {xref.mBudgetFrom(), xref.mXtraBudgetFrom(), xref.mBudgetTo(),
                                                 xref.mXtraBudgetTo(), xref.mActualFrom(), xref.mXtraActualFrom(),
                                                 xref.mActualTo(), xref.mXtraActualTo()};
        for (int column = 0; column < 8; ++column) {
            auto* cell = new QTableWidgetItem(amountText(amounts[column].value_or(0.0)));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setBackground(column < 4 ? QColor::fromHsvF(0.5, 0.2, 1.0, 1.0) : QColor::fromHsvF(0.1497, 0.2, 1.0, 1.0));
            s.xrefTable->setItem(row, column + 1, cell);
        }
    }
    s.xrefTable->resizeColumnsToContents();
}

void CBudgetPageController::chooseXRef(bool accounts, int row)
{
    side(accounts).xrefTable->selectRow(row);
}

// --- editing actions

template <class SheetType>
SheetType* CBudgetPageController::sheet(std::unique_ptr<SheetType>& holder)
{
    if (!holder) holder = std::make_unique<SheetType>(this);
    return holder.get();
}

CNewBudgetController* CBudgetPageController::newBudgetSheet()
{
    return sheet(mNewBudgetController);
}

void CBudgetPageController::run(BudgetSheet* opened, std::unique_ptr<BudgetSheetContext> context,
                                std::function<void(BudgetSheetContext&)> onOk)
{
    mContext = std::move(context);
    opened->initialize(*mContext);
    mOpenSheet = opened;
    opened->begin(window(), [this, onOk = std::move(onOk)](int code) {
        mOpenSheet = nullptr;
        std::unique_ptr<BudgetSheetContext> ended = std::move(mContext);
        if (code == Sheet::kConfirmed && ended) onOk(*ended);
    });
}

int CBudgetPageController::send(int command, const std::shared_ptr<Observable>& target, const CommandArgument& argument)
{
    const int result = mDocument ? mDocument->commandExecutor().executeCommand(command, target, argument) : -1;
    if (result == -1) {
        developerLog("CBudgetPageController: budget command " + std::to_string(command) + " failed");
        CErrorManager::RaiseError(kBudgetCommandFailed);
        refreshFromModel();
    }
    return result;
}

void CBudgetPageController::refreshBothSides(int month)
{
    // A cross-reference sits in the lists of both its lines: both are read anew.
    // The side shown lists its month's cross-references, also those of a line
    // the change has just made.
    for (bool accounts : {true, false}) {
        reloadTable(accounts);
        const bool shownMonth = accounts == workingOnAccounts() && side(accounts).month == month;
        if ((side(accounts).hasList || shownMonth) && month >= 0) setXRefs(accounts, currentDetail(accounts), month);
    }
}

void CBudgetPageController::refreshFromModel()
{
    for (bool accounts : {true, false}) {
        reloadTable(accounts);
        if (side(accounts).hasList && side(accounts).month >= 0)
            setXRefs(accounts, currentDetail(accounts), side(accounts).month);
    }
}

std::optional<MenuItemValidation> CBudgetPageController::validateMenuItem(int tag) const
{
    if (tag != kNewBudgetTag) return std::nullopt;
    return MenuItemValidation{true, localized("NewBud")};
}

void CBudgetPageController::executeMenuCommand(int tag)
{
    if (tag == kNewBudgetTag) createBudget();
}

void CBudgetPageController::createBudget()
{
    auto context = std::make_unique<BudgetSheetContext>();
    context->document = mDocument;
    run(newBudgetSheet(), std::move(context), [this](BudgetSheetContext&) {
        if (!mDocument) return;
        CNewBudgetController& answers = *mNewBudgetController;
        // Through the executor, so that the journal keeps the new budget.
        arguments::NewBudgetArguments values;
        values.name = answers.mBudgetName;
        values.comment = answers.mBudgetDescription;
        values.base = answers.mBudgetBaseT;
        values.baseMonth = answers.mBaseBudgetMonth;
        values.period = answers.mBudgetPeriodT;
        values.nrOfYears = 0;
        values.nrOfMonths = 0;
        values.baseBudgetId = answers.mBaseBudgetId;
        const int id = mDocument->commandExecutor().executeCommand(kNewBudgetCommand, nullptr, values);
        std::shared_ptr<CBuDhItem> made;
        for (const std::shared_ptr<CBuDhItem>& budget : mDocument->mBudgetArray())
            if (id > 0 && budget->getId() == static_cast<ObjectIdT>(id)) made = budget;
        if (!made) {
            CErrorManager::RaiseError(kBudgetCommandFailed);
            return;
        }
        setContent();
        mYearMenu->setCurrentText(QString::fromStdString(CNSStringDateTBridge::dateTToNSString(made->mStartDate().value_or(0))));
        mBudgetMenu->setCurrentText(QString::fromStdString(made->getName()));
        setSelectedBudget(made);
    });
}

void CBudgetPageController::modifyBudget()
{
    if (!mSelectedBudget) {
        CErrorManager::RaiseInfo(249);
        return;
    }
    auto context = std::make_unique<BudgetSheetContext>();
    context->document = mDocument;
    context->header = mSelectedBudget;
    run(sheet(mModifyBudgetController), std::move(context), [this](BudgetSheetContext& done) {
        send(5, done.header, CommandArgument(done.methodParam.get()));
        std::shared_ptr<CBuDhItem> budget = done.header;
        setContent();
        mYearMenu->setCurrentText(QString::fromStdString(CNSStringDateTBridge::dateTToNSString(budget->mStartDate().value_or(0))));
        mBudgetMenu->setCurrentText(QString::fromStdString(budget->getName()));
    });
}

void CBudgetPageController::modifyBudgetDetail()
{
    const bool accounts = workingOnAccounts();
    const int month = side(accounts).month;
    // What is missing is said in the order a person goes: the account or
    // category, its month, then a cross-reference to spread the amount over.
    if (!chosenLine(accounts)) {
        CErrorManager::RaiseError(240);
        return;
    }
    if (month == -1) {
        CErrorManager::RaiseError(241);
        return;
    }
    std::shared_ptr<CBuDdItem> line = currentDetail(accounts);
    if (!accounts && line && line->isTransferReasonBudget()) {
        CErrorManager::RaiseError(248);
        return;
    }
    // A line without a budget yet has nothing to spread over either.
    if (!line || !side(accounts).hasList || side(accounts).xrefs.empty()) {
        CErrorManager::RaiseError(189);
        return;
    }
    auto context = std::make_unique<BudgetSheetContext>();
    context->document = mDocument;
    context->detail = line;
    context->header = mSelectedBudget;
    context->month = month;
    run(sheet(mModifyDetailController), std::move(context), [this](BudgetSheetContext& done) {
        send(0, done.detail, CommandArgument(done.methodParam.get()));
        refreshBothSides(done.month);
    });
}

const CNonVisual* CBudgetPageController::chosenLine(bool accounts) const
{
    const CNonVisual* current = currentObject(accounts);
    return mSelectedBudget && current && !budget_page::isFolder(*current) ? current : nullptr;
}

std::unique_ptr<BudgetSheetContext> CBudgetPageController::currentXRefParams(bool needXRef)
{
    const bool accounts = workingOnAccounts();
    const Side& s = side(accounts);
    const CNonVisual* chosen = chosenLine(accounts);
    if (!chosen) {
        CErrorManager::RaiseError(240);
        return nullptr;
    }
    if (s.month == -1) {
        CErrorManager::RaiseError(241);
        return nullptr;
    }
    std::shared_ptr<CBuDxItem> xref;
    const int row = s.xrefTable->currentRow();
    if (row >= 0 && row < static_cast<int>(s.xrefs.size()) && s.xrefTable->selectionModel()->hasSelection())
        xref = s.xrefs[row];
    if (needXRef && !xref) {
        CErrorManager::RaiseError(243);
        return nullptr;
    }
    auto context = std::make_unique<BudgetSheetContext>();
    context->document = mDocument;
    context->detail = currentDetail(accounts);
    context->header = mSelectedBudget;
    context->month = s.month;
    context->accountLine = chosen->Get_ObjectType() == type::kAccount;
    context->lineId = chosen->Get_Id();
    if (needXRef) context->xref = xref;
    return context;
}

bool CBudgetPageController::isTransferLine(const BudgetSheetContext& context) const
{
    if (context.detail) return context.detail->isTransferReasonBudget();
    return !context.accountLine && context.lineId && mDocument &&
           mDocument->isTransferReasonCodeId(static_cast<ObjectIdT>(*context.lineId));
}

void CBudgetPageController::modifyBudgetXRef()
{
    std::unique_ptr<BudgetSheetContext> context = currentXRefParams(true);
    if (!context) return;
    if (isTransferLine(*context) || context->xref->isTransferBudget()) {
        CErrorManager::RaiseError(248);
        return;
    }
    run(sheet(mXRefSheetController), std::move(context), [this](BudgetSheetContext& done) {
        send(1, done.xref, CommandArgument(done.methodParam.get()));
        refreshBothSides(done.month);
    });
}

void CBudgetPageController::createBudgetXRef()
{
    std::unique_ptr<BudgetSheetContext> context = currentXRefParams(false);
    if (!context) return;
    if (isTransferLine(*context)) {
        CErrorManager::RaiseError(248);
        return;
    }
    run(sheet(mCreateBudgetXRefSheetController), std::move(context), [this](BudgetSheetContext& done) {
        send(2, done.header, CommandArgument(done.methodParam.get()));
        refreshBothSides(done.month);
    });
}

void CBudgetPageController::editTransferXRef()
{
    std::unique_ptr<BudgetSheetContext> context = currentXRefParams(false);
    if (!context) return;
    run(sheet(mTransferBudgetXRefSheetController), std::move(context), [this](BudgetSheetContext& done) {
        send(4, done.header, CommandArgument(done.methodParam.get()));
        refreshBothSides(done.month);
    });
}

void CBudgetPageController::deleteBudgetXRef()
{
    std::unique_ptr<BudgetSheetContext> context = currentXRefParams(true);
    if (!context) return;
    if (isTransferLine(*context)) {
        CErrorManager::RaiseError(248);
        return;
    }
    const CBuDxItem& xref = *context->xref;
    if (xref.isTransferBudget()) {
        CErrorManager::RaiseError(197);
        return;
    }
    for (const std::optional<double>& actual : {xref.mActualTo(), xref.mActualFrom(), xref.mXtraActualFrom(),
                                                 xref.mXtraActualTo()}) {
        if (!actual || *actual != 0.0) {
            CErrorManager::RaiseError(196);
            return;
        }
    }
    if (send(3, context->xref, CommandArgument(std::shared_ptr<Observable>(context->header))) != 0)
        refreshBothSides(context->month);
}

void CBudgetPageController::updateActuals()
{
    if (!mSelectedBudget) return;
    mSelectedBudget->updateActuals();
    if (mDocument) mDocument->updateChangeCount();
    setSelectedBudget(mSelectedBudget);
}

} // namespace ch
