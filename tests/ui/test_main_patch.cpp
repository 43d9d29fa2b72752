// The main window's "パッチ出力": the refusals, both formats chosen by the file's suffix,
// the ROM as loaded as the source (whatever the file on disk holds now), IPS out of reach
// and a failed write.
#include <filesystem>

#include "core/bytes.h"
#include "core/patch_target.h"
#include "core/temp_dir.h"
#include "main_dlg_fixture.h"

namespace testing_ui {
namespace {

using tsumugi::testing::ReadBytes;

class PatchExportTest : public MainDlgTest {
protected:
    // The patch file applied to the bytes of source; empty when it does not apply.
    static std::vector<uint8_t> Applied(const std::string& patchPath,
                                        const std::vector<uint8_t>& source) {
        const std::vector<uint8_t> patch = ReadBytes(patchPath);
        const tsumugi::PatchOutcome outcome =
            tsumugi::ApplyPatch(patch.data(), patch.size(), source.data(), source.size(), false);
        EXPECT_TRUE(outcome.Ok()) << outcome.reason;
        return outcome.bytes;
    }
};

TEST_F(PatchExportTest, NeedsARomAndCodes) {
    Click(u"パッチ出力");
    EXPECT_EQ(m_services.Last(), QStringLiteral("先にRomファイルを読み込んでください。"));
    Load(OwnRom(tsumugi::testing::TitledRom(0x400)));
    Click(u"パッチ出力");
    EXPECT_EQ(m_services.Last(), QStringLiteral("保存するコードがありません"));
    EXPECT_EQ(m_services.shown.size(), 2u);
    EXPECT_TRUE(m_services.fileRequests.empty());

}

// The source is the ROM as it was loaded: after "上書き保存" wrote the codes into the
// file (or with the file gone) the patch still takes a clean copy to the image in memory.
TEST_F(PatchExportTest, LeadsFromTheRomAsLoadedAfterTheCodesWereWrittenInPlace) {
    const std::vector<uint8_t> clean = tsumugi::testing::TitledRom(0x400);
    Load(OwnRom(clean));
    tsumugi::Write16(m_dlg.m_rom.m_pData + 0x10, 0x1234);
    m_dlg.m_codes.Set(0x10, 0x1234);
    m_services.answers = {ui::MsgResult::Yes};
    Click(u"上書き保存");
    ASSERT_EQ(m_services.Last(), QStringLiteral("書き換えに成功しました。"));
    const std::vector<uint8_t> image(m_dlg.m_rom.m_pData, m_dlg.m_rom.m_pData + m_dlg.m_rom.m_nSize);
    for (const bool fileGone : {false, true}) {
        if (fileGone) std::filesystem::remove(m_dlg.m_rom.m_szPath);
        m_services.files = {QString::fromStdString(m_files.File("p.bps"))};
        Click(u"パッチ出力");
        EXPECT_EQ(Applied(m_files.File("p.bps"), clean), image) << "file gone: " << fileGone;
    }
}

TEST_F(PatchExportTest, WritesTheFormatTheSuffixNamesFromTheFileOnDisk) {
    const std::vector<uint8_t> disk = tsumugi::testing::TitledRom(0x400);
    Load(OwnRom(disk));
    // The image in memory already holds the first code, as after an edit.
    tsumugi::Write16(m_dlg.m_rom.m_pData + 0x10, 0x1234);
    m_dlg.m_codes.Set(0x10, 0x1234);
    m_dlg.m_codes.Set(0x801, 0xBEEF);  // past the end: the target is lengthened with 0xFF
    const std::vector<uint8_t> want =
        *tsumugi::ApplyCodesExtending(disk.data(), disk.size(), m_dlg.m_codes);

    const struct {
        const char* file;
        const char* magic;
    } kCases[] = {{"p.bps", "BPS1"}, {"p.IPS", "PATCH"}, {"p", "BPS1"}};
    for (const auto& c : kCases) {
        const std::string path = m_files.File(c.file);
        m_services.files = {QString::fromStdString(path)};
        Click(u"パッチ出力");
        const std::vector<uint8_t> written = ReadBytes(path);
        const std::string magic(c.magic);
        ASSERT_GE(written.size(), magic.size()) << c.file;
        EXPECT_EQ(std::string(written.begin(),
                              written.begin() + static_cast<std::ptrdiff_t>(magic.size())),
                  magic)
            << c.file;
        EXPECT_EQ(Applied(path, disk), want) << c.file;
    }
    EXPECT_TRUE(m_services.shown.empty());
    ASSERT_EQ(m_services.fileRequests.size(), 3u);
    ExpectChooser(m_services.fileRequests[0], u"パッチの保存",
                  u"BPSパッチ(*.bps);;IPSパッチ(*.ips)", u"*.bps", u"bps");
    EXPECT_EQ(m_dlg.m_codes.Size(), 2u);
    EXPECT_EQ(ReadBytes(m_dlg.m_rom.m_szPath), disk) << "the ROM file is left alone";
}

TEST_F(PatchExportTest, CancelOutOfReachAndFailedWriteLeaveNoFile) {
    LoadDemo();
    m_dlg.m_codes.Set(0x100, 0x0001);
    m_dlg.m_codes.Set(0x1000004, 0xABCD);  // beyond what IPS can address
    const struct {
        const char* name;
        std::optional<std::string> file;
        QString message;
    } kCases[] = {
        {"cancelled", std::nullopt, QString()},
        {"IPS out of reach", m_files.File("far.ips"),
         QStringLiteral("IPSパッチは先頭16MBより後ろを書き換えられません。\n"
                        "0x09000004 の変更を含められないため、BPSで出力してください。")},
        {"write failed", m_files.File("no-such-folder/p.bps"),
         QStringLiteral("パッチの保存に失敗しました。")},
    };
    for (const auto& c : kCases) {
        m_services.shown.clear();
        m_services.files = {c.file ? std::optional<QString>(QString::fromStdString(*c.file))
                                   : std::nullopt};
        Click(u"パッチ出力");
        if (c.message.isEmpty()) {
            EXPECT_TRUE(m_services.shown.empty()) << c.name;
        } else {
            EXPECT_EQ(m_services.Last(), c.message) << c.name;
        }
        if (c.file) {
            EXPECT_TRUE(ReadBytes(*c.file).empty()) << c.name;
        }
    }
}

}  // namespace
}  // namespace testing_ui
