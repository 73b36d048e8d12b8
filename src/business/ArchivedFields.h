#pragma once
// The values of one business object in the keyed archive, read one after the
// other in the order of the file format. Each reader answers nil for a nil
// value or one an older version did not write yet. A value of a kind the
// field cannot hold, or out of its range, also reads as nil, so that the rest
// of the object is kept, but it is noted on the unarchiver as damage: the
// document then tells the user and keeps off its file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ch {
class KeyedUnarchiver;
class Value;
} // namespace ch

namespace ch::business {

class ArchivedFields {
public:
    ArchivedFields(KeyedUnarchiver& coder, std::string_view className);

    std::optional<std::string> text(std::string_view field);
    // Ids and dates: 32-bit integers (a whole number or its text).
    std::optional<long> integer(std::string_view field);
    // A finite number (or its text).
    std::optional<double> real(std::string_view field);
    // A flag, or the number 0 or 1.
    std::optional<bool> flag(std::string_view field);
    // An array of 32-bit integers.
    std::optional<std::vector<long>> integers(std::string_view field);

    // After the last value: fields other than "$class" and "$0".."$n" in
    // sequence cannot come from an archiver, so they are noted too. Values
    // beyond those read come from a later version and are left alone.
    void finish();

private:
    void damaged(std::string_view field, std::string_view what);

    KeyedUnarchiver& mCoder;
    std::string mClassName;
};

} // namespace ch::business
