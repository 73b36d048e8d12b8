#include "model/foundation/LStream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "model/foundation/LException.h"
#include "platform/core/text_encoding.h"

namespace ch {

namespace {

template <typename U>
U fromBigEndian(const unsigned char* bytes)
{
    U value = 0;
    for (std::size_t i = 0; i < sizeof(U); ++i) value = static_cast<U>((value << 8) | bytes[i]);
    return value;
}

template <typename U>
void toBigEndian(U value, unsigned char* bytes)
{
    for (std::size_t i = sizeof(U); i-- > 0;) {
        bytes[i] = static_cast<unsigned char>(value & 0xFF);
        value = static_cast<U>(value >> 8);
    }
}

} // namespace

template <typename T>
std::int32_t LStream::ReadBigEndianSlow(T& out)
{
    unsigned char bytes[sizeof(T)] = {};
    const std::int32_t read = ReadData(bytes, sizeof(T));
    // At the end of the data the value is not meaningful; make it zero rather
    // than half a number.
    out = read == std::int32_t(sizeof(T)) ? std::bit_cast<T>(fromBigEndian<Bits<T>>(bytes)) : T{};
    return read;
}

template <typename T>
std::int32_t LStream::WriteBigEndianSlow(T value)
{
    CloseRoom();
    if (mAppendTo) {
        const auto bits = std::bit_cast<Bits<T>>(value);
        for (std::size_t i = sizeof(T); i-- > 0;) mAppendTo->push_back(std::uint8_t(bits >> (8 * i)));
        return std::int32_t(sizeof(T));
    }
    unsigned char bytes[sizeof(T)];
    toBigEndian(std::bit_cast<Bits<T>>(value), bytes);
    std::int32_t count = sizeof(T);
    PutBytes(bytes, count);
    return count;
}

// The types the typed readers and writers take.
template std::int32_t LStream::ReadBigEndianSlow(std::uint32_t&);
template std::int32_t LStream::ReadBigEndianSlow(std::int32_t&);
template std::int32_t LStream::ReadBigEndianSlow(std::int16_t&);
template std::int32_t LStream::ReadBigEndianSlow(std::uint8_t&);
template std::int32_t LStream::ReadBigEndianSlow(double&);
template std::int32_t LStream::WriteBigEndianSlow(std::uint32_t);
template std::int32_t LStream::WriteBigEndianSlow(std::int32_t);
template std::int32_t LStream::WriteBigEndianSlow(std::int16_t);
template std::int32_t LStream::WriteBigEndianSlow(std::uint8_t);
template std::int32_t LStream::WriteBigEndianSlow(double);

std::int32_t LStream::positionAt(FourCharCode tag)
{
    const unsigned char first = static_cast<unsigned char>(tag >> 24);
    for (;;) {
        unsigned char bytes[4];
        if (PeekData(bytes, 4) < 4) {
            SetMarker(0, streamFrom_End);
            return -1;
        }
        if (fromBigEndian<std::uint32_t>(bytes) == tag) return GetMarker();
        // Skip to the next byte that could start the tag.
        std::int32_t step = 4;
        for (std::int32_t k = 1; k < 4; ++k) {
            if (bytes[k] == first) {
                step = k;
                break;
            }
        }
        SetMarker(step, streamFrom_Marker);
    }
}

std::int32_t LStream::SetMarker(std::int32_t offset, EStreamFrom from)
{
    std::int64_t target = mMarker;
    switch (from) {
    case streamFrom_Start: target = offset; break;
    case streamFrom_End: target = std::int64_t(mLength) - offset; break;
    case streamFrom_Marker: target = std::int64_t(mMarker) + offset; break;
    default: break;
    }
    mMarker = static_cast<std::int32_t>(std::clamp<std::int64_t>(target, 0, mLength));
    return mMarker;
}

void LStream::SetLength(std::int32_t length)
{
    mLength = std::max<std::int32_t>(length, 0);
    if (mMarker > mLength) mMarker = mLength;
}

std::int32_t LStream::PutBytes(const void*, std::int32_t& count)
{
    count = 0;
    return err::kWriteErr;
}

std::int32_t LStream::GetBytes(void*, std::int32_t& count)
{
    count = 0;
    return err::kReadErr;
}

std::int32_t LStream::BytesLeft() const
{
    return std::max<std::int32_t>(GetLength() - GetMarker(), 0);
}

std::int32_t LStream::PeekBigOsType(FourCharCode& out)
{
    if (mReadFrom && mLength - mMarker >= 4) {
        out = LoadBigEndian<std::uint32_t>(mReadFrom + mMarker);
        return 4;
    }
    const std::int32_t marker = GetMarker();
    const std::int32_t read = ReadBigOsType(out);
    if (mReadFrom) mMarker = marker;
    else SetMarker(marker, streamFrom_Start);
    return read;
}

std::string LStream::ReadCFString()
{
    std::string text;
    ReadCFString(text);
    return text;
}

namespace {

// The external form as written here (the mark FF FE, then little-endian
// units) of a text whose every unit is ASCII other than NUL, decoded into
// `into`; false, with `into` left in any state, for anything else.
bool decodeAsciiExternal(const unsigned char* bytes, std::size_t count, std::string& into)
{
    if (count < 2 || count % 2 != 0 || bytes[0] != 0xFF || bytes[1] != 0xFE) return false;
    const std::size_t units = (count - 2) / 2;
    if (units == 0) {
        into.clear();
        return true;
    }
    into.resize(units);
    char* out = into.data();
    const unsigned char* unit = bytes + 2;
    unsigned bad = 0;
    for (std::size_t i = 0; i < units; ++i, unit += 2) {
        // Any high byte, a NUL or a low byte of 0x80 or more.
        bad |= unit[1] | unsigned(unit[0] - 1u >= 0x7Fu);
        out[i] = static_cast<char>(unit[0]);
    }
    return bad == 0;
}

} // namespace

void LStream::ReadCFString(std::string& into)
{
    const std::int32_t count = ReadCheckedLength();
    if (mReadFrom) {
        // Decoded where it lies: the count is within the data.
        const unsigned char* bytes = mReadFrom + mMarker;
        mMarker += count;
        if (decodeAsciiExternal(bytes, std::size_t(count), into)) return;
        std::optional<std::string> text =
            fromUtf16External(std::string_view(reinterpret_cast<const char*>(bytes), std::size_t(count)));
        if (!text || text->find('\0') != std::string::npos) LException::Throw(err::kReadErr);
        into = std::move(*text);
        return;
    }
    std::string bytes(static_cast<std::size_t>(count), '\0');
    ReadBlock(bytes.data(), count);
    std::optional<std::string> text = fromUtf16External(bytes);
    if (!text || text->find('\0') != std::string::npos) LException::Throw(err::kReadErr);
    into = std::move(*text);
}

std::int32_t LStream::ReadData(void* buffer, std::int32_t count)
{
    if (count <= 0) return 0;
    GetBytes(buffer, count);
    return count;
}

std::int32_t LStream::PeekData(void* buffer, std::int32_t count)
{
    const std::int32_t marker = GetMarker();
    const std::int32_t read = ReadData(buffer, count);
    SetMarker(marker, streamFrom_Start);
    return read;
}

void LStream::ReserveForWrite(std::size_t bytes)
{
    // The buffer may move: no room may point into it.
    CloseRoom();
    if (mAppendTo) mAppendTo->reserve(mAppendTo->size() + bytes);
}

void LStream::CloseRoom()
{
    if (!mRoom.at) return;
    mAppendTo->resize(static_cast<std::size_t>(mRoom.at - mAppendTo->data()));
    mRoom.at = mRoom.end = nullptr;
}

LStream::WriteRoom::WriteRoom(LStream& stream, std::size_t bytes) : mStream(stream)
{
    if (!stream.mAppendTo || (stream.mRoom.at && std::size_t(stream.mRoom.Left()) >= bytes)) return;
    stream.CloseRoom();
    std::vector<std::uint8_t>& buffer = *stream.mAppendTo;
    const std::size_t at = buffer.size();
    buffer.resize(at + bytes);
    stream.mRoom.at = buffer.data() + at;
    stream.mRoom.end = stream.mRoom.at + bytes;
    mOpened = true;
}

LStream::WriteRoom::~WriteRoom()
{
    // Rooms opened inside this one are gone already: whatever is open is ours.
    if (mOpened) mStream.CloseRoom();
}

void LStream::WriteBlockSlow(const void* buffer, std::int32_t count)
{
    CloseRoom();
    if (mAppendTo) {
        if (count > 0) {
            const auto* bytes = static_cast<const std::uint8_t*>(buffer);
            mAppendTo->insert(mAppendTo->end(), bytes, bytes + count);
        }
        return;
    }
    std::int32_t written = count;
    if (const std::int32_t error = PutBytes(buffer, written); error != 0) LException::Throw(error);
}

namespace {

// A length in front of a block, as its four big-endian bytes.
void writeLength(LStream& stream, std::size_t length)
{
    if (length > std::size_t(std::numeric_limits<std::int32_t>::max()))
        LException::Throw(err::kWriteErr);
    unsigned char bytes[4];
    toBigEndian(static_cast<std::uint32_t>(length), bytes);
    stream.WriteBlock(bytes, 4);
}

} // namespace

namespace {

// Four ASCII bytes as four little-endian UTF-16 units, for a little-endian
// processor.
std::uint64_t Widened(std::uint32_t four)
{
    return std::uint64_t(four & 0xFFu) | std::uint64_t(four & 0xFF00u) << 8 | std::uint64_t(four & 0xFF0000u) << 16 |
           std::uint64_t(four & 0xFF000000u) << 24;
}

// Non-zero when one of the bytes is a NUL or 0x80 or more.
template <typename U>
U NotAscii(U bytes)
{
    constexpr U ones = U(~U(0)) / 0xFF;
    constexpr U highs = ones * 0x80;
    return (bytes & highs) | ((bytes - ones) & ~bytes & highs);
}

} // namespace

bool LStream::WriteAsciiCFStringInRoom(std::string_view text)
{
    const std::size_t size = text.size();
    const std::size_t bytes = 2 + 2 * size;
    if (size > std::size_t(std::numeric_limits<std::int32_t>::max() / 2 - 4) ||
        std::size_t(mRoom.Left()) < 4 + bytes)
        return false;
    std::uint8_t* out = mRoom.at;
    StoreBigEndian(out, static_cast<std::uint32_t>(bytes));
    out[4] = 0xFF;
    out[5] = 0xFE;
    out += 6;
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    std::uint64_t bad = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight characters at a time, then four.
        for (; i + 8 <= size; i += 8, out += 16) {
            std::uint64_t eight;
            std::memcpy(&eight, in + i, 8);
            bad |= NotAscii(eight);
            const std::uint64_t low = Widened(std::uint32_t(eight)), high = Widened(std::uint32_t(eight >> 32));
            std::memcpy(out, &low, 8);
            std::memcpy(out + 8, &high, 8);
        }
        if (i + 4 <= size) {
            std::uint32_t four;
            std::memcpy(&four, in + i, 4);
            bad |= NotAscii(four);
            const std::uint64_t wide = Widened(four);
            std::memcpy(out, &wide, 8);
            i += 4;
            out += 8;
        }
    }
    auto unit = [&](unsigned char byte) {
        bad |= unsigned(byte - 1u >= 0x7Fu);
        *out++ = byte;
        *out++ = 0;
    };
    if constexpr (std::endian::native == std::endian::little) {
        // At most three left.
        switch (size - i) {
        case 3: unit(in[i++]); [[fallthrough]];
        case 2: unit(in[i++]); [[fallthrough]];
        case 1: unit(in[i++]); break;
        default: break;
        }
    } else {
        for (; i < size; ++i) unit(in[i]);
    }
    if (bad != 0) return false;   // the room is still where it was
    mRoom.at = out;
    return true;
}

