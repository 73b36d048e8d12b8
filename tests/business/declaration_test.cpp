// The VAT declaration file: well-formed XML naming the declarant and
// carrying the VAT balance of the declared range, written whole or not at all.

#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "bridge/DeveloperLog.h"
#include "business/InterVATBuilder.h"
#include "business/VATPeriods.h"
#include "business_test_support.h"

namespace ch::business {
namespace {

namespace fs = std::filesystem;
using test::BusinessTest;

// A parsed declaration; the tree is checked by libxml2 for well-formedness.
class ParsedXml {
public:
    explicit ParsedXml(const std::string& bytes)
        : mDocument(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOBLANKS))
    {
    }
    ~ParsedXml() { xmlFreeDoc(mDocument); }
    ParsedXml(const ParsedXml&) = delete;
    ParsedXml& operator=(const ParsedXml&) = delete;

    bool wellFormed() const { return mDocument != nullptr; }
    xmlNodePtr root() const { return xmlDocGetRootElement(mDocument); }

    static std::string name(xmlNodePtr node) { return reinterpret_cast<const char*>(node->name); }
    static std::vector<xmlNodePtr> children(xmlNodePtr node)
    {
        std::vector<xmlNodePtr> elements;
        for (xmlNodePtr child = node ? node->children : nullptr; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                elements.push_back(child);
        return elements;
    }
    static std::vector<std::string> childNames(xmlNodePtr node)
    {
        std::vector<std::string> names;
        for (xmlNodePtr child : children(node))
            names.push_back(name(child));
        return names;
    }
    static std::string text(xmlNodePtr node)
    {
        xmlChar* content = xmlNodeGetContent(node);
        std::string result = content ? reinterpret_cast<const char*>(content) : "";
        xmlFree(content);
        return result;
    }
    static xmlNodePtr child(xmlNodePtr node, const std::string& wanted)
    {
        for (xmlNodePtr element : children(node))
            if (name(element) == wanted)
                return element;
        return nullptr;
    }

private:
    xmlDocPtr mDocument;
};

class DeclarationTest : public BusinessTest {
protected:
    void SetUp() override
    {
        mFolder = fs::path(testing::TempDir()) / ("ch_declaration_" + std::to_string(getpid()));
        fs::remove_all(mFolder);
        fs::create_directories(mFolder);
    }
    void TearDown() override { fs::remove_all(mFolder); }

