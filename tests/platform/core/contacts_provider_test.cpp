#include "platform/core/contacts_provider.h"

#include <gtest/gtest.h>

#include <map>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace ch {
namespace {

namespace fs = std::filesystem;

// "Hi" as PNG-like bytes is enough to see the decoder work.
constexpr const char* kCompanyCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "UID:1111-AAAA:ABPerson\r\n"
    "N:Janssens;Piet;;;\r\n"
    "FN:Piet Janssens\r\n"
    "ORG:Janssens\\, Peeters & Co;Sales\r\n"
    "X-ABShowAs:COMPANY\r\n"
    "item1.TEL;type=WORK;type=FAX:+32 2 111 11 11\r\n"
    "TEL;TYPE=CELL,pref:+32 475 22 22 22\r\n"
    "EMAIL;TYPE=INTERNET:piet@example.org\r\n"
    "EMAIL;TYPE=INTERNET;TYPE=pref:sales@exam\r\n"
    " ple.org\r\n"
    "ADR;TYPE=WORK:;;Kerkstraat 1\\nbus 2;Gent;;9000;Belgium\r\n"
    "ADR;TYPE=HOME,pref:;;Dorpsplein 3;Aalst;Oost-Vlaanderen;9300;Belgium\r\n"
    "PHOTO;ENCODING=b;TYPE=PNG:SGk=\r\n"
    "END:VCARD\r\n";

TEST(VCardTest, ReadsTheFieldsAnOwnerCopies)
{
    const std::vector<ContactPerson> people = parseVCards(kCompanyCard);
    ASSERT_EQ(people.size(), 1u);
    const ContactPerson& person = people[0];
    EXPECT_EQ(person.uid, "1111-AAAA:ABPerson");
    EXPECT_EQ(person.flags & ContactPerson::kShowAsMask, ContactPerson::kShowAsCompany);
    EXPECT_EQ(person.firstName, "Piet");
    EXPECT_EQ(person.lastName, "Janssens");
    EXPECT_EQ(person.organization, "Janssens, Peeters & Co");
    ASSERT_NE(person.primaryPhone(), nullptr);
    EXPECT_EQ(person.primaryPhone()->value, "+32 475 22 22 22");
    ASSERT_NE(person.faxNumber(), nullptr);
    EXPECT_EQ(person.faxNumber()->value, "+32 2 111 11 11");
    ASSERT_NE(person.primaryEmail(), nullptr);
    EXPECT_EQ(person.primaryEmail()->value, "sales@example.org");   // folded line joined
    ASSERT_NE(person.primaryAddress(), nullptr);
    EXPECT_EQ(formatAddress(*person.primaryAddress()), "Dorpsplein 3\n9300 Aalst\nOost-Vlaanderen\nBelgium");
    EXPECT_EQ(formatAddress(person.addresses[0]), "Kerkstraat 1\nbus 2\n9000 Gent\nBelgium");
    EXPECT_EQ(person.imageData, (std::vector<std::uint8_t>{'H', 'i'}));
}

TEST(VCardTest, PrimaryEntriesAndFaxFallBackInOrder)
{
    const std::vector<ContactPerson> people = parseVCards(
        "BEGIN:VCARD\nVERSION:4.0\nUID:p2\nKIND:individual\n"
        "TEL;TYPE=work,fax:1\nTEL;TYPE=home,fax:2\nTEL;VALUE=uri:tel:+3\n"
        "EMAIL:first@example.org\nEMAIL:second@example.org\nEND:VCARD\n");
    ASSERT_EQ(people.size(), 1u);
    const ContactPerson& person = people[0];
    EXPECT_EQ(person.flags, ContactPerson::kShowAsPerson);
    EXPECT_EQ(person.primaryPhone()->value, "1");        // nothing preferred: the first
    EXPECT_EQ(person.faxNumber()->value, "2");           // home fax before work fax
    EXPECT_EQ(person.phones[2].value, "+3");
    EXPECT_EQ(person.primaryEmail()->value, "first@example.org");
    EXPECT_EQ(person.primaryAddress(), nullptr);
}

TEST(VCardTest, ReadsOldStyleCardsInTheWindowsCodePage)
{
    // vCard 2.1: bare type words, a quoted-printable value with a soft break,
    // and a name in Windows-1252 ("Ren\xE9").
    const std::string card =
        "BEGIN:VCARD\r\nVERSION:2.1\r\nUID:old\r\nN:Dupont;Ren\xE9\r\n"
        "TEL;WORK;FAX;PREF:555\r\n"
        "ADR;HOME;ENCODING=QUOTED-PRINTABLE:;;Rue Haute 5=0D=0A=\r\nEtage 2;Bruxelles;;1000;\r\n"
        "END:VCARD\r\n";
    const std::vector<ContactPerson> people = parseVCards(card);
    ASSERT_EQ(people.size(), 1u);
    EXPECT_EQ(people[0].firstName, "Ren\xC3\xA9");
    EXPECT_TRUE(people[0].phones[0].isWorkFax());
    EXPECT_TRUE(people[0].phones[0].preferred);
    EXPECT_EQ(people[0].addresses[0].street, "Rue Haute 5\r\nEtage 2");
    EXPECT_EQ(people[0].addresses[0].city, "Bruxelles");
}

TEST(VCardTest, HostileTextNeverBreaksTheReader)
{
    // Cut-off cards, nesting, empty names and random bytes: no crash, and
    // only complete top-level cards count.
    EXPECT_TRUE(parseVCards("").empty());
    EXPECT_TRUE(parseVCards("BEGIN:VCARD\nUID:x\n").empty());
    EXPECT_EQ(parseVCards("END:VCARD\nBEGIN:VCARD\nAGENT:\nBEGIN:VCARD\nUID:inner\nEND:VCARD\n"
                          "UID:outer\nEND:VCARD\n")
                  .at(0)
                  .uid,
              "outer");
    std::string deep;
    for (int i = 0; i < 100; ++i) deep += "BEGIN:VCARD\n";
    EXPECT_TRUE(parseVCards(deep).empty());
    EXPECT_TRUE(parseVCards(":\n;:\n.:\nTEL;TYPE=\"a:b\nPHOTO;ENCODING=b:====\n").empty());

    std::mt19937 random(7);
    const std::string base(kCompanyCard);
    for (int round = 0; round < 300; ++round) {
        std::string text = base.substr(0, random() % base.size());
        for (int flips = random() % 8; flips > 0 && !text.empty(); --flips)
            text[random() % text.size()] = static_cast<char>(random() % 256);
        (void)parseVCards(text);
    }
}

class VCardFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        mDir = fs::path(testing::TempDir()) / ("ch_contacts_" + std::to_string(getpid()));
        fs::remove_all(mDir);
        fs::create_directories(mDir);
    }
    void TearDown() override { fs::remove_all(mDir); }
    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(mDir / name, std::ios::binary) << bytes;
    }

    fs::path mDir;
};

