// Every key the code asks the strings table for is in it: a missing key shows
// users the raw key ("Garage Smith:CUSTOMEROPENINVOICE") or a bare number.
//
// The sources are read as tokens, not compiled. What counts as a key:
// - the key argument of a lookup: `localized`, `CLocalize::LocalizedName` and
//   `LocalizedDesc`, and the numbered messages of `RaiseError`, `RaiseInfo`
//   and `AskQuestion`;
// - the same argument of every function or lambda that hands one of its
//   parameters on to a lookup, alone or with a literal suffix ("DESC"); such a
//   helper counts in its own file and in the files that include its header;
// - as that argument: a string literal, a message number, a named constant
//   (`kPasswordCannotBeStored = 292`, a literal text), an element of a literal
//   array (`kKeys[i]`) or the variable of a range-for over a literal list.
// Keys computed at run time (table fields, formatted numbers) are not seen.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/localized_strings.h"

namespace ch {
namespace {

namespace fs = std::filesystem;

enum class Kind { Identifier, Number, String, Punct };

struct Token {
    Kind kind;
    std::string text;   // a string literal's text without its quotes
    int line;
};

bool identifierStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool identifierChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Comments and preprocessor lines are dropped; literals keep their text.
std::vector<Token> tokenize(const std::string& s)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    int line = 1;
    bool lineStart = true;
    auto advanceTo = [&](std::size_t end) {
        for (; i < end && i < s.size(); ++i)
            if (s[i] == '\n') ++line;
    };
    while (i < s.size()) {
        const char c = s[i];
        if (c == '\n') {
            ++line;
            ++i;
            lineStart = true;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '#' && lineStart) {
            while (i < s.size() && s[i] != '\n') {
                if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\n') ++line, ++i;
                ++i;
            }
            continue;
        }
        lineStart = false;
        if (s.compare(i, 2, "//") == 0) {
            while (i < s.size() && s[i] != '\n') ++i;
            continue;
        }
        if (s.compare(i, 2, "/*") == 0) {
            const std::size_t end = s.find("*/", i + 2);
            advanceTo(end == std::string::npos ? s.size() : end + 2);
            continue;
        }
        if (c == 'R' && i + 1 < s.size() && s[i + 1] == '"') {
            const std::size_t open = s.find('(', i + 2);
            if (open == std::string::npos) break;
            const std::string closing = ")" + s.substr(i + 2, open - i - 2) + "\"";
            const std::size_t end = s.find(closing, open);
            const std::size_t stop = end == std::string::npos ? s.size() : end;
            tokens.push_back({Kind::String, s.substr(open + 1, stop - open - 1), line});
            advanceTo(stop + closing.size());
            continue;
        }
        if (c == '"' || c == '\'') {
            std::string text;
            std::size_t j = i + 1;
            for (; j < s.size() && s[j] != c && s[j] != '\n'; ++j) {
                if (s[j] == '\\' && j + 1 < s.size()) ++j;
                text += s[j];
            }
            if (c == '"') tokens.push_back({Kind::String, text, line});
            i = j + 1;
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t j = i;
            while (j < s.size() && (identifierChar(s[j]) || s[j] == '.' || s[j] == '\'')) ++j;
            tokens.push_back({Kind::Number, s.substr(i, j - i), line});
            i = j;
            continue;
        }
        if (identifierStart(c)) {
            std::size_t j = i;
            while (j < s.size() && identifierChar(s[j])) ++j;
            // An encoding prefix belongs to the literal that follows.
            const std::string word = s.substr(i, j - i);
            if (j < s.size() && s[j] == '"' && (word == "u8" || word == "u" || word == "U" || word == "L")) {
                i = j;
                continue;
            }
            tokens.push_back({Kind::Identifier, word, line});
            i = j;
            continue;
        }
        if (s.compare(i, 2, "::") == 0 || s.compare(i, 2, "->") == 0) {
            tokens.push_back({Kind::Punct, s.substr(i, 2), line});
            i += 2;
            continue;
        }
        tokens.push_back({Kind::Punct, std::string(1, c), line});
        ++i;
    }
    return tokens;
}

// A lookup: the position of its key argument and the suffixes added to it.
struct Lookup {
    std::size_t argument = 0;
    std::set<std::string> suffixes;
};
using Lookups = std::map<std::string, Lookup>;

struct Range {
    std::size_t begin;   // first token
    std::size_t end;     // one past the last
};

// A range-for over a literal list: its variable takes those values in its body.
struct LiteralLoop {
    std::string variable;
    std::vector<std::string> values;
    Range body;
};

// A function or lambda with a body.
struct Definition {
    std::string name;
    std::vector<std::string> parameters;
    Range body;
};

class SourceFile {
public:
    SourceFile(fs::path path, const std::string& text) : mPath(std::move(path)), mTokens(tokenize(text))
    {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("#include \"", 0) != 0) continue;
            const std::string header = line.substr(10, line.find('"', 10) - 10);
            mIncluded.insert(fs::path(header).stem().string());
        }
        matchBrackets();
        findDefinitions();
        findLiteralLoopsAndConstants();
    }

    const fs::path& path() const { return mPath; }
    const std::vector<Token>& tokens() const { return mTokens; }
    const std::vector<Definition>& definitions() const { return mDefinitions; }
    const std::map<std::string, std::vector<std::string>>& textConstants() const { return mTextConstants; }
    const std::map<std::string, std::string>& numberConstants() const { return mNumberConstants; }
    // The names of the headers it includes, without folder and extension.
    const std::set<std::string>& included() const { return mIncluded; }

    bool is(std::size_t i, std::string_view text) const { return i < mTokens.size() && mTokens[i].text == text; }
    bool isPunct(std::size_t i, std::string_view text) const
    {
        return i < mTokens.size() && mTokens[i].kind == Kind::Punct && mTokens[i].text == text;
    }
    std::size_t closing(std::size_t open) const { return mMatch[open]; }

    // The top-level arguments between an opening bracket and its match.
    std::vector<Range> arguments(std::size_t open) const
    {
        std::vector<Range> out;
        const std::size_t close = mMatch[open];
        if (close == npos) return out;
        std::size_t start = open + 1;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (mMatch[i] != npos && mMatch[i] > i) {
                i = mMatch[i];
            } else if (isPunct(i, ",")) {
                out.push_back({start, i});
                start = i + 1;
            }
        }
        if (start < close) out.push_back({start, close});
        return out;
    }

    // The values a variable of a literal loop has at a token, if any.
    const std::vector<std::string>* loopValues(const std::string& variable, std::size_t at) const
    {
        const LiteralLoop* inner = nullptr;
        for (const LiteralLoop& loop : mLoops)
            if (loop.variable == variable && loop.body.begin <= at && at < loop.body.end &&
                (!inner || loop.body.begin > inner->body.begin))
                inner = &loop;
        return inner ? &inner->values : nullptr;
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    void matchBrackets()
    {
        mMatch.assign(mTokens.size(), npos);
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < mTokens.size(); ++i) {
            if (mTokens[i].kind != Kind::Punct) continue;
            const std::string& t = mTokens[i].text;
            if (t == "(" || t == "{" || t == "[") {
                open.push_back(i);
            } else if (t == ")" || t == "}" || t == "]") {
                if (open.empty()) continue;
                mMatch[open.back()] = i;
                mMatch[i] = open.back();
                open.pop_back();
            }
        }
    }

    std::vector<std::string> parameterNames(std::size_t open) const
    {
        std::vector<std::string> names;
        for (const Range& parameter : arguments(open)) {
            std::string name;
            for (std::size_t i = parameter.begin; i < parameter.end && !isPunct(i, "="); ++i)
                if (mTokens[i].kind == Kind::Identifier) name = mTokens[i].text;
            names.push_back(name);
        }
        return names;
    }

    // After a parameter list: specifiers, then the body's brace, or npos.
    std::size_t bodyAfter(std::size_t close) const
    {
        std::size_t i = close + 1;
        while (i < mTokens.size() && (is(i, "const") || is(i, "override") || is(i, "noexcept") || is(i, "final") ||
                                      is(i, "mutable")))
            ++i;
        return isPunct(i, "{") && mMatch[i] != npos ? i : npos;
    }

    void findDefinitions()
    {
        static const std::set<std::string> statements = {"if", "for", "while", "switch", "catch", "return", "sizeof"};
        for (std::size_t i = 0; i + 1 < mTokens.size(); ++i) {
            if (mTokens[i].kind != Kind::Identifier || statements.contains(mTokens[i].text)) continue;
            std::size_t open = npos;
            if (isPunct(i + 1, "(")) {
                open = i + 1;
            } else if (isPunct(i + 1, "=") && isPunct(i + 2, "[") && mMatch[i + 2] != npos &&
                       isPunct(mMatch[i + 2] + 1, "(")) {
                open = mMatch[i + 2] + 1;   // a named lambda
            }
            if (open == npos || mMatch[open] == npos) continue;
            const std::size_t brace = bodyAfter(mMatch[open]);
            if (brace == npos) continue;
            mDefinitions.push_back({mTokens[i].text, parameterNames(open), {brace + 1, mMatch[brace]}});
        }
    }

    // The literal strings of a braced list, or none when it holds anything else.
    std::optional<std::vector<std::string>> literalList(std::size_t open) const
    {
        std::vector<std::string> values;
        const std::size_t close = mMatch[open];
        if (close == npos) return std::nullopt;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (mTokens[i].kind == Kind::String)
                values.push_back(mTokens[i].text);
            else if (!isPunct(i, ","))
                return std::nullopt;
        }
        if (values.empty()) return std::nullopt;
        return values;
    }

    void findLiteralLoopsAndConstants()
    {
        for (std::size_t i = 0; i + 2 < mTokens.size(); ++i) {
            if (is(i, "for") && isPunct(i + 1, "(") && mMatch[i + 1] != npos) {
                const std::size_t close = mMatch[i + 1];
                std::size_t colon = i + 2;
                while (colon < close && !isPunct(colon, ":")) ++colon;
                if (colon >= close || !isPunct(colon + 1, "{") || mMatch[colon + 1] + 1 != close) continue;
                const auto values = literalList(colon + 1);
                if (!values || mTokens[colon - 1].kind != Kind::Identifier) continue;
                std::size_t end = close + 1;
                if (isPunct(end, "{") && mMatch[end] != npos) {
                    end = mMatch[end];
                } else {
                    while (end < mTokens.size() && !isPunct(end, ";")) end = mMatch[end] != npos ? mMatch[end] + 1 : end + 1;
                }
                mLoops.push_back({mTokens[colon - 1].text, *values, {close + 1, end}});
                continue;
            }
            if (mTokens[i].kind != Kind::Identifier) continue;
            // A member set in passing (`descriptor.key = "mDate"`) names no constant.
            if (i > 0 && (isPunct(i - 1, ".") || isPunct(i - 1, "->"))) continue;
            std::size_t j = i + 1;
            if (isPunct(j, "[") && mMatch[j] != npos) j = mMatch[j] + 1;
            const bool assigned = isPunct(j, "=");
            if (assigned) ++j;
            if (isPunct(j, "{")) {
                if (const auto values = literalList(j)) {
                    auto& list = mTextConstants[mTokens[i].text];
                    list.insert(list.end(), values->begin(), values->end());
                } else if (mTokens[j + 1].kind == Kind::Number && isPunct(j + 2, "}")) {
                    mNumberConstants[mTokens[i].text] = mTokens[j + 1].text;
                }
            } else if (assigned && mTokens[j].kind == Kind::String && isPunct(j + 1, ";")) {
                mTextConstants[mTokens[i].text].push_back(mTokens[j].text);
            } else if (assigned && mTokens[j].kind == Kind::Number && isPunct(j + 1, ";")) {
                mNumberConstants[mTokens[i].text] = mTokens[j].text;
            }
        }
    }

    fs::path mPath;
    std::set<std::string> mIncluded;
    std::vector<Token> mTokens;
    std::vector<std::size_t> mMatch;
    std::vector<Definition> mDefinitions;
    std::vector<LiteralLoop> mLoops;
    std::map<std::string, std::vector<std::string>> mTextConstants;
    std::map<std::string, std::string> mNumberConstants;
};

