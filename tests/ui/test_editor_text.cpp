// Names as the editors store them: characters whose cp932 code changes on the way through
// Unicode, and names too long for their field.
#include <QTemporaryDir>
#include <fstream>

#include "core/layout/pilots.h"
#include "core/layout/units.h"
#include "core/text_codec.h"
#include "editor_fixture.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/units/unit_dlg.h"

namespace {

using namespace testing_ui;
namespace ur = tsumugi::layout::unit_record;
namespace pr = tsumugi::layout::pilot_record;

class EditorTextTest : public EditorFixture {
protected:
    uint8_t* UnitName(int i) { return Rom() + ur::kBase + ur::kSize * i + ur::kName; }
    uint8_t* Nickname(int i) { return Rom() + pr::kBase + pr::kSize * i + pr::kNickname; }

    // The demo table plus "∵" as game code FD 01 under its NEC code 0x879A and "纊" as
    // FD 02 under its NEC-selected IBM code 0xED40; Unicode gives them back as 0x81E6 and
    // 0xFA5C, which the table does not list.
    void UseTableWithTwins() {
        const std::string path = m_dir.filePath(QStringLiteral("string.txt")).toStdString();
        const std::string table =
            tsumugi::demo::StringTable() + "FD 01:\x87\x9A\r\nFD 02:\xED\x40\r\n";
        std::ofstream(path, std::ios::binary).write(table.data(), static_cast<std::streamsize>(table.size()));
        tsumugi::CharTable::SetPath(path);
        tsumugi::CharTable::Instance().Reset();
    }

    // "Ａ∵纊" with the twins' codes, the terminator and 0x00 to the field's end.
    static std::vector<uint8_t> TwinField(size_t length) {
        std::vector<uint8_t> field = GameText(QStringLiteral("Ａ"));
        field.pop_back();
        field.insert(field.end(), {0xFD, 0x01, 0xFD, 0x02, 0xFF});
        field.resize(length, 0x00);
        return field;
    }

    QTemporaryDir m_dir;
};

TEST_F(EditorTextTest, UntouchedNamesWithTwinCodesStoreBackUnchanged) {
    UseTableWithTwins();
    const std::vector<uint8_t> unitName = TwinField(ur::kNameLength);
    std::copy(unitName.begin(), unitName.end(), UnitName(0));
    const std::vector<uint8_t> nickname = TwinField(pr::kNicknameLength);
    std::copy(nickname.begin(), nickname.end(), Nickname(0));
    const std::vector<uint8_t> before = rom;

    auto unit = std::make_unique<CUnitDlg>(Rom(), RomSize());
    unit->show();
    EXPECT_EQ(Find<ui::Edit>(unit.get(), QStringLiteral("機体名"))->GetText(), QStringLiteral("Ａ∵纊"));
    Press(unit.get(), QStringLiteral("OK"));
    EXPECT_EQ(unit->result(), QDialog::Accepted);

    auto pilot = std::make_unique<CPilotStatusDlg>(Rom(), RomSize());
    pilot->show();
    EXPECT_EQ(Find<ui::Edit>(pilot.get(), QStringLiteral("愛称"))->GetText(), QStringLiteral("Ａ∵纊"));
    Press(pilot.get(), QStringLiteral("OK"));
    EXPECT_EQ(pilot->result(), QDialog::Accepted);

    EXPECT_EQ(services.Texts(), std::vector<QString>());
    EXPECT_TRUE(rom == before);
}

TEST_F(EditorTextTest, ANameTooLongForItsFieldIsCutBeforeTheCodeThatDoesNotFit) {
    const QString letters = QStringLiteral("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ");  // 16 two-byte codes
    auto d = std::make_unique<CUnitDlg>(Rom(), RomSize());
    d->show();
    Find<ui::Edit>(d.get(), QStringLiteral("機体名"))->SetText(letters);
    Press(d.get(), QStringLiteral("OK"));
    EXPECT_TRUE(services.shown.empty());

    std::vector<uint8_t> expected = GameText(letters.left(15));
    expected.push_back(0xFF);
    ASSERT_EQ(expected.size(), ur::kNameLength);
    EXPECT_EQ(Bytes(UnitName(0), ur::kNameLength), expected);
    tsumugi::CTextCodec codec(Rom(), RomSize());
    EXPECT_EQ(ui::Decode(codec, UnitName(0), ur::kNameLength), letters.left(15));
    EXPECT_EQ(codec.m_nStatus, 0);
    EXPECT_EQ(codec.m_nLength, static_cast<int>(ur::kNameLength) - 1);
}

}  // namespace
