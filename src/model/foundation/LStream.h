#pragma once
// The byte stream of the document file: typed readers and writers for the
// model's scalar types, all big-endian whatever the processor. Typed readers
// do not throw: at the end of the data they return a smaller count and deliver
// zero. The block readers (ReadBlock and the string and block readers built on
// it) throw LException -19; every length read from the data is checked against
// the bytes that remain, so hostile data can never make a reader allocate or
// copy more than the stream holds.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
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

    // Typed readers: the number of bytes read. A stream over one block in
    // memory is read in place, without a call per field.
    std::int32_t ReadBigOsType(FourCharCode& out) { return ReadBigEndian(out); }
    std::int32_t PeekBigOsType(FourCharCode& out);
    std::int32_t ReadObjectIdT(ObjectIdT& out) { return ReadBigEndian(out); }
    std::int32_t ReadDateT(DateT& out) { return ReadBigEndian(out); }
    std::int32_t ReadAmountT(AmountT& out) { return ReadBigEndian(out); }
    std::int32_t ReadQtyT(QtyT& out) { return ReadBigEndian(out); }
    std::int32_t ReadEnumT(EnumT& out) { return ReadBigEndian(out); }
    std::int32_t ReadLong(std::int32_t& out) { return ReadBigEndian(out); }
    std::int32_t ReadShort(std::int16_t& out) { return ReadBigEndian(out); }

    // Unicode text: a 32-bit byte count (the byte-order mark included), then the
    // UTF-16 external form. Returns UTF-8. Throws -19 for a count that is
    // negative, beyond the data or odd, and for a text holding a NUL
    // character: no writer writes one, while any stretch of records holds
    // some (every length and small id begins with zero bytes), so such a text
    // has swallowed the data behind it.
    virtual std::string ReadCFString();
    // The same, decoded straight into the text given (its old contents go).
    void ReadCFString(std::string& into);

    // The fixed-size fields of a record, read in order and checked once: the
    // bytes of all of them must be there when the run starts, else the run
    // throws LException -19 (a record cut short). Reads the data where it
    // lies when the stream can; else a copy of the run, taken at the start.
    class FieldRun {
    public:
        static constexpr std::int32_t kMaxBytes = 128;
        FieldRun(LStream& stream, std::int32_t bytes)
        {
            if (stream.mReadFrom && bytes >= 0 && bytes <= kMaxBytes && stream.mLength - stream.mMarker >= bytes) {
                mAt = stream.mReadFrom + stream.mMarker;
                stream.mMarker += bytes;
            } else {
                ReadCopy(stream, bytes);
            }
        }
        FieldRun(const FieldRun&) = delete;
        FieldRun& operator=(const FieldRun&) = delete;

        void ReadBigOsType(FourCharCode& out) { Read(out); }
        void ReadObjectIdT(ObjectIdT& out) { Read(out); }
        void ReadDateT(DateT& out) { Read(out); }
        void ReadAmountT(AmountT& out) { Read(out); }
        void ReadEnumT(EnumT& out) { Read(out); }
        void ReadLong(std::int32_t& out) { Read(out); }

    private:
        template <typename T>
        void Read(T& out)
        {
            out = std::bit_cast<T>(LoadBigEndian<Bits<T>>(mAt));
            mAt += sizeof(T);
        }

        void ReadCopy(LStream& stream, std::int32_t bytes);

        const unsigned char* mAt = nullptr;
        unsigned char mCopy[kMaxBytes];
    };

    // GetBytes for count bytes; the number actually read (the error ignored).
    std::int32_t ReadData(void* buffer, std::int32_t count);
    // Reads count bytes and puts the marker back; the number read.
    std::int32_t PeekData(void* buffer, std::int32_t count);

    // Writers: each returns the number of bytes written. A stream that
    // appends to a buffer has them appended in place.
    std::int32_t WriteBigOsType(FourCharCode value) { return WriteBigEndian(value); }
    std::int32_t WriteObjectIdT(ObjectIdT value) { return WriteBigEndian(value); }
    std::int32_t WriteDateT(DateT value) { return WriteBigEndian(value); }
    std::int32_t WriteLong(std::int32_t value) { return WriteBigEndian(value); }
    std::int32_t WriteQtyT(QtyT value) { return WriteBigEndian(value); }
    std::int32_t WriteShort(std::int16_t value) { return WriteBigEndian(value); }
    std::int32_t WriteAmountTT(AmountT value) { return WriteBigEndian(value); }
    std::int32_t WriteEnumT(EnumT value) { return WriteBigEndian(value); }

    // Makes room for that many more bytes at once, when the stream appends
    // to a buffer (a hint: nothing else changes).
    void ReserveForWrite(std::size_t bytes);

    // Room for the writes of one record, made in one step when the stream
    // appends to a buffer: the writes that fit go through a pointer into it,
    // and what they leave unused is given back when the room goes. A room
    // opened while one with enough space is open adds nothing. The buffer
    // holds exactly what was written whenever no room is open; a write that
    // does not fit ends the room first, so a size that is too small costs
    // time, never bytes.
    class WriteRoom {
    public:
        WriteRoom(LStream& stream, std::size_t bytes);
        ~WriteRoom();
        WriteRoom(const WriteRoom&) = delete;
        WriteRoom& operator=(const WriteRoom&) = delete;

    private:
        LStream& mStream;
        bool mOpened = false;
    };

    // Block writers: a failed write throws LException with its error.
    void WriteBlock(const void* buffer, std::int32_t count)
    {
        if (count >= 0 && mRoom.Left() >= count) {
            if (count > 0) std::memcpy(mRoom.at, buffer, std::size_t(count));
            mRoom.at += count;
            return;
        }
        WriteBlockSlow(buffer, count);
    }
    // 32-bit byte count, then the UTF-16 external form of the UTF-8 text,
    // without its NUL characters (a text read back never holds one).
    std::int32_t WriteCFString(std::string_view utf8)
    {
        if (mRoom.at && WriteAsciiCFStringInRoom(utf8)) return static_cast<std::int32_t>(6 + 2 * utf8.size());
        return WriteCFStringSlow(utf8);
    }
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
    // 32-bit length N, then N bytes, terminated in dest. Returns N + 4. Throws
    // -19 when N is more than destSize - 1 or the bytes hold a terminator:
    // the text did not come from a field of that size.
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
    // The block the marker counts in, when the stream reads one block in
    // memory with no further work per read; null otherwise.
    const unsigned char* mReadFrom = nullptr;
    // The buffer every write is appended to, when writing is nothing more
    // than appending; null otherwise (each write goes through PutBytes).
    std::vector<std::uint8_t>* mAppendTo = nullptr;

    // Gives back the unused part of an open write room (none open: nothing).
    void CloseRoom();