struct KeyUse {
    std::string key;
    std::string where;
};

class KeyScanner {
public:
    explicit KeyScanner(const fs::path& sources)
    {
        for (const auto& entry : fs::recursive_directory_iterator(sources)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            mFiles.emplace_back(fs::relative(entry.path(), sources), text.str());
        }
        for (const SourceFile& file : mFiles) {
            for (const auto& [name, values] : file.textConstants())
                mGlobalTexts[name].insert(mGlobalTexts[name].end(), values.begin(), values.end());
            for (const auto& [name, value] : file.numberConstants()) mGlobalNumbers[name].insert(value);
        }
        for (const char* name : {"localized", "LocalizedName", "LocalizedDesc", "RaiseError", "RaiseInfo", "AskQuestion"})
            mBaseLookups[name] = Lookup{0, {""}};
        findHelpers();
    }

    std::vector<KeyUse> keys() const
    {
        std::vector<KeyUse> uses;
        for (std::size_t f = 0; f < mFiles.size(); ++f)
            forEachLookupArgument(mFiles[f], lookupsOf(f), [&](const SourceFile& file, const Range& argument, const Lookup& lookup) {
                for (const std::string& key : keysOf(file, argument))
                    for (const std::string& suffix : lookup.suffixes)
                        uses.push_back({key + suffix, file.path().string() + ":" +
                                                          std::to_string(file.tokens()[argument.begin].line)});
            });
        return uses;
    }

private:
    // The lookups a file sees: the base ones, its own helpers and those of
    // the headers it includes.
    Lookups lookupsOf(std::size_t f) const
    {
        Lookups lookups = mBaseLookups;
        auto add = [&](const Lookups& more) {
            for (const auto& [name, lookup] : more) {
                Lookup& entry = lookups[name];
                entry.argument = lookup.argument;
                entry.suffixes.insert(lookup.suffixes.begin(), lookup.suffixes.end());
            }
        };
        const std::set<std::string>& included = mFiles[f].included();
        for (std::size_t g = 0; g < mFiles.size(); ++g) {
            const auto helpers = mHelpers.find(g);
            if (helpers == mHelpers.end()) continue;
            if (g == f || included.contains(mFiles[g].path().stem().string())) add(helpers->second);
        }
        return lookups;
    }

