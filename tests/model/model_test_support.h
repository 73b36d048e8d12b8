#pragma once
// Shared pieces of the model tests: a fixed environment (clock, defaults,
// alerts, decimals), saving and loading through the model stream, hand-made
// records, and a model object whose answers a test sets.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/CDocAccounting.h"
#include "model/CNonVisual.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/GXDataStream.h"
#include "model/foundation/LDataStream.h"
#include "model/foundation/LListener.h"
#include "model/foundation/LStream.h"
#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/user_defaults.h"
#include "platform/core/unicode.h"

namespace ch::test {

using ByteVector = std::vector<std::uint8_t>;

// Today is fixed, the model's defaults are registered, alerts are recorded and
// the application works with 2 decimals; everything is restored afterwards.
class ModelEnvironment {
public:
    explicit ModelEnvironment(CalendarDate today = {2024, 3, 15})
        : mClock(today), mDefaultsScope(mDefaults), mAlertScope(mAlerts)
    {
        registerModelDefaults(mDefaults);
        setNameOrderLocale("en_US");
        mDecimals = CDecimal::getNrOfDecimals();
        CDecimal::putNrOfDecimals(2);
    }
    ~ModelEnvironment() { CDecimal::putNrOfDecimals(mDecimals); }
    ModelEnvironment(const ModelEnvironment&) = delete;
    ModelEnvironment& operator=(const ModelEnvironment&) = delete;

    RecordingAlertPresenter& alerts() { return mAlerts; }
    ScopedFixedClock& clock() { return mClock; }

private:
    ScopedFixedClock mClock;
    UserDefaults mDefaults;
    ScopedUserDefaults mDefaultsScope;
    RecordingAlertPresenter mAlerts;
    ScopedAlertPresenter mAlertScope;
    long mDecimals = 2;
};

// Writes with a GXDataStream the way the document saves.
class StreamWriter {
public:
    StreamWriter() : mData(std::make_shared<GXDataStream::Buffer>()) { mStream.setDataObject(mData); }
    LStream* operator->() { return &mStream; }
    LStream* stream() { return &mStream; }
    const ByteVector& bytes() const { return *mData; }

private:
    std::shared_ptr<GXDataStream::Buffer> mData;
    GXDataStream mStream;
};

// Reads from a private copy of the bytes the way the document opens a file.
class StreamReader {
public:
    explicit StreamReader(ByteVector bytes) : mBytes(std::move(bytes))
    {
        mStream.SetBuffer(mBytes.data(), static_cast<std::int32_t>(mBytes.size()));
    }
    LDataStream* operator->() { return &mStream; }
    LDataStream* stream() { return &mStream; }

private:
    ByteVector mBytes;
    LDataStream mStream;
};

inline ByteVector Save(CDocAccounting& root)
{
    StreamWriter writer;
    root.DoSave(writer.stream());
    return writer.bytes();
}

inline bool Load(CDocAccounting& root, const ByteVector& bytes)
{
    StreamReader reader(bytes);
    return root.initFromStream(reader.stream());
}

// A settings record as a writer of the given version made it: the fields of
// that version, with recognisable values.
inline void WriteSettingsRecord(LStream* w, FourCharCode recordVersion, ObjectIdT unspecifiedExpense = 3,
                                std::int32_t decimals = 2)
{
    using namespace version;
    w->WriteBigOsType(type::kPreference);
    w->WriteObjectIdT(1);
    w->WriteCString("Settings");
    w->WriteEnumT(status::kNormal);
    w->WriteBigOsType(recordVersion);
    w->WriteEnumT(1);
    w->WriteCString("pw");
    w->WriteCString("Euro");
    w->WriteCString("European currency");
    for (ObjectIdT id : {11, 12, 13, unspecifiedExpense, 15, 21, 22, 23, 24, 25, 26}) w->WriteObjectIdT(id);
    w->WriteDateT(20231231);   // last VAT
    w->WriteDateT(20240101);
    w->WriteDateT(20241231);
    w->WriteObjectIdT(31);
    w->WriteObjectIdT(32);
    w->WriteDateT(20230101);
    w->WriteDateT(20231231);
    w->WriteDateT(1);          // year start
    w->WriteDateT(12);         // year end
    w->WriteEnumT(1);
    w->WriteEnumT(2);
    w->WriteEnumT(3);
    if (AtLeast(recordVersion, k1_00)) w->WriteObjectIdT(41);
    if (AtLeast(recordVersion, k1_05)) w->WriteObjectIdT(42);
    if (AtLeast(recordVersion, k1_06)) w->WriteLong(decimals);
    if (AtLeast(recordVersion, k1_07))
        for (ObjectIdT id : {51, 52, 53, 54, 55}) w->WriteObjectIdT(id);
    if (AtLeast(recordVersion, k1_08))
        for (ObjectIdT id : {56, 57}) w->WriteObjectIdT(id);
    if (AtLeast(recordVersion, k1_09))
        for (ObjectIdT id : {61, 62, 63, 64, 65, 66, 67, 68, 69}) w->WriteObjectIdT(id);
    if (AtLeast(recordVersion, k1_11))
        for (ObjectIdT id : {71, 72}) w->WriteObjectIdT(id);
    if (AtLeast(recordVersion, k2_00))
        for (ObjectIdT id : {81, 82}) w->WriteObjectIdT(id);
}

// A model object whose kind and answers a test chooses.
class TestObject : public CNonVisual {
public:
    explicit TestObject(FourCharCode typeCode = type::kNone, ObjectIdT id = -1)
        : CNonVisual(id)
    {
        SetObjectType(typeCode);
    }
    TestObject(FourCharCode typeCode, ObjectIdT id, const char* name) : TestObject(typeCode, id)
    {
        Put_Name(name);
    }

    double Get_Amount() const override { return amount; }
    DateT Get_SortDate() const override { return date; }
    bool IsOnAccount(CAccount* account) const override { return account && account == usesAccount; }
    bool IsOnExpenseType(CExpenseType* category) const override
    {
        return category && category == usesCategory;
    }

    double amount = 0.0;
    DateT date = 0;
    CAccount* usesAccount = nullptr;
    CExpenseType* usesCategory = nullptr;
};

// Collects the messages of the broadcasters it listens to.
class MessageLog : public LListener {
public:
    struct Entry {
        MessageT message;
        void* param;
    };
    void ListenToMessage(MessageT message, void* param) override { entries.push_back({message, param}); }
    std::vector<MessageT> messages() const
    {
        std::vector<MessageT> numbers;
        for (const Entry& entry : entries) numbers.push_back(entry.message);
        return numbers;
    }
    std::vector<Entry> entries;
};

} // namespace ch::test