std::int32_t LStream::WriteCFStringSlow(std::string_view utf8)
{
    // ASCII without NUL characters, appended in place: the mark, then one
    // unit per byte.
    const bool small = utf8.size() < std::size_t(std::numeric_limits<std::int32_t>::max() / 2 - 4);
    if (mAppendTo && small &&
        std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) - 1u < 0x7Fu; })) {
        CloseRoom();
        const std::size_t bytes = 2 + 2 * utf8.size();
        const std::size_t at = mAppendTo->size();
        mAppendTo->resize(at + 4 + bytes);
        unsigned char* out = mAppendTo->data() + at;
        toBigEndian(static_cast<std::uint32_t>(bytes), out);
        out += 4;
        *out++ = 0xFF;
        *out++ = 0xFE;
        for (char c : utf8) {
            *out++ = static_cast<unsigned char>(c);
            *out++ = 0;
        }
        return static_cast<std::int32_t>(bytes) + 4;
    }
    std::string text(utf8);
    std::erase(text, '\0');
    const std::string bytes = toUtf16External(text);
    writeLength(*this, bytes.size());
    WriteBlock(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return static_cast<std::int32_t>(bytes.size()) + 4;
}

std::int32_t LStream::WriteCString(const char* text)
{
    const std::size_t length = text ? std::strlen(text) : 0;
    if (std::size_t(mRoom.Left()) >= 4 + length) {
        StoreBigEndian(mRoom.at, static_cast<std::uint32_t>(length));
        if (length > 0) std::memcpy(mRoom.at + 4, text, length);
        mRoom.at += 4 + length;
        return static_cast<std::int32_t>(length) + 4;
    }
    writeLength(*this, length);
    WriteBlock(text, static_cast<std::int32_t>(length));
    return static_cast<std::int32_t>(length) + 4;
}