    template <class Visit>
    void forEachLookupArgument(const SourceFile& file, const Lookups& lookups, Visit visit,
                               Range within = {0, SourceFile::npos}) const
    {
        const auto& tokens = file.tokens();
        const std::size_t end = std::min(within.end, tokens.size());
        for (std::size_t i = within.begin; i + 1 < end; ++i) {
            if (tokens[i].kind != Kind::Identifier || !file.isPunct(i + 1, "(")) continue;
            if (i > 0 && (file.isPunct(i - 1, ".") || file.isPunct(i - 1, "->"))) continue;   // a member's call
            const auto lookup = lookups.find(tokens[i].text);
            if (lookup == lookups.end()) continue;
            const std::vector<Range> arguments = file.arguments(i + 1);
            if (lookup->second.argument < arguments.size()) visit(file, arguments[lookup->second.argument], lookup->second);
        }
    }

    // Functions handing a parameter on to a lookup, until no new one is found.
    void findHelpers()
    {
        for (bool found = true; found;) {
            found = false;
            for (std::size_t f = 0; f < mFiles.size(); ++f) {
                const Lookups lookups = lookupsOf(f);
                for (const Definition& definition : mFiles[f].definitions()) {
                    forEachLookupArgument(
                        mFiles[f], lookups,
                        [&](const SourceFile& file, const Range& argument, const Lookup& lookup) {
                            const auto& tokens = file.tokens();
                            if (tokens[argument.begin].kind != Kind::Identifier) return;
                            std::string suffix;
                            if (argument.end == argument.begin + 3 && file.isPunct(argument.begin + 1, "+") &&
                                tokens[argument.begin + 2].kind == Kind::String)
                                suffix = tokens[argument.begin + 2].text;
                            else if (argument.end != argument.begin + 1)
                                return;
                            const auto& parameters = definition.parameters;
                            const auto at = std::find(parameters.begin(), parameters.end(), tokens[argument.begin].text);
                            if (at == parameters.end()) return;
                            Lookup& helper = mHelpers[f][definition.name];
                            helper.argument = std::size_t(at - parameters.begin());
                            for (const std::string& more : lookup.suffixes)
                                found = helper.suffixes.insert(suffix + more).second || found;
                        },
                        definition.body);
                }
            }
        }
    }

