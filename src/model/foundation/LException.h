#pragma once
// The one exception type of the class library. Arrays, guards and streams raise
// it for memory and stream failures; it carries the platform's numeric error code
// (for example -19 for a failed read, -108 when memory is full) and an optional
// short message.

#include <cstdint>
#include <exception>

namespace ch {

// Platform error codes the class library raises.
namespace err {
constexpr std::int32_t kReadErr = -19;       // a read ran past the data or was refused
constexpr std::int32_t kWriteErr = -20;      // a write failed
constexpr std::int32_t kParamErr = -50;      // an argument that cannot be right
constexpr std::int32_t kMemFullErr = -108;   // memory exhausted
constexpr std::int32_t kResNotFound = -192;  // a resource is missing
} // namespace err

class LException : public std::exception {
public:
    // message may be null; it is kept as length-prefixed text of at most 255 characters.
    explicit LException(std::int32_t code, const char* message = nullptr);
    LException(const LException& other) = default;
    LException& operator=(const LException& other) = default;
    ~LException() override = default;

    [[noreturn]] static void Throw(std::int32_t code);
    [[noreturn]] static void Throw(std::int32_t code, const char* message);

    std::int32_t GetErrorCode() const { return mErrorCode; }
    void SetErrorCode(std::int32_t code) { mErrorCode = code; }

    // The message as length-prefixed text (length byte first).
    const unsigned char* GetErrorString() const { return mMessage; }
    void SetErrorString(const char* message);

    // The message as C text. The terminator takes the place after the text inside
    // the 256-byte message buffer, so a 255-character message shows 254 of them.
    const char* what() const noexcept override { return mText; }

private:
    std::int32_t mErrorCode;
    unsigned char mMessage[256];
    char mText[256];
};

} // namespace ch