std::int32_t LStream::WritePString(const unsigned char* text)
{
    static constexpr unsigned char kEmpty[1] = {0};
    if (!text) text = kEmpty;
    WriteBlock(text, text[0] + 1);
    return text[0] + 1;
}

std::int32_t LStream::WritePtr(const std::vector<char>* block)
{
    if (!block) {
        unsigned char none[4];
        toBigEndian(std::uint32_t(0xFFFFFFFF), none);
        WriteBlock(none, 4);
        return 4;
    }
    writeLength(*this, block->size());
    WriteBlock(block->data(), static_cast<std::int32_t>(block->size()));
    return static_cast<std::int32_t>(block->size()) + 4;
}

std::int32_t LStream::WriteHandle(const BlockHandle& handle)
{
    return WritePtr(handle.get());
}

LStream& LStream::operator<<(double value)
{
    unsigned char bytes[8];
    toBigEndian(std::bit_cast<std::uint64_t>(value), bytes);
    WriteBlock(bytes, 8);
    return *this;
}

void LStream::ReadBlock(void* buffer, std::int32_t count)
{
    if (count < 0) LException::Throw(err::kReadErr);
    if (mReadFrom && mLength - mMarker >= count) {
        if (count > 0) std::memcpy(buffer, mReadFrom + mMarker, std::size_t(count));
        mMarker += count;
        return;
    }
    std::int32_t read = count;
    if (const std::int32_t error = GetBytes(buffer, read); error != 0) LException::Throw(error);
}

