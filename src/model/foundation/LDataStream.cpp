#include "model/foundation/LDataStream.h"

#include <algorithm>
#include <cstring>

#include "model/foundation/LException.h"

namespace ch {

LDataStream::LDataStream(void* data, std::int32_t length)
{
    SetBuffer(data, length);
}

void LDataStream::SetBuffer(void* data, std::int32_t length)
{
    mBuffer = data;
    mBlockSize = data ? std::max<std::int32_t>(length, 0) : 0;
    mReadFrom = static_cast<const unsigned char*>(data);
    LStream::SetLength(mBlockSize);
}

void LDataStream::SetLength(std::int32_t length)
{
    LStream::SetLength(std::min(length, mBlockSize));
}

std::int32_t LDataStream::FitCount(std::int32_t& count, std::int32_t error) const
{
    const std::int32_t left = BytesLeft();
    if (count < 0) {
        count = 0;
        return error;
    }
    if (count > left) {
        count = left;
        return error;
    }
    return 0;
}

std::int32_t LDataStream::PutBytes(const void* buffer, std::int32_t& count)
{
    const std::int32_t error = FitCount(count, err::kWriteErr);
    if (count > 0) std::memcpy(static_cast<char*>(mBuffer) + mMarker, buffer, std::size_t(count));
    mMarker += count;
    return error;
}

std::int32_t LDataStream::GetBytes(void* buffer, std::int32_t& count)
{
    const std::int32_t error = FitCount(count, err::kReadErr);
    if (count > 0) std::memcpy(buffer, static_cast<const char*>(mBuffer) + mMarker, std::size_t(count));
    mMarker += count;
    return error;
}

} // namespace ch
