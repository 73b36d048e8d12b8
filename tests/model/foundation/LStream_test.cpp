#include "model/foundation/GXDataStream.h"
#include "model/foundation/LDataStream.h"
#include "model/foundation/LException.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ch {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An LDataStream over its own copy of the bytes.
class Reader {
public:
    explicit Reader(Bytes bytes) : mBytes(std::move(bytes)), mStream(mBytes.data(), std::int32_t(mBytes.size())) {}
    LDataStream& operator*() { return mStream; }
    LDataStream* operator->() { return &mStream; }

private:
    Bytes mBytes;
    LDataStream mStream;
};

Bytes textBytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::int32_t expectThrows(const std::function<void()>& action)
{
    try {
        action();
    } catch (const LException& e) {
        return e.GetErrorCode();
    }
    return 0;
}

TEST(LStream, SetMarkerIsClampedToTheData)
{
    struct Case {
        std::int32_t start;
        std::int32_t offset;
        int from;
        std::int32_t expected;
    } cases[] = {
        {0, -5, 1, 0}, {0, 10, 2, 0}, {0, 100, 1, 4}, {0, 1, 2, 3},
        {1, 2, 3, 3},  {3, -5, 3, 0}, {2, 1, 7, 2},   {2, 1, 0, 2},
    };
    for (const auto& c : cases) {
        Reader r(Bytes{1, 2, 3, 4});
        r->SetMarker(c.start, streamFrom_Start);
        EXPECT_EQ(r->SetMarker(c.offset, EStreamFrom(c.from)), c.expected)
            << c.offset << " from " << c.from;
        EXPECT_EQ(r->GetMarker(), c.expected);
    }
    Reader r(Bytes{1, 2, 3, 4});
    r->SetMarker(4, streamFrom_Start);
    r->SetLength(2);
    EXPECT_EQ(r->GetMarker(), 2);
    r->SetLength(100);   // never beyond the attached block
    EXPECT_EQ(r->GetLength(), 4);
}

