// The document window on the 100,000-transaction book, driven as a person
// does: the file opened through the document controller, pages chosen in
// the side bar, headings clicked, the search field used, an account picked.
// Each action is timed until the window has painted its result, on a window
// freshly opened for it (opening is not counted), so that every figure is
// the first time the action is done; the model's own reading of the same
// file is measured in the same run for comparison.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "business/BusinessDefaults.h"
#include "document/app/GXApplicationDelegate.h"
#include "large_books.h"
#include "model/CDocAccounting.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/CSideBarController.h"
#include "ui/ChartSinkViews.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/MainToolbar.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/side_bar_rows.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/LRFilterBar.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/GXTransactionViewController.h"

namespace ch::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kTransactions = 100000;
constexpr int kWindowIterations = 5;

void settle()
{
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// The books written once to a temporary folder, and the controller that
// opens them.
struct Books {
    BenchEnvironment environment;
    QTemporaryDir folder;
    std::string path;
    std::vector<std::uint8_t> bytes;
    QtDispatcher dispatcher;
    std::unique_ptr<DocumentController> controller;

    Books()
    {
        GXApplicationDelegate::initialize(environment.defaults());
        business::registerBusinessDefaults(environment.defaults());
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        environment.defaults().set("GXShowStartupChoice", Value(false));
        environment.defaults().set("GXShowLastDocumentAtStartup", Value(false));
        auto root = BuildLargeBooks({kTransactions, 1});
        bytes = SaveDocument(*root);
        root.reset();
        path = folder.filePath("books.books").toStdString();
        if (!WriteFileAtomically(path, bytes.data(), bytes.size())) std::abort();
        controller = std::make_unique<DocumentController>(environment.defaults(), dispatcher);
        controller->setUntitledJournalFolder(folder.path().toStdString());
    }
};

Books& books()
{
    // Kept to the end of the process and not taken apart at exit.
    static auto* made = new Books;
    return *made;
}

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A window of the books, open and painted.
class Window {
public:
    Window()
    {
        Books& b = books();
        if (!b.controller->openDocumentFile(b.path)) std::abort();
        mWindow = b.controller->windows().back().get();
        frame().repaint();
    }
    ~Window()
    {
        books().controller->discard(*mWindow);
        settle();
        // What the window left for later deletion goes now, as back in the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    DocumentWindowFrame& frame() const { return *mWindow->frame(); }
    CSideBarController& sideBar() const { return frame().sideBarController(); }

    // The deferred first page (the transactions), painted.
    void showFirstPage()
    {
        settle();
        frame().repaint();
    }
    GXTransactionViewController& transactionsPage() const
    {
        auto* page = dynamic_cast<GXTransactionViewController*>(sideBar().currentController());
        if (!page) std::abort();
        return *page;
    }
    GXTableAncestor& transactionTable() const
    {
        return *transactionsPage().table(GXTransactionViewController::Tab::Transactions);
    }

    // Selects the side bar's row of the title, every row opened, as a click does.
    void selectSideBarRow(const std::string& title, int level)
    {
        const QModelIndex row = test::openAndFindSideBarRow(sideBar().outlineModel(), title, level);
        if (!row.isValid()) std::abort();
        sideBar().selectionModel().select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    AccountCategoryPage& accountPage() const
    {
        auto* page = dynamic_cast<AccountCategoryPage*>(sideBar().currentController());
        if (!page) std::abort();
        return *page;
    }

    void paint()
    {
        settle();
        frame().repaint();
    }

    // A click on the heading of the list's column.
    void clickHeading(GXTableAncestor& table, const QString& column)
    {
        auto* model = static_cast<ItemTableModel*>(table.model());
        const int section = model->columnOf(column);
        if (section < 0) std::abort();
        QHeaderView* header = table.horizontalHeader();
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // Typed into the toolbar's search field, then Return.
    void search(const QString& text)
    {
        QLineEdit* field = frame().toolbar().searchField();
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }

private:
    DocumentWindow* mWindow = nullptr;
};

// A window action in milliseconds, timed by the benchmark itself, on a few fresh windows.
#define WINDOW_BENCHMARK(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kWindowIterations)

// Times `action` on a window freshly prepared by `prepare`.
template <class Prepare, class Action>
void timeOnFreshWindow(benchmark::State& state, Prepare prepare, Action action)
{
    books();
    for (auto _ : state) {
        Window window;
        prepare(window);
        const auto start = Clock::now();
        action(window);
        state.SetIterationTime(since(start));
    }
}

void BM_ModelRead(benchmark::State& state)
{
    Books& b = books();
    for (auto _ : state) {
        LoadedDocument loaded = LoadDocument(b.bytes);
        if (!loaded.modelRead) std::abort();
        benchmark::DoNotOptimize(loaded.root.get());
        state.PauseTiming();
        loaded.root.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ModelRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kWindowIterations);

void BM_OpenWindow(benchmark::State& state)
{
    books();
    for (auto _ : state) {
        const auto start = Clock::now();
        auto window = std::make_unique<Window>();
        state.SetIterationTime(since(start));
        window.reset();
    }
}
WINDOW_BENCHMARK(BM_OpenWindow);

void BM_TransactionsPageFirstTime(benchmark::State& state)
{
    timeOnFreshWindow(state, [](Window&) {}, [](Window& w) { w.showFirstPage(); });
}
WINDOW_BENCHMARK(BM_TransactionsPageFirstTime);

const char* const kSortColumns[] = {"date", "description", "from", "to", "amount"};

void BM_SortTransactions(benchmark::State& state)
{
    const QString column = QString::fromLatin1(kSortColumns[state.range(0)]);
    state.SetLabel(kSortColumns[state.range(0)]);
    timeOnFreshWindow(
        state, [](Window& w) { w.showFirstPage(); },
        [&](Window& w) {
            w.clickHeading(w.transactionTable(), column);
            w.paint();
        });
}
WINDOW_BENCHMARK(BM_SortTransactions)->DenseRange(0, 4);

// Aborts unless the search leaves some transactions out and keeps some.
void checkShown(const QString& text)
{
    Window w;
    w.showFirstPage();
    w.search(text);
    const auto shown = w.transactionsPage().controller(GXTransactionViewController::Tab::Transactions).arrangedCount();
    if (shown == 0 || shown >= kTransactions) std::abort();
}

void BM_SearchTransactions(benchmark::State& state)
{
    timeOnFreshWindow(
        state, [](Window& w) { w.showFirstPage(); },
        [](Window& w) {
            w.search(QStringLiteral("bakery"));
            w.paint();
        });
    checkShown(QStringLiteral("bakery"));
}
WINDOW_BENCHMARK(BM_SearchTransactions);

void BM_ClearSearch(benchmark::State& state)
{
    timeOnFreshWindow(
        state,
        [](Window& w) {
            w.showFirstPage();
            w.search(QStringLiteral("bakery"));
            w.paint();
        },
        [](Window& w) {
            w.search(QString());
            w.paint();
        });
}
WINDOW_BENCHMARK(BM_ClearSearch);

// Typed into the toolbar's search field key by key, as a person types:
// after each key the list is filtered and painted before the next. The
// figure is per keystroke: the word's time divided by its letters.
void timeKeystrokes(benchmark::State& state, bool erase)
{
    const QString word = QStringLiteral("bakery");
    books();
    for (auto _ : state) {
        Window w;
        w.showFirstPage();
        QLineEdit* field = w.frame().toolbar().searchField();
        field->setFocus();
        if (erase) {
            for (QChar letter : word) QTest::keyClick(field, letter.toLatin1());
            w.paint();
        }
        const auto start = Clock::now();
        for (int i = 0; i < word.size(); ++i) {
            if (erase) QTest::keyClick(field, Qt::Key_Backspace);
            else QTest::keyClick(field, word.at(i).toLatin1());
            w.paint();
        }
        state.SetIterationTime(since(start) / word.size());
        const auto shown =
            w.transactionsPage().controller(GXTransactionViewController::Tab::Transactions).arrangedCount();
        // Typed, the list is narrowed; erased, everything is back.
        if (erase ? shown < kTransactions : (shown == 0 || shown >= kTransactions)) std::abort();
    }
}

void BM_TypeIntoSearch(benchmark::State& state)
{
    timeKeystrokes(state, false);
}
WINDOW_BENCHMARK(BM_TypeIntoSearch);

void BM_EraseSearch(benchmark::State& state)
{
    timeKeystrokes(state, true);
}
WINDOW_BENCHMARK(BM_EraseSearch);

// The filter bar's "Checked" taken back to "All".
void BM_FilterBackToAll(benchmark::State& state)
{
    timeOnFreshWindow(
        state,
        [](Window& w) {
            w.showFirstPage();
            w.transactionsPage().filterBar()->pressIndex(3, 0);
            w.paint();
        },
        [](Window& w) {
            w.transactionsPage().filterBar()->pressIndex(0, 0);
            w.paint();
        });
}
WINDOW_BENCHMARK(BM_FilterBackToAll);

// Times a side-bar page chosen on a window showing its first page.
void timePageShown(benchmark::State& state, const char* title, int level)
{
    timeOnFreshWindow(
        state, [](Window& w) { w.showFirstPage(); },
        [title, level](Window& w) {
            w.selectSideBarRow(title, level);
            w.paint();
        });
}

void BM_AccountsRootPage(benchmark::State& state)
{
    timePageShown(state, "Accounts", 1);
}
WINDOW_BENCHMARK(BM_AccountsRootPage);

void BM_BankAccountsPage(benchmark::State& state)
{
    timePageShown(state, "Bank Accounts", 0);
}
WINDOW_BENCHMARK(BM_BankAccountsPage);

void BM_CategoriesRootPage(benchmark::State& state)
{
    timePageShown(state, "Categories", 1);
}
WINDOW_BENCHMARK(BM_CategoriesRootPage);

// The upper table's row of the account with the most lines ("Current Account").
int busiestAccountRow(AccountCategoryPage& page)
{
    ItemTableModel* model = page.upperModel();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->itemAt(row)->getName() == "Current Account") return row;
    std::abort();
}

void selectBusiestAccount(Window& w)
{
    AccountCategoryPage& page = w.accountPage();
    GXTableAncestor* table = page.upperTable();
    const QModelIndex index = page.upperModel()->index(busiestAccountRow(page), 1);
    table->scrollTo(index);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
}

void BM_SelectBusiestAccount(benchmark::State& state)
{
    timeOnFreshWindow(
        state,
        [](Window& w) {
            w.showFirstPage();
            w.selectSideBarRow("Bank Accounts", 0);
            w.paint();
        },
        [](Window& w) {
            selectBusiestAccount(w);
            w.paint();
        });
}
WINDOW_BENCHMARK(BM_SelectBusiestAccount);

void BM_BarChartPaint(benchmark::State& state)
{
    timeOnFreshWindow(
        state,
        [](Window& w) {
            w.showFirstPage();
            w.selectSideBarRow("Bank Accounts", 0);
            w.paint();
            selectBusiestAccount(w);
            w.paint();
        },
        [](Window& w) {
            QImage image(900, 340, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter painter(&image);
            w.accountPage().barChart()->render(painter, QSizeF(900, 340));
        });
}
WINDOW_BENCHMARK(BM_BarChartPaint);

} // namespace
} // namespace ch::bench

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform says at every window what it cannot do.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtDebugMsg || message.startsWith(QLatin1String("This plugin does not support"))) return;
        fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
