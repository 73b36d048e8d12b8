#pragma once
// A stream over one memory block that it does not own: the file's bytes when a
// document is opened. Reads and writes stop at the length; what fits is copied
// and the error says the rest did not.

#include <cstdint>

#include "model/foundation/LStream.h"

namespace ch {

class LDataStream : public LStream {
public:
    LDataStream() = default;
    LDataStream(void* data, std::int32_t length);

    // Attaches a block and sets the length (a marker beyond it moves to it).
    void SetBuffer(void* data, std::int32_t length);
    void* GetBuffer() const { return mBuffer; }

    // Never beyond the attached block.
    void SetLength(std::int32_t length) override;

    std::int32_t PutBytes(const void* buffer, std::int32_t& count) override;
    std::int32_t GetBytes(void* buffer, std::int32_t& count) override;

private:
    // Cuts count to the bytes left; the error when it had to.
    std::int32_t FitCount(std::int32_t& count, std::int32_t error) const;

    void* mBuffer = nullptr;
    std::int32_t mBlockSize = 0;
};

} // namespace ch
