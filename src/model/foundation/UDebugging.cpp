#include "model/foundation/UDebugging.h"

#include <cstdio>
#include <cstdlib>

#include "model/foundation/LException.h"
#include "model/foundation/LString.h"

namespace ch::UDebugging {

std::uint8_t gDebugThrow = kDebugThrowException;

void DebugThrow(std::int32_t code, const char* file, int line)
{
    if (gDebugThrow == kDebugThrowAbort) {
        std::fprintf(stderr, "Countinghouse: error %ld at %s:%d\n", static_cast<long>(code),
                     file ? file : "?", line);
        std::abort();
    }
    if (gDebugThrow == kDebugThrowLogAndThrow) DebugNumber(code);
    LException::Throw(code);
}

void DebugThrow(std::int32_t code, const unsigned char* pFile, int line)
{
    char file[256] = "";
    if (pFile) TCLptocstrcpy(file, pFile);
    DebugThrow(code, file, line);
}

void DebugNumber(std::int32_t n)
{
    std::fprintf(stderr, "Countinghouse: %ld\n", static_cast<long>(n));
}

void LoadPStrFromCStr(unsigned char* dest, const char* text)
{
    TCLctopstrcpy(dest, text);
}

} // namespace ch::UDebugging
