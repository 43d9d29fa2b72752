#include "core/address.h"

#include <gtest/gtest.h>

#include <vector>

namespace tsumugi {
namespace {

TEST(ParseAddress, OffsetAndBusFormsReadTheSameOffset) {
    EXPECT_EQ(ParseAddress("0x080C390C"), 0xC390Cu);
    EXPECT_EQ(ParseAddress("080C390C"), 0xC390Cu);
    EXPECT_EQ(ParseAddress("C390C"), 0xC390Cu);
    EXPECT_EQ(ParseAddress("c390c"), 0xC390Cu);
    EXPECT_EQ(ParseAddress("FFFFFF"), 0xFFFFFFu);
    EXPECT_EQ(ParseAddress("9000000"), 0x1000000u);
    EXPECT_EQ(ParseAddress("09FFFFFF"), 0x1FFFFFFu);
    EXPECT_EQ(ParseAddress(""), 0u);
}

TEST(ParseAddress, RejectsBadCharactersAndAddressesOffTheBus) {
    EXPECT_FALSE(ParseAddress("0X080C390C"));  // only a lower-case x ends the number
    EXPECT_FALSE(ParseAddress("0A000000"));
    EXPECT_FALSE(ParseAddress("1000000"));
    EXPECT_FALSE(ParseAddress("7FFFFFF"));
    EXPECT_FALSE(ParseAddress("FFFFFFFF"));
    EXPECT_FALSE(ParseAddress(" C390C"));
    EXPECT_FALSE(ParseAddress("C390G"));
}

TEST(ParseAddress, ReadsFifteenCharactersAndEightDigits) {
    // Digits past the eighth from the right add nothing.
    EXPECT_EQ(ParseAddress("1080C390C"), 0xC390Cu);
    // The sixteenth character is never read, so a bad one there does not matter.
    EXPECT_EQ(ParseAddress("0000000000C390Cz"), 0xC390Cu);
    EXPECT_FALSE(ParseAddress("000000000C390Cz"));
}

TEST(AddressText, WritesEightUpperCaseDigitsThatReadBack) {
    EXPECT_EQ(AddressText(0xC390C), "000C390C");
    EXPECT_EQ(AddressText(0), "00000000");
    // Past 16 MiB the plain form would read back as no address; the bus form does.
    EXPECT_EQ(AddressText(0x1000000), "09000000");
    for (uint32_t offset : {0u, 0xABCDEFu, 0xFFFFFFu, 0x1000000u, 0x1FFFFFEu})
        EXPECT_EQ(ParseAddress(AddressText(offset)), offset);
}

// "A", FF, 00 00, "BC", FF, FF, "D", FF
const std::vector<uint8_t> kStrings = {0x41, 0xFF, 0x00, 0x00, 0x42, 0x43, 0xFF, 0xFF, 0x44, 0xFF};

TEST(FindNextString, SkipsFillerAndStopsAtAnEmptyString) {
    const uint8_t* rom = kStrings.data();
    const auto size = static_cast<uint32_t>(kStrings.size());
    EXPECT_EQ(FindNextString(rom, size, 0), 4u);
    EXPECT_EQ(FindNextString(rom, size, 1), 4u);  // the 0xFF at the offset itself counts
    EXPECT_EQ(FindNextString(rom, size, 4), 7u);  // the empty string right after "BC"
    EXPECT_EQ(FindNextString(rom, size, 7), 8u);
    EXPECT_FALSE(FindNextString(rom, size, 8));  // the last string runs to the image end
    EXPECT_FALSE(FindNextString(rom, size, 10));
}

TEST(FindNextString, NeverLooksPastTheImageEnd) {
    const std::vector<uint8_t> rom = {0x41, 0x42, 0x43};
    EXPECT_FALSE(FindNextString(rom.data(), 3, 0));
    const std::vector<uint8_t> trailing = {0x41, 0xFF, 0x00, 0x00};
    EXPECT_FALSE(FindNextString(trailing.data(), 4, 0));
}

TEST(FindNextString, GivesUpAfterSixteenMebibytes) {
    std::vector<uint8_t> rom(0x1000004, 0x41);
    rom[0x1000001] = 0xFF;
    EXPECT_FALSE(FindNextString(rom.data(), static_cast<uint32_t>(rom.size()), 0xFFFFF0));
    rom[0xFFFFFF] = 0xFF;
    EXPECT_EQ(FindNextString(rom.data(), static_cast<uint32_t>(rom.size()), 0xFFFFF0), 0x1000000u);
}

TEST(FindNextString, WalksTheExtensionAreaToTheImageEnd) {
    std::vector<uint8_t> rom(0x1000008, 0x41);
    rom[0x1000002] = 0xFF;
    rom[0x1000003] = 0x00;
    const auto size = static_cast<uint32_t>(rom.size());
    EXPECT_EQ(FindNextString(rom.data(), size, 0x1000000), 0x1000004u);
    EXPECT_EQ(FindNextString(rom.data(), size, 0x1000002), 0x1000004u);
    EXPECT_FALSE(FindNextString(rom.data(), size, 0x1000003));  // no 0xFF up to the end
    EXPECT_FALSE(FindNextString(rom.data(), size, size - 1));
}

TEST(FindPrevString, MovesToTheStartOfThePrecedingString) {
    const uint8_t* rom = kStrings.data();
    const auto size = static_cast<uint32_t>(kStrings.size());
    EXPECT_EQ(FindPrevString(rom, size, 8), 7u);  // from "D" back to the empty string
    // An empty string's own 0xFF is the first one found, so "back" stays on it.
    EXPECT_EQ(FindPrevString(rom, size, 7), 7u);
    EXPECT_EQ(FindPrevString(rom, size, 6), 4u);  // from the end of "BC" to its start
    EXPECT_EQ(FindPrevString(rom, size, 9), 8u);  // an 0xFF at the offset counts
    EXPECT_FALSE(FindPrevString(rom, size, 4));   // only one 0xFF before "BC"
    EXPECT_FALSE(FindPrevString(rom, size, 0));
}

TEST(FindPrevString, StartsInsideTheImage) {
    const uint8_t* rom = kStrings.data();
    EXPECT_EQ(FindPrevString(rom, static_cast<uint32_t>(kStrings.size()), 0xFFFFFF), 8u);
    EXPECT_FALSE(FindPrevString(rom, 0, 5));
}

}  // namespace
}  // namespace tsumugi
