#pragma once
// The byte stream of the document file: typed readers and writers for the
// model's scalar types, all big-endian whatever the processor. Typed readers
// do not throw: at the end of the data they return a smaller count and deliver
// zero. The block readers (ReadBlock and the string and block readers built on
// it) throw LException -19; every length read from the data is checked against
// the bytes that remain, so hostile data can never make a reader allocate or
// copy more than the stream holds.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/foundation/LString.h"
#include "model/foundation/ModelTypes.h"
#include "platform/core/four_char_code.h"

namespace ch {

enum EStreamFrom : std::int32_t {
    streamFrom_Start = 1,
    streamFrom_End = 2,
    streamFrom_Marker = 3
};

// A handle: a block that belongs to its holder and can change size; null for
// none. Blocks never move here, so nothing locks them while a stream reads or
// writes them.
using BlockHandle = std::unique_ptr<std::vector<char>>;

class LStream {
public:
    LStream() = default;
    LStream(const LStream&) = default;
    LStream& operator=(const LStream&) = default;
    virtual ~LStream() = default;

    // Finds the tag at or after the marker and leaves the marker on it;
    // -1 (marker at the end) when it is not there.
    virtual std::int32_t positionAt(FourCharCode tag);

    // Any other value of from leaves the marker; the result is clamped to
    // 0..length, stored and returned.
    virtual std::int32_t SetMarker(std::int32_t offset, EStreamFrom from);
    virtual std::int32_t GetMarker() const { return mMarker; }
    virtual void SetLength(std::int32_t length);
    virtual std::int32_t GetLength() const { return mLength; }

    // Base behaviour: writes nothing (count 0, -20).
    virtual std::int32_t PutBytes(const void* buffer, std::int32_t& count);
    // Base behaviour: reads nothing (count 0, -19).
    virtual std::int32_t GetBytes(void* buffer, std::int32_t& count);

    // Typed readers: the number of bytes read.
    virtual std::int32_t ReadBigOsType(FourCharCode& out);
    virtual std::int32_t PeekBigOsType(FourCharCode& out);
    virtual std::int32_t ReadObjectIdT(ObjectIdT& out);
    virtual std::int32_t ReadDateT(DateT& out);
    virtual std::int32_t ReadAmountT(AmountT& out);
    virtual std::int32_t ReadQtyT(QtyT& out);
    virtual std::int32_t ReadEnumT(EnumT& out);
    virtual std::int32_t ReadLong(std::int32_t& out);
    virtual std::int32_t ReadShort(std::int16_t& out);

    // Unicode text: a 32-bit byte count (the byte-order mark included), then the
    // UTF-16 external form. Returns UTF-8. Throws -19 for a count that is
    // negative, beyond the data or odd.
    virtual std::string ReadCFString();

    // GetBytes for count bytes; the number actually read (the error ignored).
    std::int32_t ReadData(void* buffer, std::int32_t count);
    // Reads count bytes and puts the marker back; the number read.
    std::int32_t PeekData(void* buffer, std::int32_t count);

    // Writers: each returns the number of bytes written.
    std::int32_t WriteBigOsType(FourCharCode value);
    std::int32_t WriteObjectIdT(ObjectIdT value);
    std::int32_t WriteDateT(DateT value);
    std::int32_t WriteLong(std::int32_t value);
    std::int32_t WriteQtyT(QtyT value);
    std::int32_t WriteShort(std::int16_t value);
    std::int32_t WriteAmountTT(AmountT value);
    std::int32_t WriteEnumT(EnumT value);

    // Block writers: a failed write throws LException with its error.
    void WriteBlock(const void* buffer, std::int32_t count);
    // 32-bit byte count, then the UTF-16 external form of the UTF-8 text.
    std::int32_t WriteCFString(std::string_view utf8);
    // 32-bit length N, then the N bytes, no terminator; returns N + 4.
    std::int32_t WriteCString(const char* text);
    // The length byte and that many bytes.
    std::int32_t WritePString(const unsigned char* text);
    // A null block writes -1; else the 32-bit size and the bytes.
    std::int32_t WritePtr(const std::vector<char>* block);
    // The same for the block of a handle.
    std::int32_t WriteHandle(const BlockHandle& handle);
    LStream& operator<<(double value);

    // Block readers: throw LException -19 when the bytes are not there.
    void ReadBlock(void* buffer, std::int32_t count);
    // 32-bit length N, then N bytes; at most destSize - 1 of them are kept and
    // terminated, the rest is skipped. Returns N + 4.
    std::int32_t ReadCString(char* dest, std::size_t destSize);
    template <std::size_t N>
    std::int32_t ReadCString(char (&dest)[N]) { return ReadCString(dest, N); }
    // The length byte, then that many bytes.
    std::int32_t ReadPString(Str255& dest);
    // 32-bit size; -1 gives no block, else a block of that size.
    std::optional<std::vector<char>> ReadPtr();
    // The same into a new handle (null for -1); the caller gets it only when
    // the whole block was read.
    BlockHandle ReadHandle();
    LStream& operator>>(double& value);

protected:
    // The bytes left after the marker (0 when the marker is at or past the end).
    std::int32_t BytesLeft() const;

    std::int32_t mMarker = 0;
    std::int32_t mLength = 0;

private:
    template <typename T>
    std::int32_t ReadBigEndian(T& out);
    template <typename T>
    std::int32_t WriteBigEndian(T value);
    // A length read from the data: refused (-19) when negative or beyond the
    // bytes left.
    std::int32_t ReadCheckedLength();
};

} // namespace ch
