#pragma once
// An owned heap block with its capacity. Allocating frees the old block first; a failed
// allocation leaves a null block of capacity 0.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tsumugi {

class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(size_t size) { Allocate(size); }
    ByteBuffer(ByteBuffer&&) noexcept = default;
    ByteBuffer& operator=(ByteBuffer&&) noexcept = default;

    // Frees any block held, then allocates size bytes (uninitialised). False on failure.
    bool Allocate(size_t size);
    void Free();

    uint8_t* Data() { return m_pData.get(); }
    const uint8_t* Data() const { return m_pData.get(); }
    size_t Size() const { return m_nSize; }
    bool Empty() const { return m_nSize == 0; }

private:
    std::unique_ptr<uint8_t[]> m_pData;
    size_t m_nSize = 0;
};

}  // namespace tsumugi
