#pragma once
// The file password. It is kept in the document's settings record, in plain
// 8-bit text inside the model stream, with a flag that asks for it: a lock
// on the window, not encryption. Whoever can read the file can read the books.
//
// When the flag is on, the window asks for the password before it shows the
// books (the question's parameters and its check are here). The password
// holds at most 34 characters, each of which the file's 8-bit encoding
// ("GXDestinationEncoding") can hold, so that the text the user typed when
// setting it is exactly the text stored, and typing it again always matches.

#include <cstddef>
#include <string_view>

#include "platform/core/value.h"

namespace ch {

class MyDocument;

// The question's parameter: the expected password.
inline constexpr std::string_view kFilePasswordKey = "mFilePassword";
inline constexpr std::size_t kLongestFilePassword = 34;
// Message: the password is too long or holds characters the file cannot keep.
inline constexpr long kPasswordCannotBeStored = 292;

// Whether the document asks for its password before it shows its books.
bool isPasswordProtected(MyDocument& document);
// The question's parameters: the settings item's password under
// "mFilePassword"; no entry when the document has no settings item.
Dictionary passwordQuestionParameters(MyDocument& document);
// The question's check: no expected password (the parameters hold none)
// accepts any entry; otherwise the entry, as the settings record would store
// it, must equal it exactly, case and all (an empty password accepts only an
// empty entry). The question tells the user of a wrong entry.
bool passwordAccepts(const Dictionary& parameters, std::string_view typed);
// Whether the text can be stored as the password unchanged; shows error 292
// when it cannot.
bool checkFilePasswordCanBeStored(std::string_view text);

} // namespace ch
