// The new-document assistant's window as a person uses it over new books:
// pages counted and titled, the lists searched, ticked all, emptied and
// traded by dragging, balances typed, and the books Create makes.

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStyle>

#include <memory>

#include "app_test_steps.h"

#include "document/MyDocument.h"
#include "model/CAccount.h"
#include "platform/core/localized_strings.h"
#include "ui/CSideBarView.h"
#include "ui/QuickEntryPane.h"

namespace ch::test {
namespace {

class AssistantDialogTest : public ApplicationFixture {
protected:
    AssistantDialogTest()
    {
        controller.makeNewDocument(true);
        for (int i = 0; i < 100 && !controller.assistant(); ++i) {
            QTest::qWait(5);
        }
        dialog = controller.assistant();
    }

    template <class T>
    T* outlet(const char* name)
    {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* button)
    {
        QTest::mouseClick(outlet<QPushButton>(button), Qt::LeftButton);
        settle();
    }
    QString counter() { return outlet<QLabel>("pageCounter")->text(); }
    QString title() { return outlet<QLabel>("pageTitle")->text(); }
    QTableWidget& proposed() { return *dialog->proposedTable(); }
    QListWidget& selected() { return *dialog->selectedList(); }

    QStringList proposedNames()
    {
        QStringList names;
        for (int row = 0; row < proposed().rowCount(); ++row) names << proposed().item(row, 1)->text();
        return names;
    }
    // The names in the selected list, without balance or default mark.
    QStringList selectedNames()
    {
        QStringList names;
        for (int row = 0; row < selected().count(); ++row) names << selected().item(row)->text().section("  ", 0, 0);
        names.sort();
        return names;
    }
    int rowOf(const QString& name)
    {
        const int row = int(proposedNames().indexOf(name));
        EXPECT_GE(row, 0) << name.toStdString();
        return row;
    }
    bool ticked(const QString& name) { return proposed().item(rowOf(name), 0)->checkState() == Qt::Checked; }
    // A click on the tick box of the row's column (0 use, 4 default).
    void tick(const QString& name, int column = 0)
    {
        QTableWidgetItem* cell = proposed().item(rowOf(name), column);
        proposed().scrollToItem(cell);
        const QRect rect = proposed().visualItemRect(cell);
        const int box = proposed().style()->pixelMetric(QStyle::PM_IndicatorWidth);
        QTest::mouseClick(proposed().viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 3 + box / 2, rect.center().y()));
        settle();
    }
    void typeSearch(const char* field, const char* text)
    {
        QLineEdit* search = outlet<QLineEdit>(field);
        search->clear();
        QTest::keyClicks(search, QString::fromUtf8(text));
        settle();
    }
    // The rows picked in one list, dropped on the other as its view takes a
    // drop: entered, moved over, dropped.
    static bool dropOn(QAbstractItemView& target, QMimeData* dragData)
    {
        const std::unique_ptr<QMimeData> data(dragData);
        const QPoint at = target.viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target.viewport(), &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target.viewport(), &move);
        if (!move.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target.viewport(), &drop);
        settle();
        return drop.isAccepted();
    }
    static QMimeData* dragged(QAbstractItemView& source)
    {
        return source.model()->mimeData(source.selectionModel()->selectedIndexes());
    }
    void typeBalance(const QString& account, const char* typed)
    {
        QTableWidgetItem* cell = proposed().item(rowOf(account), 3);
        proposed().scrollToItem(cell);
        proposed().setCurrentItem(cell);
        QTest::keyClick(&proposed(), Qt::Key_F2);
        settle();
        auto* editor = proposed().findChild<QLineEdit*>("balanceEditor");
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QString::fromUtf8(typed));
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }
    // Next until the page of that title shows.
    void nextTo(const char* stageKey)
    {
        const QString wanted = QString::fromStdString(localized(stageKey));
        for (int i = 0; i < 12 && title() != wanted; ++i) click("nextButton");
        ASSERT_EQ(title(), wanted);
    }

    NewDocumentAssistantDialog* dialog = nullptr;
};

