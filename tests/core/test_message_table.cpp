// A chapter's message table walked inside the image, and the room of each text.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/bytes.h"
#include "core/message_table.h"

namespace tsumugi {
namespace {

constexpr uint32_t kBus = 0x08000000;

// A zeroed image of size bytes with an end record after count records at offset (when the
// image holds its first two bytes).
std::vector<uint8_t> TableImage(uint32_t size, uint32_t offset, int count) {
    std::vector<uint8_t> rom(size, 0x00);
    const uint64_t end = offset + 12ull * static_cast<uint32_t>(count);
    if (count >= 0 && end + 2 <= size) Write16(rom.data() + end, 0xFFFF);
    return rom;
}

TEST(MessageTableScan, CountsRecordsWithinTheImage) {
    struct Case {
        const char* what;
        uint32_t size, offset;
        int endAt;  // index of the end record; -1: none
        int count;
        bool pastImage;
    };
    const Case cases[] = {
        {"end record after three", 4096, 100, 3, 3, false},
        {"end record first", 4096, 100, 0, 0, false},
        {"no end record within 5000", 70000, 4, -1, 5000, false},
        {"end record at 5000 is never read", 70000, 4, 5000, 5000, false},
        {"end record's two bytes end the image", 100 + 36 + 2, 100, 3, 3, false},
        {"end record cut before its second byte", 100 + 36 + 1, 100, 3, 3, true},
        {"a record cut by the image's end", 100 + 30, 100, -1, 2, true},
        {"table runs into the image's end", 4096, 4000, -1, 8, true},
        {"offset past the image", 4096, 5000, -1, 0, true},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> rom = TableImage(c.size, c.offset, c.endAt);
        const MessageScan scan = ScanMessageTable(rom.data(), c.size, c.offset);
        EXPECT_EQ(scan.count, c.count) << c.what;
        EXPECT_EQ(scan.pastImage, c.pastImage) << c.what;
    }
    EXPECT_EQ(ScanMessageTable(nullptr, 0, 0).count, 0);
}

TEST(MessageTableScan, TextPointersAreBusAddresses) {
    EXPECT_EQ(MessageTextOffset(0x08000000), 0u);
    EXPECT_EQ(MessageTextOffset(0x0826B840), 0x26B840u);
    EXPECT_EQ(MessageTextOffset(0x09000010), 0x1000010u);
    EXPECT_EQ(MessageTextOffset(0x09FFFFFF), 0x1FFFFFFu);
    for (uint32_t bad : {0u, 0x26B840u, 0x07FFFFFFu, 0x0A000000u, 0xFFFFFFFFu})
        EXPECT_FALSE(MessageTextOffset(bad)) << std::hex << bad;
}

struct RoomCase {
    const char* what;
    std::vector<uint32_t> pointers;  // bus addresses
    uint32_t table;
    uint32_t romSize;
    int decoded;  // every text's decoded length
    std::vector<MessageTextPlace> places;
    std::vector<uint32_t> limits;
};

TEST(MessageTextRooms, RoomReachesTheNextTextOrKeepsTheDecodedLength) {
    using P = MessageTextPlace;
    constexpr uint32_t p = kBus + 0x2000, kImage = 0x10000;
    const RoomCase cases[] = {
        {"next 16 on; next 512 on; none", {p, p + 16, p + 512}, 0x100, kImage, 20,
         {P::Inside, P::Inside, P::Inside}, {16, 20, 20}},
        {"pointers compared in any order", {p + 512, p, p + 16}, 0x100, kImage, 20,
         {P::Inside, P::Inside, P::Inside}, {20, 16, 20}},
        {"shared text: same limit", {p, p, p + 40}, 0x100, kImage, 9,
         {P::Inside, P::Inside, P::Inside}, {40, 40, 9}},
        {"128 bytes on is room, 129 is not", {p, p + 128, p + 257}, 0x100, kImage, 7,
         {P::Inside, P::Inside, P::Inside}, {128, 7, 7}},
        {"an invalid pointer still ends the room", {0x09FFFFF0, 0x0A000000}, 0x100, 0x2000000, 5,
         {P::Inside, P::Invalid}, {16, 0}},
        {"past the image", {kBus + kImage, kBus + kImage - 4}, 0x100, kImage, 30,
         {P::PastImage, P::Inside}, {0, 4}},
        {"never more than 256 bytes", {p}, 0x100, kImage, 258, {P::Inside}, {256}},
        {"the table right behind the text ends its room", {p, p + 100}, 0x2000 + 10, kImage, 50,
         {P::Inside, P::Inside}, {10, 50}},
        {"texts on a record and on the end record", {kBus + 0x100 + 12, kBus + 0x100 + 24}, 0x100, kImage, 5,
         {P::OnTable, P::OnTable}, {0, 0}},
        {"a text right after the end record", {kBus + 0x100 + 24}, 0x100, kImage, 5, {P::Inside}, {5}},
    };
    for (const RoomCase& c : cases) {
        const std::vector<MessageTextRoom> rooms =
            MessageTextRooms(c.pointers, c.table, c.romSize, [&](size_t) { return c.decoded; });
        ASSERT_EQ(rooms.size(), c.pointers.size()) << c.what;
        for (size_t k = 0; k < rooms.size(); ++k) {
            EXPECT_EQ(rooms[k].place, c.places[k]) << c.what << " #" << k;
            EXPECT_EQ(rooms[k].limit, c.limits[k]) << c.what << " #" << k;
            if (rooms[k].place != P::Invalid) {
                EXPECT_EQ(rooms[k].offset, c.pointers[k] - kBus) << c.what;
            }
        }
    }
}

TEST(MessageTextRooms, AsksTheDecodedLengthOnlyOfTextsWithoutANearNeighbour) {
    const std::vector<uint32_t> pointers = {kBus + 0x1000, kBus + 0x1010, 0, kBus + 0x9000};
    std::set<size_t> asked;
    const std::vector<MessageTextRoom> rooms = MessageTextRooms(pointers, 0x100, 0x8000, [&](size_t k) {
        asked.insert(k);
        return static_cast<int>(k) + 3;
    });
    EXPECT_EQ(asked, (std::set<size_t>{1}));
    EXPECT_EQ(rooms[0].limit, 16u);
    EXPECT_EQ(rooms[1].limit, 4u);
    EXPECT_EQ(rooms[3].place, MessageTextPlace::PastImage);
}

}  // namespace
}  // namespace tsumugi
