#include "core/layout/pilots.h"
#include "editors/pilots/pilot_spirit_dlg.h"
#include "pilot_slot_fixture.h"

namespace {

using namespace testing_ui;

class PilotSpiritDlgTest : public PilotSlotTest<CPilotSpiritDlg> {
protected:
    PilotSpiritDlgTest()
        : PilotSlotTest(
              {"pilot-spirits",
               u"パイロット精神",
               tsumugi::NameKind::Spirit,
               {QStringLiteral("精神コマンド"), QStringLiteral("LV"), QStringLiteral("SP")}}) {}
};

TEST_F(PilotSpiritDlgTest, OpenBrowseAndOkChangeNoByte) { ExpectOpenBrowseAndOkChangeNoByte(); }

TEST_F(PilotSpiritDlgTest, StoresEveryFieldAtItsOffsetAndNeverTheBytesBetween) {
    for (uint32_t gap : {6u, 7u, 14u, 15u, 22u, 23u}) Record(3)[gap] = 0xA5;
    // Fields come slot by slot: command, level, cost. Commands from 2 to "none", numbers
    // from 0 to 255.
    ExpectEveryFieldStoredAndShownBack(3, [](int k) -> uint32_t {
        if (k % 3 == 0) return k == 15 ? 0xFF : static_cast<uint32_t>(k * 2 + 2);
        return k == 1 ? 0 : k == 2 ? 255 : static_cast<uint32_t>(k * 13);
    });
}

TEST_F(PilotSpiritDlgTest, SlotBytesMapToItemsAndBack) {
    const SlotCase cases[] = {{0, 0, 0},      {32, 32, 32},    {0xFF, 33, 0xFF},
                              {33, -1, 0xFF}, {200, -1, 0xFF}, {254, -1, 0xFF}};
    ExpectSlotBytesMapToItemsAndBack(5, cases);
}

// Every box is checked before anything is written: a refusal leaves the record as it was.
TEST_F(PilotSpiritDlgTest, RefusedNumberWritesNothingAndKeepsThePilot) {
    const BadEntry cases[] = {
        {u"LV1", u"300"}, {u"SP6", u"256"}, {u"LV4", u"abc"}, {u"SP2", u"-1"}, {u"LV6", u""}};
    ExpectRefusals(cases, false);
}

TEST_F(PilotSpiritDlgTest, EnterDoesNothingAndCancelStoresNothing) {
    ExpectEnterDoesNothingAndCancelStoresNothing();
}

TEST_F(PilotSpiritDlgTest, ControlsAreNamedAfterTheDescriptorAndTabGoesRowByRow) {
    ExpectControlsNamedAfterTheDescriptor();
}

}  // namespace