std::int32_t LStream::ReadCheckedLengthSlow()
{
    unsigned char bytes[4];
    ReadBlock(bytes, 4);
    const auto length = static_cast<std::int32_t>(fromBigEndian<std::uint32_t>(bytes));
    if (length < 0 || length > BytesLeft()) LException::Throw(err::kReadErr);
    return length;
}

void LStream::FieldRun::ReadCopy(LStream& stream, std::int32_t bytes)
{
    if (bytes < 0 || bytes > kMaxBytes) LException::Throw(err::kReadErr);
    stream.ReadBlock(mCopy, bytes);
    mAt = mCopy;
}

std::int32_t LStream::ReadCString(char* dest, std::size_t destSize)
{
    const std::int32_t length = ReadCheckedLength();
    // Every writer writes a C text from a field of this size: a longer one,
    // or one with a terminator inside, was never written.
    if (destSize == 0 || std::size_t(length) > destSize - 1) LException::Throw(err::kReadErr);
    ReadBlock(dest, length);
    dest[length] = '\0';
    if (std::memchr(dest, '\0', std::size_t(length))) LException::Throw(err::kReadErr);
    return length + 4;
}

std::int32_t LStream::ReadPString(Str255& dest)
{
    unsigned char length = 0;
    ReadBlock(&length, 1);
    ReadBlock(dest + 1, length);
    dest[0] = length;
    return length + 1;
}

std::optional<std::vector<char>> LStream::ReadPtr()
{
    unsigned char bytes[4];
    ReadBlock(bytes, 4);
    const auto size = static_cast<std::int32_t>(fromBigEndian<std::uint32_t>(bytes));
    if (size == -1) return std::nullopt;
    if (size < 0 || size > BytesLeft()) LException::Throw(err::kReadErr);
    std::vector<char> block(static_cast<std::size_t>(size));
    ReadBlock(block.data(), size);
    return block;
}

BlockHandle LStream::ReadHandle()
{
    std::optional<std::vector<char>> block = ReadPtr();
    if (!block) return nullptr;
    return std::make_unique<std::vector<char>>(std::move(*block));
}

LStream& LStream::operator>>(double& value)
{
    unsigned char bytes[8];
    ReadBlock(bytes, 8);
    value = std::bit_cast<double>(fromBigEndian<std::uint64_t>(bytes));
    return *this;
}

} // namespace ch
