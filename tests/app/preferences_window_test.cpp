// The application preferences window as a person uses it: reached from
// Edit > Preferences… of the application's window and of a document's
// window, each control storing its default, a refused address kept for
// mending; and the program acting on the changes at once: amounts drawn with
// the new decimals, the journal no longer written, the next QIF import
// reading dates in the chosen order. The splash fades out and goes.

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSpinBox>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QToolBar>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app_test_steps.h"

#include "bridge/CNSNumberAmountTBridge.h"
#include "document/MyDocument.h"
#include "document/StatementImport.h"
#include "document/arguments/CategoryParameters.h"
#include "document/commands/CommandJournalReader.h"
#include "import/CImpTItem.h"
#include "model/foundation/CDecimal.h"
#include "platform/core/dispatcher.h"
#include "platform/core/user_defaults_store.h"
#include "ui/ApplicationPreferencesWindow.h"
#include "ui/GXSplashScreen.h"
#include "ui/SideBarOutlineModel.h"

namespace ch::test {
namespace {

class PreferencesWindowTest : public ApplicationFixture {
protected:
    PreferencesWindowTest()
    {
        QObject::connect(&controller, &DocumentController::preferencesRequested, &shell,
                         &ApplicationShell::showPreferences);
    }

    // Edit > Preferences… of the shell's own window.
    ApplicationPreferencesWindow* openFromShell()
    {
        for (QAction* action : shell.mainWindow()->findChildren<QAction*>())
            if (action->objectName() == "preferences") action->trigger();
        settle();
        return shell.preferencesWindow();
    }

    template <class Control>
    Control* control(const char* key)
    {
        auto* found = shell.preferencesWindow()->findChild<Control*>(QString::fromUtf8(key));
        EXPECT_NE(found, nullptr) << key;
        return found;
    }

    // Shows the page (through its toolbar item) that holds the control.
    void pageOf(const QWidget* widget)
    {
        ApplicationPreferencesWindow& window = *shell.preferencesWindow();
        auto* pages = window.findChild<QStackedWidget*>("preferenceTab");
        for (int tag = 0; tag < pages->count(); ++tag)
            if (pages->widget(tag)->isAncestorOf(widget))
                for (QAction* item : window.findChild<QToolBar*>("GlobalPreferenceToolbarTest")->actions())
                    if (item->property("tag").toInt() == tag) item->trigger();
        settle();
    }

    void typeNumber(const char* key, const QString& number)
    {
        auto* spin = control<QSpinBox>(key);
        pageOf(spin);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, number);
        QTest::keyClick(spin, Qt::Key_Return);
        settle();
    }
    void click(const char* key)
    {
        auto* box = control<QCheckBox>(key);
        pageOf(box);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        settle();
    }
    void typeAddress(const char* key, const QString& address)
    {
        auto* field = control<QLineEdit>(key);
        pageOf(field);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, address);
        QTest::keyClick(field, Qt::Key_Return);
        settle();
    }
    void chooseNext(const char* key)
    {
        auto* box = control<QComboBox>(key);
        pageOf(box);
        QTest::keyClick(box, Qt::Key_Down);
        settle();
    }

    UserDefaults& defaults() { return environment.defaults(); }
};

