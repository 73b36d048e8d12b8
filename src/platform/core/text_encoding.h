#pragma once
// Text encodings named by the platform's encoding numbers, converted through
// ICU. In memory every text is UTF-8; these functions move it to and from the
// 8-bit encodings of the document file and of statement files, and to and
// from the UTF-16 external form of the model stream.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace ch {

using TextEncoding = std::uint32_t;

// The platform's encoding numbers that we support.
namespace encoding {
inline constexpr TextEncoding ascii = 1;
inline constexpr TextEncoding utf8 = 4;
inline constexpr TextEncoding isoLatin1 = 5;
inline constexpr TextEncoding windowsLatin1 = 12;   // Windows-1252
inline constexpr TextEncoding macRoman = 30;
} // namespace encoding

inline constexpr std::size_t noByteLimit = std::numeric_limits<std::size_t>::max();

// True for the encoding numbers above.
bool isSupportedEncoding(TextEncoding enc);

// The UTF-8 text in the encoding. A character the encoding lacks becomes '?',
// invisible ones too (soft hyphen, zero-width space, byte-order mark,
// variation selectors, ...): nothing is dropped silently. Malformed UTF-8 is
// read with replacement characters first. The text is put
// in composed form (NFC) first, so "e" + combining acute becomes one byte in
// Mac Roman. With maxBytes, the result is cut at a character boundary so that
// it holds at most maxBytes bytes (a fixed field never overflows, and no
// multi-byte character is split). nullopt for an unsupported encoding.
std::optional<std::string> encodeLossy(std::string_view utf8, TextEncoding enc,
                                       std::size_t maxBytes = noByteLimit);

// True when every character of the UTF-8 text (composed) has a byte sequence in
// the encoding, that is when encodeLossy substitutes nothing and decode gives
// the composed text back; false for malformed UTF-8 and for an unsupported
// encoding.
bool canEncode(std::string_view utf8, TextEncoding enc);

// The bytes of the encoding as UTF-8. Bytes that do not form a character
// (invalid UTF-8, bytes above 7F in ASCII, the five bytes 81 8D 8F 90 9D that
// Windows-1252 leaves unassigned) become U+FFFD. nullopt for an unsupported
// encoding.
std::optional<std::string> decode(std::string_view bytes, TextEncoding enc);

// UTF-16 external representation of the model stream: a byte-order mark, then
// UTF-16 code units in that order. We write FF FE and little-endian units, as
// the original (Intel) writer did; an empty text is the mark alone.
std::string toUtf16External(std::string_view utf8);

// Reads the external representation: FE FF means big-endian, FF FE
// little-endian; without a mark the units are read big-endian. Zero bytes give
// the empty text; an odd byte count is refused (nullopt). Unpaired surrogates
// become U+FFFD.
std::optional<std::string> fromUtf16External(std::string_view bytes);

} // namespace ch
