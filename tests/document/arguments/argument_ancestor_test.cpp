// The argument object base: its text form, the readers that take numbers from
// numbers and texts alike, colours, and rebuilding objects by class name.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/DeveloperLog.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/CArgumentAncestor.h"

namespace ch {
namespace {

// A small argument class of the tests: a text, an id and a colour.
class NoteArguments : public CArgumentAncestor {
public:
    std::optional<std::string> text;
    std::optional<long> objectId;
    std::optional<Colour> colour;

    std::string argumentClass() const override { return "NoteArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override
    {
        if (dictionary["refuse"].toBool())
            return false;
        text = getTextFromDictionary(dictionary, "text");
        objectId = getObjectIdAsNumberFromDictionary(dictionary, "objectId");
        colour = getColorFromDictionary(dictionary, "color");
        return true;
    }

protected:
    void addEntries(Dictionary& dictionary) const override
    {
        putPresent(dictionary, "text", text);
        putPresent(dictionary, "objectId", objectId);
        dumpColor(colour, dictionary, "color");
    }
};

ArgumentClassRegistry noteRegistry()
{
    ArgumentClassRegistry registry;
    registry.add<NoteArguments>();
    return registry;
}

TEST(ArgumentAncestor, NumbersAndBooleansReadFromNumbersAndTextsAlike)
{
    const std::optional<long> absent;
    const struct {
        Value entry; // absent: the key is missing
        std::optional<long> id;
        double floating;
        std::optional<bool> boolean;
    } cases[] = {
        {Value(), absent, 0.0, std::nullopt},
        {"15", 15, 15.0, true},
        {"-1", -1, -1.0, false},
        {"0", 0, 0.0, false},
        {"  42 apples", 42, 42.0, true},
        {"12.75", 12, 12.75, true},
        {"x12", 0, 0.0, false},
        {"", 0, 0.0, false},
        // The largest 32-bit integer, and what an overflowing text reads as, mean no id.
        {"2147483647", absent, 2147483647.0, true},
        {"99999999999", absent, 99999999999.0, true},
        {"-99999999999", std::numeric_limits<std::int32_t>::min(), -99999999999.0, false},
        {"1212121212", absent, 1212121212.0, true},
        {Value(2147483648LL), absent, 2147483648.0, true},
        {Value(-3.9), -3, -3.9, true},
        {Value(true), 1, 1.0, true},
        {Value(false), 0, 0.0, false},
        {"Yes", 0, 0.0, true},
        {"y", 0, 0.0, true},
        {"T", 0, 0.0, true},
        {" true", 0, 0.0, true},
        {"No", 0, 0.0, false},
        {"False", 0, 0.0, false},
        {" 9", 9, 9.0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.isAbsent() ? "missing" : c.entry.toString());
        Dictionary dictionary;
        if (!c.entry.isAbsent())
            dictionary.set("key", c.entry);
        EXPECT_EQ(CArgumentAncestor::getObjectIdAsNumberFromDictionary(dictionary, "key"), c.id);
        EXPECT_EQ(CArgumentAncestor::getObjectIdFromDictionary(dictionary, "key"),
                  c.id.value_or(CArgumentAncestor::kMissingId));
        EXPECT_EQ(CArgumentAncestor::geDoubleFromDictionary(dictionary, "key"), c.floating);
        EXPECT_EQ(CArgumentAncestor::getBooleanFromDictionary(dictionary, "key"), c.boolean);
    }
}

TEST(ArgumentAncestor, TextFormNamesTheClassFirstAndQuotesWhatIsNotBare)
{
    const struct {
        std::optional<std::string> text;
        std::string written;
    } cases[] = {
        {std::nullopt, "{ArgumentClass = NoteArguments; }"},
        {"Savings", "{ArgumentClass = NoteArguments; text = Savings; }"},
        {"a b", R"({ArgumentClass = NoteArguments; text = "a b"; })"},
        {"say \"hi\"; then", R"({ArgumentClass = NoteArguments; text = "say \"hi\"; then"; })"},
        {"", R"({ArgumentClass = NoteArguments; text = ""; })"},
        {"Zürich", "{ArgumentClass = NoteArguments; text = \"Zürich\"; }"},
    };
    const ArgumentClassRegistry registry = noteRegistry();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        NoteArguments note;
        note.text = c.text;
        EXPECT_EQ(note.toText(), c.written);
        const auto back = CArgumentAncestor::fromText(c.written, registry);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(static_cast<NoteArguments&>(*back).text, c.text);
    }
}

TEST(ArgumentAncestor, ReadsEscapedCharactersInEitherForm)
{
    NoteArguments note;
    ASSERT_TRUE(note.recoverFromString(R"({ArgumentClass = NoteArguments; text = "caf\U00e9 \"1\"\n"; })"));
    EXPECT_EQ(note.text, "café \"1\"\n");
}

TEST(ArgumentAncestor, ColoursKeepTheirSinglePrecisionComponents)
{
    const Colour colours[] = {{0.2, 0.4, 0.6, 1.0}, {1.0 / 3.0, 0.0, 1.0, 0.5}, Colour::white()};
    for (const Colour& colour : colours) {
        NoteArguments note;
        note.colour = colour;
        NoteArguments back;
        ASSERT_TRUE(back.recoverFromString(note.toText()));
        ASSERT_TRUE(back.colour);
        EXPECT_EQ(float(back.colour->red), float(colour.red));
        EXPECT_EQ(float(back.colour->green), float(colour.green));
        EXPECT_EQ(float(back.colour->blue), float(colour.blue));
        EXPECT_EQ(float(back.colour->alpha), float(colour.alpha));
    }
    NoteArguments note;
    note.colour = Colour{0.2, 0.4, 0.6, 1.0};
    EXPECT_EQ(note.toText(),
              "{ArgumentClass = NoteArguments; color = {alpha = 1; blue = 0.6; green = 0.4; red = 0.2; }; }");

    Dictionary dictionary;
    EXPECT_FALSE(CArgumentAncestor::dumpColor(std::nullopt, dictionary, "color"));
    EXPECT_TRUE(dictionary.empty());
    EXPECT_EQ(CArgumentAncestor::getColorFromDictionary(dictionary, "color"), std::nullopt);
}

TEST(ArgumentAncestor, RebuildsOnlyReadableTextsOfKnownClasses)
{
    const ArgumentClassRegistry registry = noteRegistry();
    const struct {
        const char* text;
        bool rebuilt;
        bool logged;
    } cases[] = {
        {"{ArgumentClass = NoteArguments; objectId = 15; text = Rent; }", true, false},
        {"{ objectId = 15 ; ArgumentClass = \"NoteArguments\"; }", true, false},
        {"{ArgumentClass = OtherArguments; text = Rent; }", false, false},
        {"{text = Rent; }", false, false},
        {"{ArgumentClass = (NoteArguments); }", false, false},
        {"{ArgumentClass = NoteArguments; refuse = 1; }", false, false},
        {"(NoteArguments)", false, true},
        {"{ArgumentClass = NoteArguments; text = \"Rent; }", false, true},
        {"", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> log;
        ScopedDeveloperLogCapture capture([&](const std::string& line) { log.push_back(line); });
        const auto object = CArgumentAncestor::fromText(c.text, registry);
        EXPECT_EQ(object != nullptr, c.rebuilt);
        EXPECT_EQ(!log.empty(), c.logged);
        if (object) {
            EXPECT_EQ(static_cast<NoteArguments&>(*object).objectId, 15);
        }
    }
    EXPECT_EQ(CArgumentAncestor::fromDictionary(Value("NoteArguments"), registry), nullptr);
}

TEST(ArgumentAncestor, UnreadableTextChangesNothingAndIsLogged)
{
    NoteArguments note;
    note.text = "Rent";
    note.objectId = 15;
    std::vector<std::string> log;
    ScopedDeveloperLogCapture capture([&](const std::string& line) { log.push_back(line); });

    EXPECT_FALSE(note.recoverFromString("{ArgumentClass = NoteArguments; text = "));
    EXPECT_EQ(note.text, "Rent");
    EXPECT_EQ(note.objectId, 15);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("{ArgumentClass = NoteArguments; text = "), std::string::npos);

    // A readable text sets every field, so a missing key leaves its field absent.
    EXPECT_TRUE(note.recoverFromString("{ArgumentClass = NoteArguments; text = Gas; }"));
    EXPECT_EQ(note.text, "Gas");
    EXPECT_EQ(note.objectId, std::nullopt);
}

TEST(ArgumentClassRegistry, MakesEmptyObjectsOfRegisteredNamesOnly)
{
    ArgumentClassRegistry registry;
    EXPECT_EQ(registry.make("NoteArguments"), nullptr);
    registry.add<NoteArguments>();
    const auto made = registry.make("NoteArguments");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->argumentClass(), "NoteArguments");
    EXPECT_EQ(made->toText(), "{ArgumentClass = NoteArguments; }");
    EXPECT_EQ(registry.make("noteArguments"), nullptr);
    EXPECT_EQ(registry.classNames(), std::vector<std::string>{"NoteArguments"});
}

} // namespace
} // namespace ch