private:
    // The open write room: the next byte to write and the end of the room
    // (both null when none is open). A copy of the stream opens none.
    struct Room {
        std::uint8_t* at = nullptr;
        std::uint8_t* end = nullptr;
        Room() = default;
        Room(const Room&) {}
        Room& operator=(const Room&) { return *this; }
        std::ptrdiff_t Left() const { return end - at; }
    };
    Room mRoom;

    template <typename T>
    std::int32_t ReadBigEndian(T& out)
    {
        if (mReadFrom && mLength - mMarker >= std::int32_t(sizeof(T))) {
            out = std::bit_cast<T>(LoadBigEndian<Bits<T>>(mReadFrom + mMarker));
            mMarker += std::int32_t(sizeof(T));
            return std::int32_t(sizeof(T));
        }
        return ReadBigEndianSlow(out);
    }
    template <typename T>
    std::int32_t ReadBigEndianSlow(T& out);
    template <typename T>
    std::int32_t WriteBigEndian(T value)
    {
        if (mRoom.Left() >= std::ptrdiff_t(sizeof(T))) {
            StoreBigEndian(mRoom.at, std::bit_cast<Bits<T>>(value));
            mRoom.at += sizeof(T);
            return std::int32_t(sizeof(T));
        }
        return WriteBigEndianSlow(value);
    }
    template <typename T>
    std::int32_t WriteBigEndianSlow(T value);

    // The unsigned integer of the same size as T (the double goes by its bits).
    template <typename T>
    using Bits = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                 std::conditional_t<sizeof(T) == 2, std::uint16_t,
                 std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
    template <typename U>
    static U LoadBigEndian(const unsigned char* bytes)
    {
        U value = 0;
        for (std::size_t i = 0; i < sizeof(U); ++i) value = static_cast<U>((value << 8) | bytes[i]);
        return value;
    }
    template <typename U>
    static void StoreBigEndian(std::uint8_t* bytes, U value)
    {
        for (std::size_t i = 0; i < sizeof(U); ++i) bytes[i] = std::uint8_t(value >> (8 * (sizeof(U) - 1 - i)));
    }
    // Writes the ASCII text as its external form into the open room when it
    // fits; false (nothing written) for other text.
    bool WriteAsciiCFStringInRoom(std::string_view text);
    std::int32_t WriteCFStringSlow(std::string_view utf8);
    void WriteBlockSlow(const void* buffer, std::int32_t count);
    // A length read from the data: refused (-19) when negative or beyond the
    // bytes left.
    std::int32_t ReadCheckedLength()
    {
        if (mReadFrom && mLength - mMarker >= 4) {
            const auto length = static_cast<std::int32_t>(LoadBigEndian<std::uint32_t>(mReadFrom + mMarker));
            if (length >= 0 && length <= mLength - mMarker - 4) {
                mMarker += 4;
                return length;
            }
        }
        return ReadCheckedLengthSlow();
    }
    std::int32_t ReadCheckedLengthSlow();
};

} // namespace ch
