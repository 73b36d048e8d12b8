#pragma once
// A write-only stream that appends to a growing buffer: the model stream when
// a document is saved. The buffer is shared with whoever attached it (the
// document appends its own part after the model). Its marker and length stay
// 0; it cannot be read.

#include <cstdint>
#include <memory>
#include <vector>

#include "model/foundation/LStream.h"

namespace ch {

class GXDataStream : public LStream {
public:
    using Buffer = std::vector<std::uint8_t>;

    GXDataStream() = default;

    // Replaces the buffer appended to (null: writes go nowhere).
    void setDataObject(std::shared_ptr<Buffer> data);
    const std::shared_ptr<Buffer>& dataObject() const { return mData; }

    // Appends; never fails.
    std::int32_t PutBytes(const void* buffer, std::int32_t& count) override;
    // Copies nothing: -19 (count shortened) when marker + count exceeds the length.
    std::int32_t GetBytes(void* buffer, std::int32_t& count) override;

private:
    std::shared_ptr<Buffer> mData;
};

} // namespace ch
