// Bank statements: command 31 books one line, a file becomes stamped pending
// lines (one import at a time), and booking leaves only the lines that
// refused, each of them booked through the journaled command.

#include <gtest/gtest.h>

#include "document/StatementImport.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "document/commands/CommandJournalReader.h"
#include "document_fixture.h"
#include "platform/core/user_defaults.h"

namespace ch::test {
namespace {

// A line that books the values it holds through the document, or refuses.
class ScriptedLine : public StatementLine {
public:
    ScriptedLine(StatementImport& import, ImportedTransactionValues values) : mImport(import), values(std::move(values))
    {
    }
    std::optional<std::int64_t> importTimeStamp() const override { return stamp; }
    void setImportTimeStamp(std::int64_t value) override { stamp = value; }
    bool autoComplete() override
    {
        ++completions;
        return true;
    }
    void setOwnAccountIdForImport(ObjectIdT accountId) override { ownAccount = accountId; }
    bool import() override { return mImport.importTransaction(values) != nullptr; }

    StatementImport& mImport;
    ImportedTransactionValues values;
    std::optional<std::int64_t> stamp;
    int completions = 0;
    ObjectIdT ownAccount = 0;
};

class ScriptedReader : public StatementReader {
public:
    StatementLines read(const std::string& path, StatementKind kind, const Dictionary* definition) override
    {
        readPaths.push_back(path);
        kinds.push_back(kind);
        definitions.push_back(definition ? std::optional<Dictionary>(*definition) : std::nullopt);
        return lines;
    }
    std::optional<Dictionary> importDefinition(std::string_view title) override
    {
        if (title != "Bank.plist") return std::nullopt;
        return Dictionary{{"A00FileExtension", Value("txt")}};
    }
    StatementLines lines;
    std::vector<std::optional<Dictionary>> definitions;
    std::vector<std::string> readPaths;
    std::vector<StatementKind> kinds;
};

class StatementImportTest : public DocumentTest {
protected:
    StatementImportTest() : reader(std::make_shared<ScriptedReader>()) { import().setReader(reader); }

    StatementImport& import() { return document->statementImport(); }

    ImportedTransactionValues line(const char* name, double amount)
    {
        ImportedTransactionValues values;
        values.name = name;
        values.valueDate = 20090310;
        values.amount = amount;
        values.currencyId = books::kEUR;
        values.fromAccountId = books::kDefaultAccount;
        values.toAccountId = books::kExpenseAccount;
        values.categoryId = books::kExpenseCategory;
        return values;
    }

    std::shared_ptr<ScriptedLine> scripted(const char* name, double amount)
    {
        return std::make_shared<ScriptedLine>(import(), line(name, amount));
    }