    // The code's constants: kName.
    static bool isConstantName(const std::string& name)
    {
        return name.size() > 1 && name[0] == 'k' && std::isupper(static_cast<unsigned char>(name[1]));
    }

    std::vector<std::string> keysOf(const SourceFile& file, const Range& argument) const
    {
        const auto& tokens = file.tokens();
        bool allStrings = true;
        std::string joined;
        for (std::size_t i = argument.begin; i < argument.end; ++i) {
            allStrings = allStrings && tokens[i].kind == Kind::String;
            joined += tokens[i].text;
        }
        if (allStrings) return {joined};
        if (argument.end == argument.begin + 1 && tokens[argument.begin].kind == Kind::Number &&
            std::all_of(joined.begin(), joined.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            return {joined};
        // A named value, perhaps qualified, perhaps an array's element.
        std::size_t last = argument.begin;
        while (last + 2 < argument.end && file.isPunct(last + 1, "::")) last += 2;
        const bool element = file.isPunct(last + 1, "[") && file.closing(last + 1) + 1 == argument.end;
        if (tokens[last].kind != Kind::Identifier || (!element && last + 1 != argument.end)) return {};
        const std::string& name = tokens[last].text;
        if (!element && last == argument.begin)
            if (const auto* values = file.loopValues(name, argument.begin)) return *values;
        if (const auto local = file.textConstants().find(name); local != file.textConstants().end())
            return local->second;
        if (element) return {};
        // Beyond this file, and for numbers, only named constants count (not
        // a local variable or a parameter that happens to share the name).
        if (!isConstantName(name)) return {};
        if (const auto local = file.numberConstants().find(name); local != file.numberConstants().end())
            return {local->second};
        if (const auto global = mGlobalTexts.find(name); global != mGlobalTexts.end() && global->second.size() == 1)
            return global->second;
        if (const auto global = mGlobalNumbers.find(name); global != mGlobalNumbers.end() && global->second.size() == 1)
            return {*global->second.begin()};
        return {};
    }

    std::vector<SourceFile> mFiles;
    Lookups mBaseLookups;
    std::map<std::size_t, Lookups> mHelpers;
    std::map<std::string, std::vector<std::string>> mGlobalTexts;
    std::map<std::string, std::set<std::string>> mGlobalNumbers;
};

TEST(StringsCoverage, EveryKeyTheCodeAsksForHasAText)
{
    const fs::path resources = COUNTINGHOUSE_RESOURCES;
    LocalizedStrings table;
    ASSERT_TRUE(table.loadFile((resources / "strings" / "en.strings").string()));
    const KeyScanner scanner(resources.parent_path() / "src");
    const std::vector<KeyUse> uses = scanner.keys();

    // The scan reaches each way a key is asked for.
    std::set<std::string> seen;
    for (const KeyUse& use : uses) seen.insert(use.key);
    for (const char* reached : {"DELETEDITEM",                // a literal
                                "CUSTOMEROPENINVOICEDESC",    // through a helper, with a suffix
                                "WEEKDAYMONDAY",              // an element of a literal array
                                "292",                        // a message number by its constant
                                "226",                        // a message number
                                "OWNERSTABCUSTOMERS",         // an element of a local array
                                "RATESHEETTITLE"})            // through a helper of another file
        EXPECT_TRUE(seen.contains(reached)) << reached;

    // Literals that travel with keys but are never looked up.
    const std::set<std::string> notKeys = {
        "DIVIDER",   // the filter bar's segment marker, left out before the lookup
    };
    std::set<std::string> missing;
    for (const KeyUse& use : uses)
        if (!table.contains(use.key) && !notKeys.contains(use.key))
            missing.insert("\"" + use.key + "\" (" + use.where + ")");
    std::string list;
    for (const std::string& entry : missing) list += "\n  " + entry;
    EXPECT_TRUE(missing.empty()) << "keys without a text:" << list;
}

} // namespace
} // namespace ch