TEST_F(PreferencesWindowTest, ReachedFromEditInEveryWindowAndEachControlStoresItsDefault)
{
    ApplicationPreferencesWindow* window = openFromShell();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    window->close();
    settle();

    // A document's window: Edit > Preferences…, the same window again.
    controller.makeNewDocument(false);
    settle();
    choose("preferences");
    ASSERT_EQ(shell.preferencesWindow(), window);
    EXPECT_TRUE(window->isVisible());

    struct Row {
        const char* key;
        std::function<void()> act;
        Value stored;   // absent: a box, turned over
    };
    const std::vector<Row> rows = {
        {"GXNumberOfDecimals", [&] { typeNumber("GXNumberOfDecimals", "3"); }, Value(3)},
        {"GXtableTextSize", [&] { typeNumber("GXtableTextSize", "13"); }, Value(13)},
        {"GXShowStartupChoice", [&] { click("GXShowStartupChoice"); }, Value()},
        {"GXShowLastDocumentAtStartup", [&] { click("GXShowLastDocumentAtStartup"); }, Value()},
        {"GXShowNewDocumentAssistant", [&] { click("GXShowNewDocumentAssistant"); }, Value()},
        {"GXCShowFoldersInSequentialObjectList", [&] { click("GXCShowFoldersInSequentialObjectList"); }, Value()},
        {"GXAutoSave", [&] { click("GXAutoSave"); }, Value()},
        {"GXAutoSaveInterval", [&] { typeNumber("GXAutoSaveInterval", "15"); }, Value(15)},
        {"GXCKeepLogFile", [&] { click("GXCKeepLogFile"); }, Value()},
        {"GXGraphStartDateAutomaticFlag", [&] { click("GXGraphStartDateAutomaticFlag"); }, Value()},
        {"GXGraphEndDateAutomaticFlag", [&] { click("GXGraphEndDateAutomaticFlag"); }, Value()},
        {"QifDateFormat", [&] { chooseNext("QifDateFormat"); }, Value(1)},
        {"GXDestinationEncoding", [&] { chooseNext("GXDestinationEncoding"); }, Value(12)},
        {"GXOnLineUpdateCheck", [&] { click("GXOnLineUpdateCheck"); }, Value()},
        {"GXOnLineSharepriceCheck", [&] { click("GXOnLineSharepriceCheck"); }, Value()},
        {"GXStockRefreshRate", [&] { typeNumber("GXStockRefreshRate", "30"); }, Value(30)},
        {"GXQuoteServiceAddress", [&] { typeAddress("GXQuoteServiceAddress", "https://quotes.example.net/"); },
         Value("https://quotes.example.net")},
        {"GXCurrencyConverterAddress", [&] { typeAddress("GXCurrencyConverterAddress", "http://127.0.0.1:9"); },
         Value("http://127.0.0.1:9")},
    };
    for (const Row& row : rows) {
        const bool before = defaults().boolForKey(row.key);
        row.act();
        EXPECT_EQ(defaults().object(row.key), row.stored.isAbsent() ? Value(!before) : row.stored) << row.key;
    }
    // Turned on, a chart's fixed dates are the ones shown.
    EXPECT_EQ(defaults().integerForKey("GXGraphDateFrom"),
              control<QDateEdit>("GXGraphDateFrom")->date().toString("yyyyMMdd").toLongLong());
    QDateEdit* to = control<QDateEdit>("GXGraphDateTo");
    ASSERT_TRUE(to->isEnabled());
    to->setFocus();
    QTest::keyClick(to, Qt::Key_Up);
    settle();
    EXPECT_EQ(defaults().integerForKey("GXGraphDateTo"), to->date().toString("yyyyMMdd").toLongLong());

    // A colour chosen in the colour panel; the standard ones back with a click.
    const Value standardRed = defaults().object("RedTextColor");
    auto* choose = control<QPushButton>("RedTextColor");
    pageOf(choose);
    QTest::mouseClick(choose, Qt::LeftButton);
    settle();
    auto* panel = window->findChild<QColorDialog*>("colourPanel");
    ASSERT_NE(panel, nullptr);
    panel->setCurrentColor(QColor(255, 0, 0));
    panel->accept();
    settle();
    EXPECT_EQ(defaults().object("RedTextColor"), Value(Array{1.0, 0.0, 0.0, 1.0}));
    EXPECT_EQ(control<QLabel>("RedTextColorSample")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QTest::mouseClick(control<QPushButton>("restoreColours"), Qt::LeftButton);
    settle();
    EXPECT_EQ(defaults().object("RedTextColor"), standardRed);

    // An address that is none is not stored: the field keeps it and says why.
    typeAddress("GXQuoteServiceAddress", "quotes example");
    EXPECT_EQ(defaults().stringForKey("GXQuoteServiceAddress"), "https://quotes.example.net");
    EXPECT_EQ(control<QLineEdit>("GXQuoteServiceAddress")->text(), "quotes example");
    EXPECT_TRUE(control<QLabel>("addressRefused")->isVisible());

    // Shown again, the window shows what is stored.
    window->close();
    defaults().set("GXAutoSaveInterval", 45);
    window->show();
    settle();
    EXPECT_EQ(control<QSpinBox>("GXAutoSaveInterval")->value(), 45);
    EXPECT_EQ(control<QLineEdit>("GXQuoteServiceAddress")->text(), "https://quotes.example.net");
}

TEST_F(PreferencesWindowTest, TheProgramActsOnTheChangedDefaultsAtOnce)
{
    controller.makeNewDocument(false);
    settle();
    MyDocument& document = books();
    openFromShell();

    // Decimals: the window repaints and its amounts have three decimals.
    auto* sideBar = frame().v2Layout().sideBarView()->findChild<QAbstractItemView*>();
    ASSERT_NE(sideBar, nullptr);
    int paints = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) ++*count;
            return false;
        }
    } counter(&paints);
    sideBar->viewport()->installEventFilter(&counter);
    settle();
    paints = 0;
    typeNumber("GXNumberOfDecimals", "3");
    EXPECT_GT(paints, 0);
    EXPECT_EQ(CDecimal::getNrOfDecimals(), 3);   // what amount entry rounds to
    EXPECT_EQ(CNSNumberAmountTBridge::NSNumberToNSString(1234.5), "1,234.500");
    const QAbstractItemModel& outline = frame().sideBarController().outlineModel();
    bool threeDecimals = false;
    std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        for (int row = 0; row < outline.rowCount(parent); ++row) {
            const QString balance = outline.index(row, SideBarOutlineModel::BalanceColumn, parent).data().toString();
            if (balance.contains(QRegularExpression("\\.\\d{3}$"))) threeDecimals = true;
            walk(outline.index(row, 0, parent));
        }
    };
    walk({});
    EXPECT_TRUE(threeDecimals);

    // The journal: written while on, not once turned off.
    auto addGroup = [&](const char* name) {
        arguments::CategoryGroupParameters group;
        group.name = name;
        document.commandExecutor().executeCommand(17, nullptr, group);
    };
    addGroup("Journaled");
    const std::size_t written = readCommandJournalFile(document.journalFileName()).items.size();
    ASSERT_GE(written, 1u);
    click("GXCKeepLogFile");
    ASSERT_FALSE(defaults().boolForKey("GXCKeepLogFile"));
    addGroup("Not journaled");
    EXPECT_EQ(readCommandJournalFile(document.journalFileName()).items.size(), written);

    // QIF dates: 03/04/2024 is the 3rd of April once the short date format
    // (day first here) is chosen; month first it would be the 4th of March.
    defaults().set("NSShortDateFormatString", Value("dd/MM/yyyy"));
    chooseNext("QifDateFormat");
    statementPath = folder.filePath("bakery.qif");
    std::ofstream(statementPath.toStdString()) << "!Type:Bank\nD03/04/2024\nT-12.50\nPBakery\n^\n";
    choose("importQIF");
    const StatementLines& lines = document.statementImport().mImportedTransactionArray();
    ASSERT_EQ(lines.size(), 1u);
    auto line = std::dynamic_pointer_cast<CImpTItem>(lines.front());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->mBookingDate(), 20240403);
}