TEST(LStream, TypedValuesAreBigEndian)
{
    auto data = std::make_shared<GXDataStream::Buffer>();
    GXDataStream out;
    out.setDataObject(data);
    EXPECT_EQ(out.WriteBigOsType(fourCC("PrFr")), 4);
    EXPECT_EQ(out.WriteObjectIdT(-2), 4);
    EXPECT_EQ(out.WriteDateT(20240315), 4);
    EXPECT_EQ(out.WriteAmountTT(1.0), 8);
    EXPECT_EQ(out.WriteQtyT(7), 4);
    EXPECT_EQ(out.WriteEnumT(9), 1);
    EXPECT_EQ(out.WriteLong(258), 4);
    EXPECT_EQ(out.WriteShort(258), 2);
    out << -2.5;
    EXPECT_EQ(out.GetMarker(), 0);   // the appending stream keeps no marker
    EXPECT_EQ(out.GetLength(), 0);

    const Bytes expected = {'P', 'r', 'F', 'r', 0xFF, 0xFF, 0xFF, 0xFE, 0x01, 0x34, 0xD7, 0xBB,
                            0x3F, 0xF0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 9, 0, 0, 1, 2, 1, 2,
                            0xC0, 0x04, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(*data, expected);

    Reader in(*data);
    FourCharCode code = 0;
    ObjectIdT id = 0;
    DateT date = 0;
    AmountT amount = 0;
    QtyT qty = 0;
    EnumT kind = 0;
    std::int32_t number = 0;
    std::int16_t shortNumber = 0;
    double real = 0;
    EXPECT_EQ(in->PeekBigOsType(code), 4);
    EXPECT_EQ(in->GetMarker(), 0);
    EXPECT_EQ(in->ReadBigOsType(code), 4);
    EXPECT_EQ(in->ReadObjectIdT(id), 4);
    EXPECT_EQ(in->ReadDateT(date), 4);
    EXPECT_EQ(in->ReadAmountT(amount), 8);
    EXPECT_EQ(in->ReadQtyT(qty), 4);
    EXPECT_EQ(in->ReadEnumT(kind), 1);
    EXPECT_EQ(in->ReadLong(number), 4);
    EXPECT_EQ(in->ReadShort(shortNumber), 2);
    *in >> real;
    EXPECT_EQ(code, fourCC("PrFr"));
    EXPECT_EQ(id, -2);
    EXPECT_EQ(date, 20240315);
    EXPECT_EQ(amount, 1.0);
    EXPECT_EQ(qty, 7);
    EXPECT_EQ(kind, 9);
    EXPECT_EQ(number, 258);
    EXPECT_EQ(shortNumber, 258);
    EXPECT_EQ(real, -2.5);
    EXPECT_EQ(in->GetMarker(), in->GetLength());
}

TEST(LStream, ReadsAtTheEndReturnShortCountsAndBlocksThrow)
{
    Reader r(Bytes{0x12, 0x34});
    std::int32_t value = 99;
    EXPECT_EQ(r->ReadLong(value), 2);
    EXPECT_EQ(value, 0);   // not half a number
    EXPECT_EQ(r->GetMarker(), 2);

    Reader r2(Bytes{0x12, 0x34});
    char buffer[4];
    EXPECT_EQ(expectThrows([&] { r2->ReadBlock(buffer, 4); }), err::kReadErr);
    Reader r3(Bytes{1, 2, 3});
    double real = 0;
    EXPECT_EQ(expectThrows([&] { *r3 >> real; }), err::kReadErr);

    // The base stream and the appending stream cannot be read.
    GXDataStream gx;
    std::int32_t count = 4;
    EXPECT_EQ(gx.GetBytes(buffer, count), err::kReadErr);
    EXPECT_EQ(count, 0);
    LStream base;
    EXPECT_EQ(base.ReadLong(value), 0);
    count = 4;
    EXPECT_EQ(base.PutBytes(buffer, count), err::kWriteErr);
    EXPECT_EQ(count, 0);
}

TEST(LStream, WritingPastTheBlockIsAnError)
{
    Bytes block(6, 0);
    LDataStream s(block.data(), 6);
    EXPECT_EQ(s.WriteLong(0x01020304), 4);
    EXPECT_EQ(s.WriteLong(0x05060708), 2);   // only what fits
    EXPECT_EQ(block, (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(expectThrows([&] { s.WriteBlock("x", 1); }), err::kWriteErr);
    EXPECT_EQ(expectThrows([&] { s.WriteCString("abc"); }), err::kWriteErr);

    GXDataStream nowhere;   // no buffer attached: nothing written, no error
    EXPECT_NO_THROW(nowhere.WriteBlock("abc", 3));
}

TEST(LStream, CStrings)
{
    auto data = std::make_shared<GXDataStream::Buffer>();
    GXDataStream out;
    out.setDataObject(data);
    EXPECT_EQ(out.WriteCString(""), 4);
    EXPECT_EQ(out.WriteCString("abc"), 7);
    EXPECT_EQ(*data, (Bytes{0, 0, 0, 0, 0, 0, 0, 3, 'a', 'b', 'c'}));

    Reader in(*data);
    char name[35];
    EXPECT_EQ(in->ReadCString(name), 4);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(in->ReadCString(name), 7);
    EXPECT_STREQ(name, "abc");
}

TEST(LStream, TextsNoWriterWritesAreRefused)
{
    // A C text fills at most its field less the terminator and holds no
    // terminator; a Unicode text holds no NUL character.
    const std::string fits(34, 'n'), tooLong(35, 'n');
    char name[35];
    Reader full(concat({{0, 0, 0, 34}, textBytes(fits)}));
    EXPECT_EQ(full->ReadCString(name), 38);
    EXPECT_EQ(std::string(name), fits);

    const Bytes cStrings[] = {
        concat({{0, 0, 0, 35}, textBytes(tooLong)}),
        {0, 0, 0, 3, 'a', 0, 'b'},
    };
    for (const Bytes& bytes : cStrings) {
        Reader r(bytes);
        EXPECT_EQ(expectThrows([&] { r->ReadCString(name); }), err::kReadErr);
    }
    Reader nul(Bytes{0, 0, 0, 6, 0xFF, 0xFE, 'a', 0, 0, 0});
    EXPECT_EQ(expectThrows([&] { nul->ReadCFString(); }), err::kReadErr);

    // The writer leaves such characters out, so what it writes reads back.
    auto data = std::make_shared<GXDataStream::Buffer>();
    GXDataStream out;
    out.setDataObject(data);
    out.WriteCFString(std::string("a\0b", 3));
    Reader back(*data);
    EXPECT_EQ(back->ReadCFString(), "ab");
}

TEST(LStream, HostileLengthsAreRefused)
{
    const Bytes cases[] = {
        {0xFF, 0xFF, 0xFF, 0xFF, 'a'},        // negative
        {0x80, 0, 0, 0, 'a'},                 // very negative
        {0, 0, 0, 5, 'a', 'b'},               // beyond the data
        {0x7F, 0xFF, 0xFF, 0xFF},             // huge
        {0, 0},                               // not even a length
    };
    for (const auto& bytes : cases) {
        char name[35];
        Reader a(bytes), b(bytes), c(bytes);
        EXPECT_EQ(expectThrows([&] { a->ReadCString(name); }), err::kReadErr);
        EXPECT_EQ(expectThrows([&] { b->ReadCFString(); }), err::kReadErr);
        if (bytes.size() >= 4 && bytes[0] == 0xFF) continue;   // -1 is the null block
        EXPECT_EQ(expectThrows([&] { c->ReadPtr(); }), err::kReadErr);
    }
    Reader odd(Bytes{0, 0, 0, 3, 0xFE, 0xFF, 0});
    EXPECT_EQ(expectThrows([&] { odd->ReadCFString(); }), err::kReadErr);
    Reader shortP(Bytes{5, 'a', 'b'});
    Str255 p;
    EXPECT_EQ(expectThrows([&] { shortP->ReadPString(p); }), err::kReadErr);
}

TEST(LStream, UnicodeTextReadsBothByteOrders)
{
    struct Case {
        Bytes bytes;
        std::string text;
    } cases[] = {
        {{0, 0, 0, 6, 0xFE, 0xFF, 0, 'A', 0, 'b'}, "Ab"},
        {{0, 0, 0, 6, 0xFF, 0xFE, 'A', 0, 'b', 0}, "Ab"},
        {{0, 0, 0, 4, 0, 'A', 0, 'b'}, "Ab"},   // no mark: big-endian
        {{0, 0, 0, 2, 0xFF, 0xFE}, ""},
        {{0, 0, 0, 0}, ""},
        {{0, 0, 0, 4, 0xFF, 0xFE, 0xAC, 0x20}, "\u20AC"},
    };
    for (const auto& c : cases) {
        Reader r(c.bytes);
        EXPECT_EQ(r->ReadCFString(), c.text);
        EXPECT_EQ(r->GetMarker(), r->GetLength());
    }

    auto data = std::make_shared<GXDataStream::Buffer>();
    GXDataStream out;
    out.setDataObject(data);
    const std::string text = "Caf\u00E9 \U0001D11E";
    const std::int32_t written = out.WriteCFString(text);
    EXPECT_EQ(written, std::int32_t(data->size()));
    EXPECT_EQ((*data)[3], data->size() - 4);   // the count includes the mark
    Reader in(*data);
    EXPECT_EQ(in->ReadCFString(), text);
}

TEST(LStream, PascalStringsAndBlocks)
{
    auto data = std::make_shared<GXDataStream::Buffer>();
    GXDataStream out;
    out.setDataObject(data);
    const unsigned char pascal[] = {3, 'x', 'y', 'z'};
    EXPECT_EQ(out.WritePString(pascal), 4);
    EXPECT_EQ(out.WritePtr(nullptr), 4);
    const std::vector<char> block = {'q', 0, 'r'};
    EXPECT_EQ(out.WritePtr(&block), 7);

    Reader in(*data);
    Str255 p;
    EXPECT_EQ(in->ReadPString(p), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(p + 1), p[0]), "xyz");
    EXPECT_FALSE(in->ReadPtr().has_value());
    EXPECT_EQ(in->ReadPtr(), block);
}

TEST(LStream, HandlesTravelAsSizedBlocks)
{
    auto data = std::make_shared<GXDataStream::Buffer>();
    GXDataStream out;
    out.setDataObject(data);
    const std::vector<std::vector<char>> blocks = {{'h', 0, 'n', 'd'}, {}};
    EXPECT_EQ(out.WriteHandle(nullptr), 4);
    for (const auto& block : blocks)
        EXPECT_EQ(out.WriteHandle(std::make_unique<std::vector<char>>(block)), std::int32_t(block.size()) + 4);
    EXPECT_EQ(*data, (GXDataStream::Buffer{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 4, 'h', 0, 'n', 'd', 0, 0, 0, 0}));

    Reader in(*data);
    EXPECT_EQ(in->ReadHandle(), nullptr);
    for (const auto& block : blocks) {
        BlockHandle handle = in->ReadHandle();
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(*handle, block);
    }
    EXPECT_EQ(in->GetMarker(), in->GetLength());

    // A size beyond the data, or negative other than -1, gives no block at all.
    for (const Bytes& bytes : {Bytes{0, 0, 0, 9, 'a'}, Bytes{0xFF, 0xFF, 0xFF, 0xFE}, Bytes{0, 0, 0}}) {
        Reader damaged(bytes);
        BlockHandle kept = std::make_unique<std::vector<char>>(1, 'k');
        EXPECT_EQ(expectThrows([&] { kept = damaged->ReadHandle(); }), err::kReadErr);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(*kept, std::vector<char>{'k'});
    }
}

TEST(LStream, PositionAtFindsTheTag)
{
    struct Case {
        std::string data;
        std::int32_t start;
        std::int32_t found;
    } cases[] = {
        {"PrFrxxxx", 0, 0}, {"xxPrFr", 0, 2}, {"xPPrFrz", 0, 2}, {"PrPrFr", 0, 2},
        {"abcdefgPrFr", 0, 7}, {"PrFrPrFr", 1, 4}, {"PrF", 0, -1}, {"nothing here", 0, -1},
        {"", 0, -1},
    };
    for (const auto& c : cases) {
        Reader r(textBytes(c.data));
        r->SetMarker(c.start, streamFrom_Start);
        EXPECT_EQ(r->positionAt(fourCC("PrFr")), c.found) << c.data;
        EXPECT_EQ(r->GetMarker(), c.found < 0 ? r->GetLength() : c.found) << c.data;
    }
}

TEST(LStream, PeekLeavesTheMarker)
{
    Reader r(Bytes{1, 2, 3, 4, 5});
    r->SetMarker(1, streamFrom_Start);
    unsigned char buffer[8] = {};
    EXPECT_EQ(r->PeekData(buffer, 8), 4);
    EXPECT_EQ(buffer[0], 2);
    EXPECT_EQ(r->GetMarker(), 1);
}

TEST(LStream, DataStreamWithoutBlockReadsNothing)
{
    LDataStream s;
    std::int32_t value = 5;
    EXPECT_EQ(s.ReadLong(value), 0);
    EXPECT_EQ(s.GetLength(), 0);
    Bytes bytes = {0, 0, 0, 9};
    s.SetBuffer(bytes.data(), 4);
    EXPECT_EQ(s.ReadLong(value), 4);
    EXPECT_EQ(value, 9);
}

// Appends every write through PutBytes, one call per field: no room, no
// writing in place.
class FieldByField : public GXDataStream {
public:
    std::int32_t PutBytes(const void* buffer, std::int32_t& count) override
    {
        return GXDataStream::PutBytes(buffer, count);
    }
};

TEST(LStream, WriteRoomsChangeNoByte)
{
    // A record's writes: fixed fields and texts of every kind, the ones
    // that are not ASCII or hold a NUL taking the general way.
    auto record = [](LStream& out) {
        out.WriteBigOsType(fourCC("DebT"));
        out.WriteLong(-7);
        out.WriteCString("NoName");
        out.WriteEnumT(1);
        out.WriteCFString("Rent");
        out.WriteCFString("");
        out.WriteCFString("Caf\u00E9 \u20AC");
        out.WriteCFString(std::string("a\0b", 3));
        out.WriteCFString("0123456789 0123456789 0123456789");
        out.WriteAmountTT(1234.5);
        out.WriteShort(258);
    };
    auto plain = std::make_shared<GXDataStream::Buffer>();
    FieldByField expected;
    expected.setDataObject(plain);
    record(expected);

    // Rooms of the right size, too small and nested, opened on a buffer that
    // holds something already.
    for (std::size_t room : {std::size_t(200), std::size_t(0), std::size_t(9), std::size_t(37)}) {
        auto data = std::make_shared<GXDataStream::Buffer>(Bytes{0xAB});
        GXDataStream out;
        out.setDataObject(data);
        {
            LStream::WriteRoom outer(out, room);
            LStream::WriteRoom inner(out, room / 2);
            record(out);
        }
        EXPECT_EQ(*data, concat({{0xAB}, *plain})) << room;
        // Between rooms the buffer holds exactly what was written.
        {
            LStream::WriteRoom again(out, 64);
            out.WriteLong(5);
        }
        EXPECT_EQ(data->size(), plain->size() + 1 + 4) << room;
    }
}

TEST(LStream, FieldRunsAreCheckedOnce)
{
    Reader r(Bytes{0, 0, 0, 5, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0});
    {
        LStream::FieldRun fields(*r, 4 + 8 + 1);
        std::int32_t number = 0;
        double amount = 0.0;
        EnumT flag = 0;
        fields.ReadLong(number);
        fields.ReadAmountT(amount);
        fields.ReadEnumT(flag);
        EXPECT_EQ(number, 5);
        EXPECT_EQ(amount, 1.0);
        EXPECT_EQ(flag, 9);
    }
    EXPECT_EQ(r->GetMarker(), 13);
    // The three bytes left hold no run of four: a record cut short.
    EXPECT_EQ(expectThrows([&] { LStream::FieldRun fields(*r, 4); }), err::kReadErr);
}

} // namespace
} // namespace ch
