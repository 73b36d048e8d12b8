#include "model/foundation/GXDataStream.h"

#include <algorithm>
#include <typeinfo>

#include "model/foundation/LException.h"

namespace ch {

void GXDataStream::setDataObject(std::shared_ptr<Buffer> data)
{
    CloseRoom();
    mData = std::move(data);
    // Writes are appended in place, without a call per write, unless a
    // derived stream wants to see each PutBytes.
    mAppendTo = typeid(*this) == typeid(GXDataStream) ? mData.get() : nullptr;
}

std::int32_t GXDataStream::PutBytes(const void* buffer, std::int32_t& count)
{
    if (count < 0) count = 0;
    if (mData && count > 0) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        mData->insert(mData->end(), bytes, bytes + count);
    }
    return 0;
}

std::int32_t GXDataStream::GetBytes(void*, std::int32_t& count)
{
    if (std::int64_t(mMarker) + count > mLength) {
        count = std::max<std::int32_t>(mLength - mMarker, 0);
        return err::kReadErr;
    }
    return 0;
}

} // namespace ch