    void setOwner(const char* name, std::optional<std::string_view> vatNumber)
    {
        CAccountOwner* me = document.books.root().Get_Me();
        me->Put_StringrefName(std::string_view(name));
        me->Put_mCFVATNr(vatNumber);
    }
    static std::string read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    fs::path mFolder;
};

TEST_F(DeclarationTest, TheDeclarerIsTheOwnOwnerWithTheFixedTextsAfterIt)
{
    struct Case {
        const char* name;
        std::optional<std::string_view> vatNumber;
        std::vector<std::string> children;
        const char* writtenName;
    };
    const std::vector<std::string> all{"VATNUMBER", "NAME", "ADDRESS", "POSTCODE", "CITY", "SENDINGREFERENCE"};
    const Case cases[] = {
        {"Smith & Sons <Ltd>", "BE0123456789", all, "Smith & Sons <Ltd>"},
        {"Smith & Sons", std::nullopt, {all.begin() + 1, all.end()}, "Smith & Sons"},
        {"Bell\x07 \xE2\x82\xAC", "", {all.begin() + 1, all.end()}, "Bell \xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setOwner(c.name, c.vatNumber);
        const std::string bytes = InterVATBuilder(&document).buildInterVatDocument();
        EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << bytes;
        ParsedXml xml(bytes);
        ASSERT_TRUE(xml.wellFormed()) << bytes;
        ASSERT_EQ(ParsedXml::name(xml.root()), "VATSENDING");
        EXPECT_EQ(ParsedXml::childNames(xml.root()), (std::vector<std::string>{"DECLARER", "DECLARATION"}));
        xmlNodePtr declarer = ParsedXml::child(xml.root(), "DECLARER");
        EXPECT_EQ(ParsedXml::childNames(declarer), c.children);
        EXPECT_EQ(ParsedXml::text(ParsedXml::child(declarer, "NAME")), c.writtenName);
        EXPECT_EQ(ParsedXml::text(ParsedXml::child(declarer, "SENDINGREFERENCE")), "referentie");
        EXPECT_EQ(ParsedXml::text(ParsedXml::child(declarer, "CITY")), "City");
        if (c.vatNumber && !c.vatNumber->empty()) {
            EXPECT_EQ(ParsedXml::text(ParsedXml::child(declarer, "VATNUMBER")), *c.vatNumber);
        }
        EXPECT_EQ(bytes.find("Smith & "), std::string::npos); // escaped
        // Pretty-printed: one element per line.
        EXPECT_NE(bytes.find("\n  <DECLARER>\n    <"), std::string::npos) << bytes;
    }
}

TEST_F(DeclarationTest, TheDeclarationCarriesTheBalanceOfTheRangeOrOfTheRetainedRate)
{
    document.addAccount(80, 1, "VAT paid", 1);
    document.addAccount(81, 2, "VAT received", 1);
    document.addAccount(82, 1, "Reduced VAT paid", 1);
    document.addOwner(61, "Supplier");
    document.addAccount(72, 2, "Supplier account", 61);
    auto rate = [&](ObjectIdT paid, ObjectIdT received) {
        auto made = std::make_shared<GXVATRate>(&document);
        made->setAccountIdPaid(paid);
        made->setAccountIdReceived(received);
        document.arrays.VATRateArray.push_back(made);
        return made;
    };
    const auto standard = rate(80, 81);
    const auto reduced = rate(82, 83);
    document.addTransfer(20070110, 72, 80, 1234.565);
    document.addTransfer(20070112, 80, 72, 0.10);
    document.addTransfer(20070115, 81, 72, 900.00);
    document.addTransfer(20070120, 72, 82, 60.00);
    document.addTransfer(20070401, 72, 80, 500.00); // after the range

    InterVATBuilder builder(&document);
    builder.setStartDate(20070101);
    builder.setEndDate(20070331);
    const VATFigures balance = calculateVATBalanceInPeriod(document, 20070101, 20070331);
    for (const bool retained : {false, true}) {
        SCOPED_TRACE(retained);
        if (retained)
            builder.setRateToRetain(reduced);
        ParsedXml xml(builder.buildInterVatDocument());
        ASSERT_TRUE(xml.wellFormed());
        xmlNodePtr declaration = ParsedXml::child(xml.root(), "DECLARATION");
        EXPECT_EQ(ParsedXml::childNames(declaration),
                  (std::vector<std::string>{"STARTDATE", "ENDDATE", "VATPAID", "VATPAIDCANCELLED", "VATRECEIVED",
                                            "VATRECEIVEDCANCELLED", "VATPREPAID"}));
        auto figure = [&](const char* element) {
            return std::stod(ParsedXml::text(ParsedXml::child(declaration, element)));
        };
        const VATFigures expected = retained ? reduced->getBalanceInPeriod(20070101, 20070331) : balance;
        EXPECT_NEAR(figure("VATPAID"), expected.paid, 0.005);
        EXPECT_NEAR(figure("VATPAIDCANCELLED"), expected.paidCancelled, 0.005);
        EXPECT_NEAR(figure("VATRECEIVED"), expected.received, 0.005);
        EXPECT_NEAR(figure("VATRECEIVEDCANCELLED"), expected.receivedCancelled, 0.005);
        EXPECT_NEAR(figure("VATPREPAID"), expected.prepaid, 0.005);
        EXPECT_EQ(ParsedXml::text(ParsedXml::child(declaration, "STARTDATE")), "2007-01-01");
        EXPECT_EQ(ParsedXml::text(ParsedXml::child(declaration, "ENDDATE")), "2007-03-31");
        if (!retained) {
            EXPECT_EQ(ParsedXml::text(ParsedXml::child(declaration, "VATPAID")), "1294.57");
            EXPECT_EQ(ParsedXml::text(ParsedXml::child(declaration, "VATRECEIVED")), "900.00");
        }
    }
    EXPECT_GT(standard->getBalanceInPeriod(20070101, 20070331).paid, 0.0);
}

TEST_F(DeclarationTest, AFileIsReplacedWholeAndAFailedWriteIsReportedAndChangesNothing)
{
    setOwner("Smith", "BE0123456789");
    InterVATBuilder builder(&document);
    const fs::path target = mFolder / "declaration.XML";
    std::ofstream(target) << std::string(100000, 'x');
    ASSERT_TRUE(builder.buildInterVatFileWithName(target));
    EXPECT_EQ(read(target), builder.buildInterVatDocument());
    EXPECT_TRUE(environment.alerts().numbers().empty());

    std::vector<std::string> developerLines;
    ScopedDeveloperLogCapture capture([&](const std::string& line) { developerLines.push_back(line); });
    const fs::path taken = mFolder / "taken.XML";
    fs::create_directories(taken / "inside");
    EXPECT_FALSE(builder.buildInterVatFileWithName(taken));
    EXPECT_FALSE(builder.buildInterVatFileWithName(mFolder / "no such folder" / "declaration.XML"));
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{kDeclarationNotWrittenError,
                                                                 kDeclarationNotWrittenError}));
    ASSERT_EQ(developerLines.size(), 2u);
    EXPECT_EQ(developerLines[0].rfind("Could not write document out...", 0), 0u);
    EXPECT_TRUE(fs::is_directory(taken / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(mFolder), fs::directory_iterator()), 2);
}

} // namespace
} // namespace ch::business
