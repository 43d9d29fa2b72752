#include "core/byte_buffer.h"

#include <new>

namespace tsumugi {

bool ByteBuffer::Allocate(size_t size) {
    Free();
    if (size == 0) return true;
    m_pData.reset(new (std::nothrow) uint8_t[size]);
    if (!m_pData) return false;
    m_nSize = size;
    return true;
}

void ByteBuffer::Free() {
    m_pData.reset();
    m_nSize = 0;
}

}  // namespace tsumugi
