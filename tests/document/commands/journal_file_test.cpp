// The command journal as a file: the exact bytes the writer appends, the
// owner-only file it creates, rotation to the single backup, and the reader
// that keeps every entry completed before a damaged or missing end.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "../document_test_support.h"
#include "document/commands/CommandJournalReader.h"
#include "document/commands/GXCommandLogger.h"
#include "document/commands/JournalNames.h"

namespace ch::test {
namespace {

const std::string kHeader = "<LogFile created=\"2009-03-15 14:22:05 +0000\">\r\n";

std::string entry(int command, const std::string& parameters, const std::optional<std::string>& object)
{
    std::string text = "<LogEntry timeStamp=\"2009-03-15 14:22:05 +0000\">\r\n\t<CommandNumber>" +
                       std::to_string(command) + "</CommandNumber>\r\n\t<Parameters>" + parameters +
                       "</Parameters>";
    if (object) text += "\r\n\t<Object>" + *object + "</Object>";
    return text + "\r\n</LogEntry>\r\n";
}

class JournalFileTest : public ::testing::Test {
protected:
    DocumentEnvironment environment;
    ScratchFolder folder;
    std::string journal = folder.file("Books.books.log");
};

TEST_F(JournalFileTest, EntriesAreAppendedAfterOneHeaderInAnOwnerOnlyFile)
{
    {
        GXCommandLogger logger(journal);
        logger.logCommand(13, "{ArgumentClass = AccountArguments; name = \"A <&> B\"; }", std::nullopt);
        logger.logCommand(12, "{ArgumentClass = AccountArguments; }", std::string("AcnT15"));
    }
    {
        GXCommandLogger again(journal);
        again.logCommand(29, "", std::string("TrnS7"));
    }
    EXPECT_EQ(readFile(journal),
              kHeader + entry(13, "{ArgumentClass = AccountArguments; name = \"A &lt;&amp;&gt; B\"; }", std::nullopt) +
                  entry(12, "{ArgumentClass = AccountArguments; }", "AcnT15") + entry(29, "", "TrnS7"));
    struct stat info {};
    ASSERT_EQ(stat(journal.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(JournalFileTest, RotationKeepsOneBackupAndSavingTwiceLeavesNothing)
{
    const std::string backup = folder.file("Books.books.~log");
    EXPECT_EQ(backupPathForJournal(journal), backup);
    writeFile(backup, "older backup");

    GXCommandLogger logger(journal);
    logger.logCommand(19, "", std::nullopt);
    logger.clearLogFile();
    EXPECT_FALSE(fileExists(journal));
    EXPECT_EQ(readFile(backup), kHeader + entry(19, "", std::nullopt));

    // A new entry starts a new journal; the next rotation replaces the backup.
    logger.logCommand(32, "", std::nullopt);
    logger.clearLogFile();
    EXPECT_EQ(readFile(backup), kHeader + entry(32, "", std::nullopt));

    // No journal: the backup goes as well.
    logger.clearLogFile();
    EXPECT_FALSE(fileExists(journal));
    EXPECT_FALSE(fileExists(backup));
}

TEST_F(JournalFileTest, WhatTheWriterWritesReadsBack)
{
    {
        GXCommandLogger logger(journal);
        logger.logCommand(30, "{ArgumentClass = CDragAndDropRelocationArgument; name = Drag&Drop; }", std::nullopt);
        logger.logCommand(28, "{ArgumentClass = CDeleteObjectParms; name = \"x > y\"; }", std::string("AcnT15"));
    }
    CommandJournal read = readCommandJournalFile(journal);
    EXPECT_FALSE(read.damaged);
    ASSERT_EQ(read.items.size(), 2u);
    EXPECT_EQ(read.items[0].mCommand, 30);
    EXPECT_EQ(read.items[0].mParameters, "{ArgumentClass = CDragAndDropRelocationArgument; name = Drag&Drop; }");
    EXPECT_EQ(read.items[0].mObject, std::nullopt);
    EXPECT_EQ(read.items[0].parameterName(), "Drag&Drop");
    EXPECT_EQ(read.items[1].mCommand, 28);
    EXPECT_EQ(read.items[1].mParameters, "{ArgumentClass = CDeleteObjectParms; name = \"x > y\"; }");
    EXPECT_EQ(read.items[1].mObject, "AcnT15");
}

// The books' id counters travel with each entry; what is no set of five
// integers reads as none, and the entry stands.
TEST_F(JournalFileTest, TheIdCountersOfAnEntryReadBack)
{
    const IdCounters ids{57, 12, 40, 7, 9};
    {
        GXCommandLogger logger(journal);
        logger.logCommand(17, "{ArgumentClass = CategoryGroupParameters; name = G; }", std::nullopt, ids);
        logger.logCommand(12, "{ArgumentClass = AccountArguments; name = A; }", std::string("AcnT15"), ids);
    }
    const std::string text = readFile(journal);
    EXPECT_NE(text.find("\t<Object>AcnT15</Object>\r\n\t<IdCounters>57 12 40 7 9</IdCounters>\r\n</LogEntry>"),
              std::string::npos)
        << text;
    CommandJournal read = readCommandJournalFile(journal);
    ASSERT_EQ(read.items.size(), 2u);
    EXPECT_EQ(read.items[0].mIdCounters, ids);
    EXPECT_EQ(read.items[1].mIdCounters, ids);

    for (const char* damaged : {"57 12 40 7", "57 12 40 7 9 1", "57 x 40 7 9", "", "99999999999 1 1 1 1"}) {
        const std::string altered = kHeader + "<LogEntry>\r\n\t<CommandNumber>17</CommandNumber>\r\n\t<IdCounters>" +
                                    damaged + "</IdCounters>\r\n</LogEntry>\r\n";
        CommandJournal one = readCommandJournal(altered);
        ASSERT_EQ(one.items.size(), 1u) << damaged;
        EXPECT_EQ(one.items[0].mIdCounters, std::nullopt) << damaged;
    }
}

struct ReaderCase {
    const char* what;
    std::string text;
    std::vector<int> commands;   // the entries read, in order
    bool damaged;
};

TEST(CommandJournalReaderTest, KeepsTheEntriesBeforeTheEndOrTheDamage)
{
    const std::string a = entry(13, "{name = A; }", std::nullopt);
    const std::string b = entry(300, "{name = B; }", std::string("AcnT2"));   // low 8 bits: 44
    const std::vector<ReaderCase> cases = {
        {"unclosed root, the usual end", kHeader + a + b, {13, 44}, false},
        {"root closed after all", kHeader + a + "</LogFile>\r\n", {13}, false},
        {"only the header", kHeader, {}, false},
        {"an empty file", "", {}, false},
        {"cut inside the second entry", kHeader + a + b.substr(0, 60), {13}, true},
        {"cut inside a start tag", kHeader + a + "<LogEnt", {13}, true},
        {"garbage between entries", kHeader + a + "garbage & more\r\n" + b, {13}, true},
        {"an entry without number is no entry", kHeader + "<LogEntry><Parameters>{}</Parameters></LogEntry>\r\n" + a,
         {13}, false},
        {"unknown elements and attributes", kHeader + "<Note kind=\"x\">hello</Note>\r\n" + a, {13}, false},
        {"a document type is refused",
         "<!DOCTYPE LogFile [<!ENTITY e \"13\">]>" + kHeader + "<LogEntry><CommandNumber>&e;</CommandNumber></LogEntry>",
         {}, true},
    };
    for (const ReaderCase& c : cases) {
        CommandJournal read = readCommandJournal(c.text);
        std::vector<int> commands;
        for (const GXCommandHistoryItem& item : read.items) commands.push_back(item.mCommand);
        EXPECT_EQ(commands, c.commands) << c.what;
        EXPECT_EQ(read.damaged, c.damaged) << c.what;
    }
}

TEST(CommandJournalReaderTest, TextIsCollectedWholeAndTrimmed)
{
    CommandJournal read = readCommandJournal(kHeader +
                                             "<LogEntry>\r\n\t<CommandNumber>\r\n  7 </CommandNumber>\r\n"
                                             "\t<Parameters>  {name = \"a &amp; b\"; }\r\n</Parameters>\r\n"
                                             "\t<Object> CurR3 </Object>\r\n</LogEntry>\r\n"
                                             "<LogEntry><CommandNumber>8</CommandNumber><Parameters></Parameters>"
                                             "</LogEntry>");
    ASSERT_EQ(read.items.size(), 2u);
    EXPECT_EQ(read.items[0].mCommand, 7);
    EXPECT_EQ(read.items[0].mParameters, "{name = \"a & b\"; }");
    EXPECT_EQ(read.items[0].mObject, "CurR3");
    // Nothing of the first entry carries over into the second.
    EXPECT_EQ(read.items[1].mParameters, std::nullopt);
    EXPECT_EQ(read.items[1].mObject, std::nullopt);
}

TEST(CommandJournalReaderTest, TheReaderSaysWhereItStopped)
{
    CommandJournal read = readCommandJournal(kHeader + "<LogEntry><CommandNumber>1</Command");
    EXPECT_TRUE(read.damaged);
    EXPECT_EQ(read.errorLine, 2);
    EXPECT_EQ(read.error.rfind("Error ", 0), 0u) << read.error;
    EXPECT_NE(read.error.find(", Line: 2, Column: "), std::string::npos) << read.error;
}

// The reader ends on any input: damaged copies of a journal (bytes changed,
// cut, doubled, and the structures of XML that leave something open) are read
// to an end, and what they give can be shown and replayed without trouble.
TEST(CommandJournalReaderTest, EndsOnAnyDamage)
{
    const std::string journal =
        kHeader + entry(13, "{ArgumentClass = AccountArguments; name = \"Savings\"; accountTypeId = 1; }", std::nullopt) +
        entry(23, "{ArgumentClass = CTransactionArguments; TransactionDetails = {TransactionName = Rent; FromList = ({AccountId = 4; Amount = 80; }); }; }",
              std::nullopt) +
        entry(12, "{ArgumentClass = AccountArguments; name = \"A & B\"; }", std::string("AcnT15"));
    const std::vector<std::string> pieces = {"<",        ">",         "&",          "<LogEntry>", "</LogEntry>",
                                             "<!--",     "-->",       "<![CDATA[",  "]]>",        "<?x ",
                                             "<!DOCTYPE", "&#0;",     "&amp",       "\"",         "{",
                                             "(",        "\\",        "\xFF",       "\xC3",       "<a b=\""};
    std::uint32_t seed = 35;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    std::size_t read = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = journal;
        for (int changes = 1 + int(next() % 4); changes > 0; --changes) {
            const std::size_t at = next() % (text.size() + 1);
            switch (next() % 5) {
            case 0: if (at < text.size()) text[at] = static_cast<char>(next()); break;
            case 1: text.insert(at, pieces[next() % pieces.size()]); break;
            case 2: text.erase(at, next() % 16); break;
            case 3: if (!text.empty()) text.insert(at, text.substr(next() % text.size(), next() % 64)); break;
            default: text.resize(at); break;
            }
        }
        const CommandJournal result = readCommandJournal(text);
        for (const GXCommandHistoryItem& item : result.items) {
            (void)item.deserializedArguments();
            (void)item.parameterName();
            (void)item.commandText();
        }
        read += result.items.size();
    }
    EXPECT_GT(read, 0u);

    // Structures repeated many times over: what is left open never ends.
    for (const std::string& piece : pieces) {
        std::string text = kHeader;
        for (int i = 0; i < 20000; ++i) text += piece;
        const CommandJournal result = readCommandJournal(text);
        EXPECT_TRUE(result.items.empty()) << piece;
    }
}

} // namespace
} // namespace ch::test
