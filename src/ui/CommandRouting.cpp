#include "ui/CommandRouting.h"

#include <QAction>
#include <QProcess>
#include <QStandardPaths>

#include "ui/CSideBarController.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/WindowDocument.h"

namespace ch {

namespace {

constexpr int kNewObjectTag = 1100;
constexpr int kDeleteTag = 1104;
constexpr int kDuplicateTag = 1109;
constexpr int kNewTransactionTag = 1110;
constexpr int kTransferFromTag = 1111;
constexpr int kTransferToTag = 1112;
constexpr int kModifyTag = 1114;
constexpr int kDuplicateFirstTag = 1115;
constexpr int kFlagTag = 1121;
constexpr int kClassicTablesTag = 1236;
// The export command: File's and the side bar's, the same tag as the
// classic tables' export.
constexpr int kExportTag = kClassicTablesTag;

} // namespace

bool isClassicTab(const std::string& identifier)
{
    return identifier == "trns" || identifier == "acnt" || identifier == "expt";
}

QAction* makeCommandAction(QObject* parent, const QString& title, int tag, const char* action,
                           const QString& toolbarIdentifier)
{
    auto* command = new QAction(title, parent);
    command->setProperty(kTagProperty, tag);
    command->setProperty(kActionProperty, QString::fromLatin1(action));
    command->setProperty(kBaseTitleProperty, title);
    if (!toolbarIdentifier.isEmpty()) {
        command->setProperty(kToolbarIdentifierProperty, toolbarIdentifier);
        command->setObjectName(toolbarIdentifier);
    }
    return command;
}

CommandSender senderOf(const QAction& action)
{
    const int tag = action.property(kTagProperty).toInt();
    const QString identifier = action.property(kToolbarIdentifierProperty).toString();
    if (!identifier.isEmpty()) return CommandSender::toolbarItem(identifier.toStdString(), tag);
    return CommandSender::menuItem(tag);
}

CommandRouter::CommandRouter(CSideBarController& sideBar, QObject* parent) : QObject(parent), mSideBar(sideBar) {}

void CommandRouter::setMainTab(const std::string& identifier)
{
    mMainTab = identifier;
}

MenuItemValidation CommandRouter::validateMenuItem(int tag) const
{
    if (version2InterfaceIsOn() && mSideBar.currentController() && tag > 0) {
        MenuItemValidation validation = mSideBar.validateMenuItem(tag);
        // A transaction from or to an account needs the account, which the
        // item's title names: a page that names none (the transactions
        // page enables every tag it does not know) has nothing to make it
        // from, and its page would do nothing.
        if ((tag == kTransferFromTag || tag == kTransferToTag) && !validation.title) validation.enabled = false;
        return validation;
    }
    if (mMainTab == "budg" && mBudgetValidation)
        if (std::optional<MenuItemValidation> answer = mBudgetValidation(tag)) return *answer;
    if (tag <= 0) return {true, std::nullopt};
    if (classicTabShown())
        if (std::optional<MenuItemValidation> answer = mLayout->validateMenuItem(tag)) return *answer;
    switch (tag) {
    case kClassicTablesTag: return {isClassicTab(mMainTab), std::nullopt};
    case kDuplicateTag: return {mCurrentTransaction && mCurrentTransaction(), std::nullopt};
    // Only the classic layout's transaction list has a first transaction.
    case kDuplicateFirstTag: return {false, std::nullopt};
    case 1215:
    case 1216:
    case 1250:
    case 1251: return {true, std::nullopt};
    default: return {false, std::nullopt};
    }
}

bool CommandRouter::validateToolbarItem(const CommandSender& item) const
{
    if (version2InterfaceIsOn()) return mSideBar.validateToolbarItem(item);
    if (classicTabShown() && item.tag > 0) {
        const std::optional<MenuItemValidation> answer = mLayout->validateMenuItem(item.tag);
        return answer && answer->enabled;
    }
    return item.tag != kDeleteTag && item.tag != kModifyTag && item.tag != kFlagTag;
}

void CommandRouter::validateAction(QAction& action) const
{
    const CommandSender sender = senderOf(action);
    if (sender.isToolbarItem()) {
        action.setEnabled(validateToolbarItem(sender));
        return;
    }
    MenuItemValidation validation = validateMenuItem(sender.tag);
    // The search field serves the side-bar layout's pages and the classic tabs.
    if (action.property(kActionProperty).toString() == QLatin1String("findObject:"))
        validation.enabled = (version2InterfaceIsOn() && mSideBar.currentController()) || classicTabShown();
    action.setEnabled(validation.enabled);
    action.setText(validation.title ? QString::fromStdString(*validation.title)
                                    : action.property(kBaseTitleProperty).toString());
}

std::string CommandRouter::homeTab() const
{
    return mLayout ? mLayout->currentTab() : std::string("V2");
}

void CommandRouter::searchContents(const std::string& text)
{
    if (classicTabShown()) mLayout->searchContents(text);
    else mSideBar.searchContents(text);
}

void CommandRouter::showSideBarNode(FourCharCode type, int level)
{
    // The classic layout shows its own pages; the others (shares,
    // currencies, owners) only the side bar has.
    if (mLayout)
        if (const std::string tab = mLayout->showPage(type); !tab.empty()) {
            emit mainTabRequested(QString::fromStdString(tab));
            return;
        }
    emit mainTabRequested(QStringLiteral("V2"));
    mSideBar.selectNodeWithType(type, level);
}

void CommandRouter::passMenuCommand(int code, const CommandSender& sender)
{
    // Edits act only while a page of the side-bar layout or a tab of the
    // classic layout is shown.
    if (version2InterfaceIsOn() && mSideBar.currentController()) mSideBar.passMenuCommand(code, sender);
    else if (classicTabShown()) mLayout->executeMenuCommand(code);
}

void CommandRouter::newObject(const CommandSender& sender)
{
    // The toolbar's New Transaction: a new transaction on a classic tab; on
    // the side bar, the page's own new command; on the budget, report and
    // import tabs, where it is enabled too, the new-transaction sheet.
    if (classicTabShown()) {
        passMenuCommand(sender.tag, sender);
        return;
    }
    if (!version2InterfaceIsOn() && sender.isToolbarItem() && sender.tag == kNewTransactionTag) {
        mSideBar.document().books().askTransactionInput(nullptr, nullptr, nullptr, 3, 1, false);
        return;
    }
    passMenuCommand(kNewObjectTag, sender);
}

void CommandRouter::newAccount(WindowDocument& document)
{
    // A page of accounts of one type proposes that type.
    GXSideBarControlledViewAncestor* page = version2InterfaceIsOn() ? mSideBar.currentController() : nullptr;
    if (const auto type = page ? page->proposedAccountType() : std::nullopt)
        document.initiateAccountCreationWithMasterType(*type);
    else
        document.newPLAccount();
}

void CommandRouter::launchCalculator() const
{
    QString program = mCalculator;
    if (program.isEmpty())
        for (const char* candidate : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"})
            if (!QStandardPaths::findExecutable(candidate).isEmpty()) {
                program = candidate;
                break;
            }
    if (!program.isEmpty()) QProcess::startDetached(program, {});
}

void CommandRouter::trigger(QAction& action)
{
    validateAction(action);
    if (!action.isEnabled()) return;
    const CommandSender sender = senderOf(action);
    const QString name = action.property(kActionProperty).toString();
    WindowDocument& document = mSideBar.document();

    if (mMainTab == "budg" && mBudgetCommands && name == kMenuCommandAction) mBudgetCommands(sender.tag);
    else if (name == kMenuCommandAction) passMenuCommand(sender.tag, sender);
    else if (name == "findObject:") emit findRequested();
    // The side-bar layout exports what its page shows (an account, a
    // category or a folder of them); elsewhere the whole books.
    else if (name == "exportTransactions:" && sender.tag == kExportTag)
        document.exportTransactions(version2InterfaceIsOn() ? mSideBar.deepCurrentItem() : nullptr);
    else if (name == "V2Page:") emit mainTabRequested(QString::fromStdString(homeTab()));
    else if (name == "newObject:") newObject(sender);
    else if (name == "delete:") passMenuCommand(kDeleteTag, sender);
    else if (name == "modifyTransactionAsked:") passMenuCommand(kModifyTag, sender);
    else if (name == "flag:") passMenuCommand(kFlagTag, sender);
    else if (name == "newPLAccount:") newAccount(document);
    else if (name == "newExpenseType:") document.newExpenseType();
    else if (name == "settinPage:") document.showDocumentSettings();
    else if (name == "transactionPage:") showSideBarNode(fourCC("TrnS"), 2);
    else if (name == "recurringPage:") showSideBarNode(fourCC("RcrT"), 2);
    else if (name == "generatedPage:") showSideBarNode(fourCC("UnlT"), 2);
    else if (name == "accountPage:") showSideBarNode(fourCC("AccT"), 1);
    else if (name == "reasonPage:") showSideBarNode(fourCC("MxpT"), 1);
    else if (name == "sharePage:") showSideBarNode(fourCC("ShaR"), 1);
    else if (name == "currencyPage:") showSideBarNode(fourCC("CurR"), 1);
    else if (name == "ownerPage:") showSideBarNode(fourCC("AcoW"), 1);
    else if (name == "budgetPage:") emit mainTabRequested(QStringLiteral("budg"));
    else if (name == "reportPage:") emit mainTabRequested(QStringLiteral("repo"));
    else if (name == "importPage:") emit mainTabRequested(QStringLiteral("Import"));
    else if (name == "doCalculator:") launchCalculator();
    else if (name == "runPageLayout:") emit pageLayoutRequested();
}

} // namespace ch
