#include "core/message_table.h"

#include <algorithm>

#include "core/bytes.h"
#include "core/layout/scenario.h"

namespace tsumugi {

namespace mr = layout::message_record;

MessageScan ScanMessageTable(const uint8_t* rom, uint32_t romSize, uint32_t offset) {
    MessageScan scan;
    if (rom == nullptr) return scan;
    for (int k = 0; k < mr::kMaxCount; ++k) {
        const uint64_t at = offset + static_cast<uint64_t>(mr::kSize) * static_cast<uint32_t>(k);
        if (at + 2 > romSize) {
            scan.pastImage = true;
            return scan;
        }
        if (Read16(rom + at + mr::kProgress) == 0xFFFF) return scan;
        if (at + mr::kSize > romSize) {
            scan.pastImage = true;
            return scan;
        }
        ++scan.count;
    }
    return scan;
}

std::optional<uint32_t> MessageTextOffset(uint32_t pointer) {
    if (!IsBusAddress(pointer)) return std::nullopt;
    return pointer - kBusBase;
}

std::vector<MessageTextRoom> MessageTextRooms(std::span<const uint32_t> pointers, uint32_t tableOffset,
                                       uint32_t romSize,
                                       const std::function<int(size_t)>& decodedLength) {
    std::vector<uint32_t> sorted(pointers.begin(), pointers.end());
    std::sort(sorted.begin(), sorted.end());
    const uint64_t tableEnd = tableOffset + (static_cast<uint64_t>(pointers.size()) + 1) * mr::kSize;

    std::vector<MessageTextRoom> rooms(pointers.size());
    for (size_t k = 0; k < pointers.size(); ++k) {
        MessageTextRoom& room = rooms[k];
        const std::optional<uint32_t> offset = MessageTextOffset(pointers[k]);
        if (!offset) continue;
        room.offset = *offset;
        if (*offset >= romSize) {
            room.place = MessageTextPlace::PastImage;
            continue;
        }
        if (*offset >= tableOffset && *offset < tableEnd) {
            room.place = MessageTextPlace::OnTable;
            continue;
        }
        room.place = MessageTextPlace::Inside;
        uint64_t want = 0;
        const auto next = std::upper_bound(sorted.begin(), sorted.end(), pointers[k]);
        if (next != sorted.end() && *next - pointers[k] <= kMessageRoomReach) {
            want = *next - pointers[k];
        } else {
            want = static_cast<uint64_t>(std::max(0, decodedLength(k)));
        }
        want = std::min<uint64_t>(want, kMessageTextLimit);
        want = std::min<uint64_t>(want, romSize - *offset);
        if (tableOffset > *offset) want = std::min<uint64_t>(want, tableOffset - *offset);
        room.limit = static_cast<uint32_t>(want);
    }
    return rooms;
}

}  // namespace tsumugi