TEST_F(AssistantDialogTest, EveryPageIsCountedAndTitledAndTheLastOneCreates)
{
    ASSERT_NE(dialog, nullptr);
    struct Page {
        const char* title;
        int stage;
    };
    const Page pages[] = {
        {"Standard Set", 1}, {"Currencies", 2},  {"Own Property", 4},  {"Assets", 5},
        {"Debts", 6},        {"Money Comes From", 7}, {"Money Goes To", 8}, {"Income", 10},
        {"Expenses", 11},    {"Transfers", 12},  {"Create the Books", 13},
    };
    // The stages up to `lit` show reached, the page's own as the current.
    auto check = [&](int number, int lit) {
        const Page& page = pages[number - 1];
        SCOPED_TRACE(page.title);
        EXPECT_EQ(counter(), QStringLiteral("Page %1 of 11").arg(number));
        EXPECT_EQ(title(), QString::fromLatin1(page.title));
        EXPECT_EQ(outlet<QPushButton>("nextButton")->text(),
                  number == 11 ? QStringLiteral("Create") : QStringLiteral("Next"));
        for (int stage = 1; stage <= 13; ++stage) {
            auto* label = outlet<QLabel>(QStringLiteral("stageLabel%1").arg(stage).toLatin1().constData());
            EXPECT_EQ(label->property("current").toBool(), stage == page.stage) << stage;
            EXPECT_EQ(label->property("reached").toBool(), stage <= lit) << stage;
        }
        EXPECT_FALSE(outlet<QLabel>("pageIcon")->pixmap().isNull());
    };
    for (int number = 1; number <= 11; ++number) {
        check(number, pages[number - 1].stage);
        if (number < 11) click("nextButton");
    }
    const QString closing = outlet<QLabel>("explanation")->text();
    EXPECT_TRUE(closing.contains("Click Create")) << closing.toStdString();
    EXPECT_FALSE(closing.contains("Transfers")) << closing.toStdString();
    // Back, one page at a time; the stages reached stay lit.
    for (int number = 10; number >= 1; --number) {
        click("previousButton");
        check(number, 13);
    }
    EXPECT_FALSE(outlet<QPushButton>("previousButton")->isEnabled());
}

TEST_F(AssistantDialogTest, NoRowStaysPickedFromOnePageToTheNext)
{
    ASSERT_NE(dialog, nullptr);
    nextTo("ASSISTANTSTAGE2");
    for (QString name : {"US Dollar", "Swiss Franc"}) tick(name);
    // Rows 1 to 4 picked in both lists, as a person drags over them.
    proposed().setRangeSelected(QTableWidgetSelectionRange(0, 0, 3, 4), true);
    selected().selectAll();
    ASSERT_FALSE(proposed().selectionModel()->selectedRows().isEmpty());
    for (int page = 0; page < 3; ++page) {
        click("nextButton");
        EXPECT_TRUE(proposed().selectionModel()->selectedIndexes().isEmpty()) << title().toStdString();
        EXPECT_TRUE(selected().selectedItems().isEmpty()) << title().toStdString();
        proposed().setRangeSelected(QTableWidgetSelectionRange(0, 0, 3, 4), true);
    }
}

