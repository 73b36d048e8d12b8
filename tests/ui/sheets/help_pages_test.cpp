// The help pages against the anchors the program opens: every anchor a help
// button or a sheet can ask for must land on a page that has it, and every
// link between the pages must lead somewhere.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "../../platform/gui/qt_test_application.h"
#include "platform/gui/help_opener.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
namespace {

const std::filesystem::path kHelp = std::filesystem::path(COUNTINGHOUSE_RESOURCES) / "help";
const std::filesystem::path kSources = std::filesystem::path(COUNTINGHOUSE_RESOURCES) / ".." / "src";

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> matches(const std::string& text, const std::regex& pattern)
{
    std::set<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        found.insert((*it)[1].str());
    return found;
}

std::set<std::string> idsOf(const std::filesystem::path& page)
{
    static const std::regex id(R"re(\bid="([^"]+)")re");
    return matches(readFile(page), id);
}

// Every anchor the program can open: the help buttons' table, the sheets'
// default, and the anchors named in the sources (a sheet's own helpAnchor,
// a direct openAnchor call).
std::set<std::string> anchorsTheProgramOpens()
{
    std::set<std::string> anchors;
    for (int tag = -1; tag < 64; ++tag)
        anchors.insert(CPopupWindowAncestor::helpAnchorForTag(tag));
    anchors.insert(CPopupWindowAncestor().helpAnchor());

    static const std::regex ownAnchor(R"re(helpAnchor\(\)\s*const[^{;]*\{\s*return\s*"([^"]+)")re");
    static const std::regex opened(R"re(openAnchor\(\s*"([^"]+)")re");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSources)) {
        const auto extension = entry.path().extension();
        if (extension != ".cpp" && extension != ".h")
            continue;
        const std::string text = readFile(entry.path());
        for (const std::regex* pattern : {&ownAnchor, &opened})
            anchors.merge(matches(text, *pattern));
    }
    return anchors;
}

TEST(HelpPages, EveryAnchorTheProgramOpensIsOnThePageItOpens)
{
    const std::set<std::string> anchors = anchorsTheProgramOpens();
    // The table's own entries and its fall-back are all found.
    for (const char* anchor : {"startPage", "accounts", "discover", "indexpage"})
        EXPECT_TRUE(anchors.count(anchor)) << anchor;

    const HelpOpener help(kHelp);
    for (const std::string& anchor : anchors) {
        const QUrl url = help.urlForAnchor(anchor);
        EXPECT_EQ(url.fragment().toStdString(), anchor);
        const std::filesystem::path page = url.toLocalFile().toStdString();
        EXPECT_TRUE(idsOf(page).count(anchor)) << anchor << " is missing on " << page.filename();
    }
}

TEST(HelpPages, EveryLinkBetweenThePagesLeadsToAPageAndAnchorThatExist)
{
    static const std::regex link(R"re(\bhref="([^"]*)")re");
    std::map<std::string, std::set<std::string>> ids;
    for (const auto& entry : std::filesystem::directory_iterator(kHelp))
        if (entry.path().extension() == ".html")
            ids[entry.path().filename().string()] = idsOf(entry.path());
    ASSERT_TRUE(ids.count("index.html"));

    for (const auto& [page, pageIds] : ids) {
        for (const std::string& target : matches(readFile(kHelp / page), link)) {
            if (target.find("://") != std::string::npos)
                continue;
            const auto hash = target.find('#');
            const std::string file = hash == 0 ? page : target.substr(0, hash);
            ASSERT_TRUE(std::filesystem::is_regular_file(kHelp / file)) << page << " links to " << target;
            if (hash != std::string::npos && file.ends_with(".html")) {
                EXPECT_TRUE(ids[file].count(target.substr(hash + 1))) << page << " links to " << target;
            }
        }
    }
}

// A schedule's date counts as the last copy already made, so the first one
// comes a period later: the help says so, with an example a person can follow.
TEST(HelpPages, RecurringTransactionsHelpSaysTheFirstCopyComesAPeriodAfterTheDate)
{
    const std::string page = readFile(kHelp / "transactions.html");
    const std::size_t start = page.find(R"(id="recurring")");
    ASSERT_NE(start, std::string::npos);
    const std::string section = page.substr(start, page.find("</p>", start) - start);
    std::string text;   // on one line, for phrases broken across source lines
    for (const char c : section) text += c == '\n' ? ' ' : c;
    EXPECT_NE(text.find("counts as the last one already booked"), std::string::npos) << text;
    EXPECT_NE(text.find("the first transaction is made one period after it"), std::string::npos) << text;
}

} // namespace
} // namespace ch