TEST_F(PreferencesWindowTest, ClosingTheWindowWithItsKeysKeepsTheChoicesOnDisk)
{
    const std::filesystem::path file = folder.filePath("preferences.plist").toStdString();
    UserDefaultsStore store(file);
    ApplicationShell withStore(defaults(), dispatcher, &store);
    withStore.showPreferences();
    ApplicationPreferencesWindow* window = withStore.preferencesWindow();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    settle();
    auto* autosave = window->findChild<QCheckBox*>("GXAutoSave");
    window->showPreferencePage(1);
    QTest::mouseClick(autosave, Qt::LeftButton, {}, QPoint(8, autosave->height() / 2));
    QTest::keyClick(autosave, Qt::Key_W, Qt::ControlModifier);
    settle();
    EXPECT_FALSE(window->isVisible());

    UserDefaults reread;
    store.load(reread);
    EXPECT_TRUE(reread.boolForKey("GXAutoSave"));
}

TEST_F(PreferencesWindowTest, TheSplashFadesOutInTwentyStepsAndGoes)
{
    ManualDispatcher manual;
    ApplicationShell launching(defaults(), manual);
    launching.showSplash();
    GXSplashScreen* splash = launching.splashScreen();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    launching.launch({});
    manual.runDue();
    manual.advance(std::chrono::milliseconds(9999));
    EXPECT_DOUBLE_EQ(splash->windowOpacity(), 1.0);

    std::vector<double> seen;
    manual.advance(std::chrono::milliseconds(1));   // ten seconds: the fade begins
    for (int tick = 0; tick < 20; ++tick) {
        manual.advance(SplashFade::kTick);
        ASSERT_EQ(launching.splashScreen(), splash) << tick;
        seen.push_back(splash->windowOpacity());
    }
    // Windows keep their opacity in 8 bits.
    EXPECT_NEAR(seen.front(), 1.0, 1.0 / 255);
    EXPECT_NEAR(seen.back(), 0.05, 1.0 / 255);
    EXPECT_TRUE(std::is_sorted(seen.rbegin(), seen.rend()));
    manual.advance(SplashFade::kTick);
    EXPECT_EQ(launching.splashScreen(), nullptr);
    EXPECT_EQ(manual.pendingCount(), 0u);

    // A click lets it go without waiting.
    launching.showSplash();
    QTest::mouseClick(launching.splashScreen(), Qt::LeftButton);
    manual.advance(SplashFade::kTick * 21);
    EXPECT_EQ(launching.splashScreen(), nullptr);
}

} // namespace
} // namespace ch::test
