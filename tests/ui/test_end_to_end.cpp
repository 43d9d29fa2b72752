// The whole road a modder takes: open the demo ROM, edit a record in the real editor, close
// it with OK, save the codes, write them into the ROM file in place; and the same road
// left with Cancel.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "core/bytes.h"
#include "core/regions.h"
#include "main_dlg_fixture.h"
#include "ui/controls.h"

namespace testing_ui {
namespace {

using ui::MsgResult;

// Drives a real editor: types text into the box labelled box, then presses button.
std::function<int(QDialog*)> TypeAndPress(const char16_t* box, const QString& text, const char16_t* button) {
    return [box, text, button](QDialog* d) {
        d->show();
        ui::Edit* edit = nullptr;
        for (ui::Edit* e : d->findChildren<ui::Edit*>())
            if (e->accessibleName() == Q(box)) edit = e;
        EXPECT_NE(edit, nullptr) << "no box " << QString::fromUtf16(box).toStdString();
        if (edit) edit->setText(text);
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == Q(button)) b->click();
        EXPECT_FALSE(d->isVisible());
        return d->result();
    };
}

class EndToEndTest : public MainDlgTest {};

TEST_F(EndToEndTest, UnitEditReachesTheCodeFileAndTheRomOnDisk) {
    const std::vector<uint8_t> before = Demo().bytes;
    const std::string rom = OwnRom(before);
    Load(rom);
    const uint32_t maxHp = tsumugi::kRegionTable[0].offset;  // unit 0, bytes 0-3

    m_services.modal = TypeAndPress(u"最大HP", QStringLiteral("12345"), u"OK");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kUnit));
    ASSERT_EQ(m_dlg.m_codes.Size(), 1u);
    EXPECT_EQ(m_dlg.m_codes.Find(maxHp), std::optional<uint16_t>(12345));

    const std::string codeFile = m_files.File("codes.txt");
    m_services.files = {QString::fromStdString(codeFile)};
    Click(u"保存");
    EXPECT_EQ(tsumugi::testing::ReadText(codeFile), "080C38C4:3039\r\n");

    m_services.answers = {MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
    std::vector<uint8_t> expected = before;
    tsumugi::Write16(expected.data() + maxHp, 12345);
    EXPECT_TRUE(tsumugi::testing::ReadBytes(rom) == expected) << "only the coded word changes on disk";
}

TEST_F(EndToEndTest, PilotEditBecomesOneCodeAndCancelChangesNothing) {
    LoadDemo();
    const std::vector<uint8_t> before = Demo().bytes;
    const uint32_t sp = tsumugi::kRegionTable[1].offset + 4;  // pilot 0, bytes 4-5

    m_services.modal = TypeAndPress(u"SP", QStringLiteral("77"), u"ｷｬﾝｾﾙ");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kPilotStatus));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(before));

    m_services.modal = TypeAndPress(u"SP", QStringLiteral("77"), u"OK");
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kPilotStatus));
    ASSERT_EQ(m_dlg.m_codes.Size(), 1u);
    EXPECT_EQ(m_dlg.m_codes.Find(sp), std::optional<uint16_t>(77));
}

TEST_F(EndToEndTest, RefusedNumberKeepsTheEditorOpenUntilCancelled) {
    LoadDemo();
    const std::vector<uint8_t> before = Demo().bytes;
    m_services.modal = [](QDialog* d) {
        d->show();
        for (ui::Edit* e : d->findChildren<ui::Edit*>())
            if (e->accessibleName() == Q(u"乗り換え")) e->setText(QStringLiteral("256"));
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == Q(u"OK")) b->click();
        EXPECT_TRUE(d->isVisible()) << "a refused store keeps the editor open";
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == Q(u"ｷｬﾝｾﾙ")) b->click();
        return d->result();
    };
    ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kPilotStatus));
    EXPECT_EQ(m_services.Texts(), std::vector<QString>{Q(u"0 から 255 までの整数を入力してください。")});
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(before)) << "what the refused store wrote is undone";
}

}  // namespace
}  // namespace testing_ui
