// The file password: which entries the question accepts, and which texts can
// be the password at all (only those that are stored unchanged, so that the
// text typed when setting it always opens the document again).

#include <gtest/gtest.h>

#include "bridge/CPrfRItem.h"
#include "document/DocumentFile.h"
#include "document/FilePassword.h"
#include "document_fixture.h"

namespace ch::test {
namespace {

TEST(FilePassword, TheQuestionAcceptsTheStoredPasswordExactly)
{
    const Dictionary secret{{std::string(kFilePasswordKey), Value("Secret")}};
    const Dictionary empty{{std::string(kFilePasswordKey), Value("")}};
    const Dictionary none;
    struct Case {
        const Dictionary* parameters;
        std::string typed;
        bool accepted;
    };
    const Case cases[] = {
        {&secret, "Secret", true},  {&secret, "secret", false}, {&secret, "Secret ", false},
        {&secret, "", false},       {&empty, "", true},         {&empty, "x", false},
        {&none, "anything", true},  {&none, "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(passwordAccepts(*c.parameters, c.typed), c.accepted) << c.typed;
}

class FilePasswordTest : public DocumentTest {};

TEST_F(FilePasswordTest, OnlyTextsStoredUnchangedCanBeThePassword)
{
    struct Case {
        std::string text;
        bool storable;
    };
    const Case cases[] = {
        {std::string(34, 'p'), true},
        {std::string(35, 'p'), false},
        {"Café crème €", true},      // all in the file's 8-bit encoding
        {"пароль", false},           // not in it: stored as question marks
        {std::string("ab\0cd", 5), false},
        {"", true},
    };
    for (const Case& c : cases) {
        environment.alerts().clear();
        EXPECT_EQ(checkFilePasswordCanBeStored(c.text), c.storable) << c.text;
        EXPECT_EQ(environment.alerts().numbers(), c.storable ? std::vector<long>{} : std::vector<long>{292});
    }
}

TEST_F(FilePasswordTest, AStoredPasswordOpensTheSavedDocument)
{
    EXPECT_FALSE(isPasswordProtected(*document));
    const std::string password = "Grüße 2009!";
    ASSERT_TRUE(checkFilePasswordCanBeStored(password));
    document->mPreference()->setMPassword(password);
    document->mPreference()->setMOtherPasword(password);
    const std::string path = folder.file("Protected.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());

    MyDocument opened(dispatcher);
    ASSERT_TRUE(readFromFile(opened, path).ok());
    EXPECT_TRUE(isPasswordProtected(opened));
    const Dictionary parameters = passwordQuestionParameters(opened);
    EXPECT_TRUE(passwordAccepts(parameters, password));
    EXPECT_FALSE(passwordAccepts(parameters, "grüße 2009!"));
}

} // namespace
} // namespace ch::test