    std::shared_ptr<ScriptedReader> reader;
};

TEST_F(StatementImportTest, CommandThirtyOneBooksALineAndAnswersItsTransaction)
{
    struct Case {
        const char* name;
        double amount;
        std::optional<int> type;
        bool made;
    };
    const Case cases[] = {
        {"Groceries", 42.5, std::nullopt, true},
        {"Rent", 700.0, 0, true},
        {"Nothing", 0.0, std::nullopt, false},   // an amount of 0 makes no transaction
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = root().mTransactionList->GetCount();
        ImportedTransactionValues values = line(c.name, c.amount);
        values.transactionType = c.type;
        document->clearChangeCount();
        std::shared_ptr<CTrnSItem> made = import().importTransaction(values);
        ASSERT_EQ(made != nullptr, c.made);
        EXPECT_EQ(document->isDocumentEdited(), c.made);
        if (!c.made) {
            EXPECT_EQ(root().mTransactionList->GetCount(), before);
            continue;
        }
        EXPECT_EQ(made->getName(), c.name);
        EXPECT_EQ(made->mTransactionType(), c.type.value_or(3));
        EXPECT_EQ(document->mTransactionArray().front(), made);
    }
    std::vector<int> journaled;
    for (const auto& item : readCommandJournalFile(document->journalFileName()).items)
        journaled.push_back(item.mCommand);
    // The line of 0 changed nothing: its entry is not kept.
    EXPECT_EQ(journaled, (std::vector<int>{31, 31}));
}

TEST_F(StatementImportTest, AFileBecomesStampedPendingLinesOneImportAtATime)
{
    reader->lines = {scripted("Groceries", 42.5), scripted("Rent", 700.0)};
    EXPECT_TRUE(import().importFile("/statements/march.qif", StatementKind::QIF));
    EXPECT_EQ(UserDefaults::standard().stringForKey("QIFLOCATION"), "/statements");
    ASSERT_EQ(import().mImportedTransactionArray().size(), 2u);
    // The fixed clock, 2009-03-15 14:22:05 UTC: day 74 of 2009.
    const std::int64_t stamp = 9 * 10'000'000L + 74 * 100'000L + 14 * 3600 + 22 * 60 + 5;
    for (const auto& pending : import().mImportedTransactionArray())
        EXPECT_EQ(pending->importTimeStamp(), stamp);

    // Pending lines block the next import.
    reader->lines = {scripted("Other", 1.0)};
    EXPECT_FALSE(import().importFile("/statements/april.ofx", StatementKind::OFX));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{235});
    EXPECT_EQ(reader->readPaths.size(), 1u);
    EXPECT_EQ(import().mImportedTransactionArray().size(), 2u);
}

TEST_F(StatementImportTest, TheStampCountsYearsDaysAndSecondsOfTheLocalTime)
{
    struct Case {
        std::int64_t seconds;
        std::int64_t stamp;
    };
    const Case cases[] = {
        {946684800, 100'000L},                                      // 2000-01-01 00:00:00
        {1237123845, 9 * 10'000'000L + 74 * 100'000L + 13 * 3600 + 30 * 60 + 45},   // 2009-03-15 13:30:45
        {1293839999, 10 * 10'000'000L + 365 * 100'000L + 86399},    // 2010-12-31 23:59:59
    };
    for (const Case& c : cases) EXPECT_EQ(PendingImport::timeStampAt(c.seconds), c.stamp) << c.seconds;

    // Two runs within one second (the clock stands still here) never share a stamp.
    const std::int64_t first = PendingImport::newTimeStamp();
    EXPECT_GT(PendingImport::newTimeStamp(), first);
}

TEST_F(StatementImportTest, DefinitionsAreReadByTitleAndTheOwnAccountReachesEveryLine)
{
    auto groceries = scripted("Groceries", 42.5);
    reader->lines = {groceries};
    EXPECT_FALSE(import().importWithFileDesc("Missing", "/statements/march.txt"));
    EXPECT_TRUE(reader->readPaths.empty());
    ASSERT_TRUE(import().importWithFileDesc("Bank.plist", "/statements/march.txt"));
    ASSERT_EQ(reader->kinds, std::vector<StatementKind>{StatementKind::Definition});
    ASSERT_TRUE(reader->definitions[0]);
    EXPECT_EQ((*reader->definitions[0])["A00FileExtension"], Value("txt"));
    EXPECT_EQ(UserDefaults::standard().stringForKey("DEXIALOCATION"), "/statements");

    import().setOwnAccountIdForImport(books::kDefaultAccount);
    EXPECT_EQ(groceries->ownAccount, books::kDefaultAccount);
}

TEST_F(StatementImportTest, BookingLeavesTheRefusedLinesWithTheirStampsAndAnnouncesOnce)
{
    auto groceries = scripted("Groceries", 42.5);
    auto empty = scripted("Empty", 0.0);
    auto rent = scripted("Rent", 700.0);
    empty->stamp = 123;
    reader->lines = {groceries, empty, rent};
    ASSERT_TRUE(import().importFile("/statements/march.csv", StatementKind::Definition));
    import().completeBankImport();
    EXPECT_EQ(groceries->completions + empty->completions + rent->completions, 3);

    NotificationLog log(document->notificationCenter(), {"TRANSACTIONCREATED"});
    EXPECT_EQ(import().doActualImport(), 2);
    ASSERT_EQ(import().mImportedTransactionArray(), StatementLines{empty});
    EXPECT_EQ(empty->stamp, 123);
    ASSERT_EQ(log.posted.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(log.posted[0].object));
    EXPECT_EQ(document->mTransactionArray().size(), 2u);

    // Cancelled only on OK.
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    EXPECT_FALSE(import().cancelImport());
    EXPECT_TRUE(import().hasPendingLines());
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    EXPECT_TRUE(import().cancelImport());
    EXPECT_FALSE(import().hasPendingLines());
}

} // namespace
} // namespace ch::test
