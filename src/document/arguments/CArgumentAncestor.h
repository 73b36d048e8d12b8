#pragma once
// CArgumentAncestor: the base of the argument objects that carry a command's
// values from a sheet or page to the document operation, and into the command
// journal and back.
//
// Dictionary form: "ArgumentClass" = the class name, plus each class's keys.
// Text form: that dictionary in the old-style property-list text, keys in
// ascending order, so "ArgumentClass = <Name>;" always appears literally (the
// journal searches for it). Reading the text back turns every scalar into
// text; the readers below therefore take numbers from a number or a text alike
// (leading integer clamped to 32 bits, leading decimal number, Boolean true
// for "Y", "y", "T", "t" or a leading digit 1 to 9).
//
// A field that the object does not hold is left out of the dictionary, so that
// the object can always be journaled and reads back with that field absent
// (a few keys have a fixed stand-in instead; the classes say which).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/Colour.h"
#include "platform/core/value.h"

namespace ch {

class ArgumentClassRegistry;

class CArgumentAncestor {
public:
    // What the id readers answer for an absent id.
    static constexpr std::int32_t kMissingId = 1212121212;
    // The key of the class name.
    static constexpr std::string_view kArgumentClassKey = "ArgumentClass";

    virtual ~CArgumentAncestor();

    // The class name written under "ArgumentClass" (e.g. "CurrencyArguments").
    virtual std::string argumentClass() const = 0;

    // The dictionary form (a Value holding a Dictionary).
    Value toDictionary() const;
    // The text form of toDictionary(). Empty only when a value has no text
    // form (the values the classes store always have one).
    std::string toText() const;

    // Sets every field from the text form: a field whose key is missing becomes
    // absent. False (fields unchanged, the text in the developer log) when the
    // text is no dictionary or the class refuses it.
    virtual bool recoverFromString(std::string_view text);
    // The same from a dictionary form; false when the class refuses it.
    virtual bool recoverFromDictionary(const Dictionary& dictionary) = 0;

    // A new object of the class named under "ArgumentClass", filled from the
    // dictionary; null when the value is no dictionary, names no registered
    // class, or the class refuses it.
    static std::unique_ptr<CArgumentAncestor> fromDictionary(const Value& dictionary);
    static std::unique_ptr<CArgumentAncestor> fromDictionary(const Value& dictionary,
                                                             const ArgumentClassRegistry& registry);
    // The same from the text form; null also when the text does not parse.
    static std::unique_ptr<CArgumentAncestor> fromText(std::string_view text);
    static std::unique_ptr<CArgumentAncestor> fromText(std::string_view text,
                                                       const ArgumentClassRegistry& registry);

    // --- readers and writers shared by the classes

    // Stores the colour under the key as a dictionary of single-precision
    // "red", "green", "blue" and "alpha"; false (nothing stored) without one.
    static bool dumpColor(const std::optional<Colour>& colour, Dictionary& dictionary, std::string key);
    // None when the key is absent; otherwise the colour of the nested entries'
    // floating values.
    static std::optional<Colour> getColorFromDictionary(const Dictionary& dictionary, std::string_view key);
    // kMissingId when the key is absent or its integer value is 2147483647
    // (what an overflowing text reads as); otherwise that integer value.
    static std::int32_t getObjectIdFromDictionary(const Dictionary& dictionary, std::string_view key);
    // None where getObjectIdFromDictionary answers kMissingId.
    static std::optional<long> getObjectIdAsNumberFromDictionary(const Dictionary& dictionary,
                                                                 std::string_view key);
    // The floating value; 0.0 when the key is absent.
    static double geDoubleFromDictionary(const Dictionary& dictionary, std::string_view key);

    // A date (DateT, yyyymmdd): none when the key is absent or the entry
    // overflows as an id does; otherwise its integer value.
    static std::optional<long> getDateFromDictionary(const Dictionary& dictionary, std::string_view key);

    // The entry as text, its integer (32-bit), floating or Boolean value; none
    // when the key is absent.
    static std::optional<std::string> getTextFromDictionary(const Dictionary& dictionary, std::string_view key);
    static std::optional<int> getIntegerFromDictionary(const Dictionary& dictionary, std::string_view key);
    static std::optional<double> getNumberFromDictionary(const Dictionary& dictionary, std::string_view key);
    static std::optional<bool> getBooleanFromDictionary(const Dictionary& dictionary, std::string_view key);

protected:
    CArgumentAncestor() = default;
    CArgumentAncestor(const CArgumentAncestor&) = default;
    CArgumentAncestor& operator=(const CArgumentAncestor&) = default;

    // Adds the class's keys; a subclass first lets its base add its own.
    virtual void addEntries(Dictionary& dictionary) const = 0;

    // A key the class writes but does not read back: known all the same to
    // the check of a journal entry's text (ArgumentTextCheck.h). Every reader
    // above notes the key it reads and the kind of value it takes.
    static void acknowledgeKey(const Dictionary& dictionary, std::string_view key);

    // Stores a value under the key when there is one.
    template <typename T>
    static void putPresent(Dictionary& dictionary, std::string key, const std::optional<T>& value)
    {
        if (value)
            dictionary.set(std::move(key), Value(*value));
    }
};

} // namespace ch