TEST_F(AssistantDialogTest, SearchNarrowsTheListsAndTickAllTicksWhatShows)
{
    ASSERT_NE(dialog, nullptr);
    nextTo("ASSISTANTSTAGE2");
    const int all = proposed().rowCount();
    typeSearch("proposedSearchField", "KRON");
    QTest::keyClick(outlet<QLineEdit>("proposedSearchField"), Qt::Key_Return);
    settle();
    ASSERT_EQ(title(), QStringLiteral("Currencies")) << "Return in a search field turned the page";
    const QStringList krone = proposedNames();
    ASSERT_GE(krone.size(), 2);
    EXPECT_LT(krone.size(), all);
    for (const QString& name : krone) EXPECT_TRUE(name.contains("kron", Qt::CaseInsensitive)) << name.toStdString();

    // Tick all ticks the krone and takes them over with the euro.
    QTest::mouseClick(outlet<QCheckBox>("selectAllBox"), Qt::LeftButton);
    settle();
    QStringList expected = krone;
    expected << "Euro";
    expected.sort();
    EXPECT_EQ(selectedNames(), expected);
    typeSearch("selectedSearchField", "eur");
    EXPECT_EQ(selectedNames(), QStringList{"Euro"});
    typeSearch("proposedSearchField", "");
    EXPECT_EQ(proposed().rowCount(), all);
    EXPECT_TRUE(ticked("Euro"));

    // The next page starts without a search and with the box clear.
    click("nextButton");
    EXPECT_TRUE(outlet<QLineEdit>("proposedSearchField")->text().isEmpty());
    EXPECT_TRUE(outlet<QLineEdit>("selectedSearchField")->text().isEmpty());
    EXPECT_FALSE(outlet<QCheckBox>("selectAllBox")->isChecked());
    EXPECT_EQ(selected().count(), 2); // Cash and Checking Account, ticked by the set
    // Clearing the box unticks what shows, and its default with it.
    QTest::mouseClick(outlet<QCheckBox>("selectAllBox"), Qt::LeftButton);
    QTest::mouseClick(outlet<QCheckBox>("selectAllBox"), Qt::LeftButton);
    settle();
    EXPECT_EQ(selected().count(), 0);
    EXPECT_EQ(proposed().item(rowOf("Cash"), 4)->checkState(), Qt::Unchecked);
}

TEST_F(AssistantDialogTest, RemoveAndRemoveAllGiveEntriesBack)
{
    ASSERT_NE(dialog, nullptr);
    nextTo("ASSISTANTSTAGE10");
    tick("Bonus");
    ASSERT_EQ(selectedNames(), (QStringList{"Bonus", "Interest", "Salary"}));
    selected().findItems("Salary", Qt::MatchExactly).first()->setSelected(true);
    click("removeButton");
    EXPECT_EQ(selectedNames(), (QStringList{"Bonus", "Interest"}));
    EXPECT_FALSE(ticked("Salary"));
    click("removeAllButton");
    EXPECT_TRUE(selectedNames().isEmpty());
    for (const QString& name : proposedNames()) EXPECT_FALSE(ticked(name)) << name.toStdString();
    // Going on keeps them out.
    click("nextButton");
    EXPECT_TRUE(dialog->assistant().selected(AssistantList::IncomeCategories).empty());
}

TEST_F(AssistantDialogTest, RowsDraggedAcrossAreTakenOverAndGivenBack)
{
    ASSERT_NE(dialog, nullptr);
    nextTo("ASSISTANTSTAGE5");
    ASSERT_TRUE(selectedNames().isEmpty());
    proposed().selectRow(rowOf("House"));
    proposed().setRangeSelected(QTableWidgetSelectionRange(rowOf("Car"), 0, rowOf("Car"), 3), true);
    EXPECT_TRUE(dropOn(selected(), dragged(proposed())));
    EXPECT_EQ(selectedNames(), (QStringList{"Car", "House"}));
    EXPECT_TRUE(ticked("House"));

    // Rows dropped back on the list they came from change nothing.
    selected().clearSelection();
    proposed().clearSelection();
    proposed().selectRow(rowOf("Pension Fund"));
    dropOn(proposed(), dragged(proposed()));
    EXPECT_EQ(selectedNames(), (QStringList{"Car", "House"}));

    selected().findItems("House", Qt::MatchExactly).first()->setSelected(true);
    EXPECT_TRUE(dropOn(proposed(), dragged(selected())));
    EXPECT_EQ(selectedNames(), QStringList{"Car"});
    EXPECT_FALSE(ticked("House"));
    EXPECT_EQ(proposedNames().count("House"), 1);
}

