#pragma once
// Turning a failed check into an exception. The mode bytes are 0 at start-up
// and nothing changes them, so a failed check always raises LException.

#include <cstdint>

namespace ch {

namespace UDebugging {

enum : std::uint8_t {
    kDebugThrowException = 0,  // raise LException(code)
    kDebugThrowAbort = 1,      // end the application
    kDebugThrowLogAndThrow = 2 // write the code to the developer log, then raise
};

// How DebugThrow reacts.
extern std::uint8_t gDebugThrow;

// Raises LException(code) (or reacts as gDebugThrow says); file and line name the check.
[[noreturn]] void DebugThrow(std::int32_t code, const char* file, int line);
[[noreturn]] void DebugThrow(std::int32_t code, const unsigned char* pFile, int line);

// Writes n's decimal text to the developer log.
void DebugNumber(std::int32_t n);

// At most 255 characters of the C text as length-prefixed text.
void LoadPStrFromCStr(unsigned char* dest, const char* text);

} // namespace UDebugging

} // namespace ch

// Raises the class library's exception for a failed check at this place.
#define CH_DEBUG_THROW(code) ::ch::UDebugging::DebugThrow((code), __FILE__, __LINE__)