TEST_F(VCardFolderTest, FindsPeopleByUidAndSignalsChanges)
{
    write("a.vcf", kCompanyCard);
    write("notes.txt", "BEGIN:VCARD\nUID:ignored\nEND:VCARD\n");
    VCardFolderContacts contacts(mDir);
    EXPECT_EQ(contacts.people().size(), 1u);
    EXPECT_TRUE(contacts.personWithUID("1111-AAAA:ABPerson"));
    EXPECT_FALSE(contacts.personWithUID("ignored"));

    int signals = 0;
    Subscription subscription = contacts.observeChanges([&] { ++signals; });
    EXPECT_FALSE(contacts.reload());
    EXPECT_EQ(signals, 0);

    write("b.VCARD", "BEGIN:VCARD\nUID:new\nN:New;Person\nEND:VCARD\n");
    EXPECT_TRUE(contacts.reload());
    EXPECT_EQ(signals, 1);
    EXPECT_EQ(contacts.personWithUID("new")->lastName, "New");

    fs::remove(mDir / "a.vcf");
    EXPECT_TRUE(contacts.reload());
    EXPECT_FALSE(contacts.personWithUID("1111-AAAA:ABPerson"));
}

// Cards written without UID are known by their file, so that an owner can
// link to them; where that would not tell one card from another (two such
// cards of one name in a file, two files whose names differ only in case,
// the UID of another card) the card gets no identity at all.
TEST_F(VCardFolderTest, CardsWithoutUIDAreKnownByTheirFile)
{
    auto card = [](const char* name, const char* uid = nullptr) {
        std::string text = "BEGIN:VCARD\nVERSION:3.0\n";
        if (uid) text += std::string("UID:") + uid + "\n";
        return text + "FN:" + name + "\nN:" + name + ";;;;\nEND:VCARD\n";
    };
    write("bolt.vcf", card("Bolt"));
    write("team.vcf", card("Anna") + card("Ben") + card("Carl", "CARL-1"));
    write("twins.vcf", card("Dee") + card("Dee"));
    write("Case.vcf", card("Eve"));
    write("case.vcf", card("Fay"));
    write("imposter.vcf", card("Gus", "file:bolt.VCF"));
    VCardFolderContacts contacts(mDir);
    std::map<std::string, std::string> identities;
    for (const ContactPerson& person : contacts.people()) identities[person.lastName] += person.uid;
    const std::map<std::string, std::string> expected = {
        {"Bolt", ""}, {"Anna", "file:team.vcf#Anna"}, {"Ben", "file:team.vcf#Ben"}, {"Carl", "CARL-1"},
        {"Dee", ""},  {"Eve", ""},                   {"Fay", ""},                  {"Gus", "file:bolt.VCF"}};
    EXPECT_EQ(identities, expected);

    // Without the card that claims its name, the file names its card; the
    // card is found by it, and its file opens.
    fs::remove(mDir / "imposter.vcf");
    ASSERT_TRUE(contacts.reload());
    ASSERT_TRUE(contacts.personWithUID("file:bolt.vcf"));
    EXPECT_EQ(contacts.personWithUID("file:bolt.vcf")->lastName, "Bolt");
    EXPECT_EQ(contacts.cardFileOf("file:bolt.vcf"), mDir / "bolt.vcf");
    // Cards of one file that change places keep their identities.
    write("team.vcf", card("Ben") + card("Anna"));
    ASSERT_TRUE(contacts.reload());
    EXPECT_EQ(contacts.personWithUID("file:team.vcf#Anna")->lastName, "Anna");
    EXPECT_EQ(contacts.personWithUID("file:team.vcf#Ben")->lastName, "Ben");
}

TEST_F(VCardFolderTest, SkipsFilesAboveTheLimitAndMissingFolders)
{
    std::string big = "BEGIN:VCARD\nUID:big\nNOTE:";
    big.append(VCardFolderContacts::kMaxFileBytes, 'x');
    big += "\nEND:VCARD\n";
    write("big.vcf", big);
    EXPECT_TRUE(VCardFolderContacts(mDir).people().empty());
    EXPECT_TRUE(VCardFolderContacts(mDir / "missing").people().empty());
}

TEST(VCardFolderDefaultTest, FollowsXdgDataHome)
{
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::string saved = previous ? previous : "";
    setenv("XDG_DATA_HOME", "/tmp/xdg-data", 1);
    EXPECT_EQ(VCardFolderContacts::defaultFolder(), fs::path("/tmp/xdg-data/countinghouse/contacts"));
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_NE(VCardFolderContacts::defaultFolder(), fs::path("relative/countinghouse/contacts"));
    if (previous) setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace ch