TEST_F(AssistantDialogTest, ABalanceIsReadAndShownAsAnAmount)
{
    ASSERT_NE(dialog, nullptr);
    nextTo("ASSISTANTSTAGE4");
    typeBalance("Checking Account", "1000");
    EXPECT_EQ(proposed().item(rowOf("Checking Account"), 3)->text(), QStringLiteral("1,000.00"));
    EXPECT_TRUE(selected().findItems("Checking Account  (1,000.00)", Qt::MatchExactly).size() == 1)
        << selectedNames().join('|').toStdString();
    // Typed as shown, with the arithmetic of amount fields.
    typeBalance("Checking Account", "1,000.50+1");
    EXPECT_EQ(proposed().item(rowOf("Checking Account"), 3)->text(), QStringLiteral("1,001.50"));
    EXPECT_TRUE(environment.alerts().records().empty());
    // Text that is no amount is refused and the balance kept.
    typeBalance("Checking Account", "12 apples");
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records().front().alert.message, localized("CONVFL"));
    EXPECT_EQ(proposed().item(rowOf("Checking Account"), 3)->text(), QStringLiteral("1,001.50"));
}

TEST_F(AssistantDialogTest, CreateMakesTheBooksThePagesDescribed)
{
    ASSERT_NE(dialog, nullptr);
    nextTo("ASSISTANTSTAGE2");
    typeSearch("proposedSearchField", "swiss");
    tick("Swiss Franc");
    click("nextButton");

    // Own property: the checking account with its balance is the default.
    typeBalance("Checking Account", "1000");
    tick("Checking Account", 4);
    click("nextButton");
    // Assets: the house dragged over.
    proposed().selectRow(rowOf("House"));
    ASSERT_TRUE(dropOn(selected(), dragged(proposed())));
    click("nextButton");
    // Debts: none of those proposed, one of the person's own.
    click("removeAllButton");
    click("addButton");
    auto* name = proposed().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(name, nullptr);
    QTest::keyClicks(name, "Bike Loan");
    QTest::keyClick(name, Qt::Key_Return);
    settle();
    EXPECT_EQ(selectedNames(), QStringList{"Bike Loan"});
    nextTo("ASSISTANTSTAGE13");
    EXPECT_TRUE(outlet<QLabel>("summary")->text().contains("Euro"));

    QTest::mouseClick(outlet<QCheckBox>("doNotShowMeButton"), Qt::LeftButton);
    EXPECT_FALSE(environment.defaults().boolForKey("GXShowNewDocumentAssistant"));
    click("nextButton");
    EXPECT_EQ(controller.assistant(), nullptr);

    MyDocument& made = books();
    EXPECT_TRUE(made.isDocumentEdited());
    EXPECT_NE(made.getCurrencyForSymbol("CHF"), nullptr);
    EXPECT_NE(made.getCurrencyForSymbol("EUR"), nullptr);
    EXPECT_EQ(made.getCurrencyForSymbol("USD"), nullptr);
    CAccount* checking = made.getAccountForName("Checking Account");
    ASSERT_NE(checking, nullptr);
    EXPECT_EQ(long(checking->Get_Id()), made.getDefaultOwnPropertyAccount());
    EXPECT_DOUBLE_EQ(std::abs(checking->Get_mBalance()), 1000.0);
    EXPECT_NE(made.getAccountForName("Cash"), nullptr);
    EXPECT_NE(made.getAccountForName("House"), nullptr);
    EXPECT_EQ(made.getAccountForName("Car"), nullptr);
    EXPECT_EQ(made.getAccountForName("Credit Card"), nullptr);
    EXPECT_NE(made.getAccountForName("Bike Loan"), nullptr);
    EXPECT_NE(made.getAccountForName("Employer"), nullptr);
    EXPECT_NE(made.getExpenseTypeForName("Groceries"), nullptr);
    EXPECT_NE(made.getMasterExpenseTypeForName("Utilities"), nullptr);

    // New transactions start from the default account, Quick Entry's too.
    QuickEntryPane* pane = frame().v2Layout().sideBarView()->quickEntryPane();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->findChild<QComboBox*>("mOurAccountPopup")->currentText().toStdString(), "Checking Account");
    EXPECT_EQ(pane->fields().ourAccount, std::optional<long>(checking->Get_Id()));
}

} // namespace
} // namespace ch::test
