#pragma once
// A chapter's message table and the room of its texts, read without trusting the ROM: the
// table is walked only inside the image, and a text's room never reaches past the image,
// into the table's own records or beyond what the page reads of a text.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tsumugi {

struct MessageScan {
    int count = 0;           // messages before the end record (at most 5000)
    bool pastImage = false;  // the table reached the image's end before its end record
};

// Walks the message table at offset: 12-byte records until one whose first 16 bits are
// 0xFFFF, or 5000 records. A record that would run past the image ends the walk with
// pastImage set (the end record needs only its first two bytes inside the image).
MessageScan ScanMessageTable(const uint8_t* rom, uint32_t romSize, uint32_t offset);

// The ROM offset of a message text pointer: a bus address whose top byte is 0x08 or 0x09.
std::optional<uint32_t> MessageTextOffset(uint32_t pointer);

// The most bytes of a message text the page reads, and so the most it writes back.
constexpr int kMessageTextLimit = 256;
// A text may grow up to the next text of its table when that lies this close.
constexpr uint32_t kMessageRoomReach = 128;

enum class MessageTextPlace {
    Invalid,    // the pointer is not a bus address
    PastImage,  // the text would start at or past the image's end
    OnTable,    // the text starts inside the table's own records (end record included)
    Inside,     // a text that may be shown, and written within its room
};

struct MessageTextRoom {
    MessageTextPlace place = MessageTextPlace::Invalid;
    uint32_t offset = 0;  // ROM offset of the text (Inside, OnTable)
    uint32_t limit = 0;   // bytes the text may take, terminator included (0 unless Inside)
};

// The room of each message's text. pointers[k] is message k's text pointer and
// decodedLength(k) the bytes its text takes up to and including the terminator (asked
// only about texts placed Inside). A text may grow up to the smallest pointer of
// the table greater than its own (valid or not) when that lies at most 128 bytes on;
// otherwise it keeps its decoded length. The room also ends at the image's end, at the
// table's records when they follow the text, and after 256 bytes.
std::vector<MessageTextRoom> MessageTextRooms(std::span<const uint32_t> pointers, uint32_t tableOffset,
                                       uint32_t romSize,
                                       const std::function<int(size_t)>& decodedLength);

}  // namespace tsumugi
