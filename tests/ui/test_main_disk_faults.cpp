// The main window's writes under a failing disk: "別名保存" and "保存" report the failure
// and leave the old file; "上書き保存" names the codes written and not written;
// lengthening on "読み込み" reports "失敗しました。" and leaves file, image and codes alone.
#include <cerrno>
#include <cstring>

#include "core/bytes.h"
#include "core/faulty_disk.h"
#include "core/temp_dir.h"
#include "main_dlg_fixture.h"

namespace testing_ui {
namespace {

using tsumugi::testing::DiskFault;
using tsumugi::testing::FaultyDisk;
using tsumugi::testing::NoTemporaryFile;
using tsumugi::testing::ReadBytes;
using tsumugi::testing::TitledRom;
using ui::MsgResult;

const DiskFault kFaults[] = {
    {"disk full", "write", ENOSPC},
    {"short write, then I/O error", "write", EIO, 0, true},
    {"sync fails", "fsync", EIO},
    {"close fails", "close", EIO},
    {"open fails", "open", EACCES},
    {"rename fails", "rename", EXDEV},
};

class MainDiskFaults : public MainDlgTest {
protected:
    void SetUp() override {
        MainDlgTest::SetUp();
        original = TitledRom(0x1000);
        rom = OwnRom(original);
        Load(rom);
    }
    std::vector<uint8_t> original;
    std::string rom;
};

TEST_F(MainDiskFaults, SaveAsAndCodeSaveKeepTheOldFile) {
    struct Command {
        const char16_t* button;
        const char* file;
        const char16_t* failure;
    };
    const Command commands[] = {
        {u"別名保存", "copy.gba", u"保存に失敗しました。"},
        {u"保存", "codes.txt", u"コードの保存に失敗しました。"},
    };
    m_dlg.m_codes.Set(0x200, 0x1234);
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    for (const Command& command : commands) {
        for (const DiskFault& fault : kFaults) {
            SCOPED_TRACE(QString::fromUtf16(command.button).toStdString() + " / " + fault.name);
            const std::string target = m_files.Write(command.file, old);
            m_services.files = {QString::fromStdString(target)};
            {
                FaultyDisk disk(fault);
                Click(command.button);
            }
            EXPECT_EQ(m_services.Last(), Q(command.failure));
            EXPECT_EQ(ReadBytes(target), old);
            EXPECT_TRUE(NoTemporaryFile(m_files.Path()));
        }
    }
    EXPECT_EQ(ReadBytes(rom), original);
}

QString Reason(const char* call, int err) {
    return QStringLiteral("\n(%1: %2)").arg(QString::fromLatin1(call), QString::fromLocal8Bit(std::strerror(err)));
}

TEST_F(MainDiskFaults, RewriteNamesTheCodesWrittenAndNotWritten) {
    for (uint32_t i = 0; i < 25; ++i) m_dlg.m_codes.Set(0x100 + 0x40 * i, static_cast<uint16_t>(0xA000 + i));
    m_dlg.m_codes.Set(0x2000, 0xFFFF);  // past the end of the file
    auto line = [](uint32_t i) { return QString::asprintf("\n%08X:%04X", 0x08000100 + 0x40 * i, 0xA000 + i); };
    auto lines = [&](uint32_t from, uint32_t to) {
        QString text;
        for (uint32_t i = from; i < to; ++i) text += line(i);
        return text;
    };
    const QString skipped = QStringLiteral("\nファイルの終わりより後ろの1個のコードは書き込んでいません。");
    struct Case {
        DiskFault fault;
        QString message;
        uint32_t onDisk;  // how many of the 25 codes the file then holds
    };
    const Case cases[] = {
        {{"open fails", "open", EACCES}, QStringLiteral("書き換えに失敗しました。"), 0},
        {{"first write fails", "write", EIO}, QStringLiteral("書き換えに失敗しました。"), 0},
        // The codes lie close together and go to the disk in one write, which takes half.
        {{"short write, then full", "write", ENOSPC, 0, true},
         QStringLiteral("書き換えに失敗しました。") + Reason("write", ENOSPC) +
             QStringLiteral("\n書き込んだコード(12個):") + lines(0, 12) +
             QStringLiteral("\n書き込めなかったコード(13個):") + lines(12, 25) + skipped,
         12},
        {{"sync fails", "fsync", EIO},
         QStringLiteral("書き換えに失敗しました。") + Reason("fsync", EIO) +
             QStringLiteral("\n次の25個のコードは書き込みましたが、ディスクに保存されたか確かめられませんでした:") +
             lines(0, 20) + QStringLiteral("\n…ほか5個") + skipped,
         25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault.name);
        m_files.Write("rom.gba", original);
        m_services.answers = {MsgResult::Yes};
        {
            FaultyDisk disk(c.fault);
            Click(u"上書き保存");
        }
        EXPECT_EQ(m_services.Last().toStdString(), c.message.toStdString());
        std::vector<uint8_t> expected = original;
        for (uint32_t i = 0; i < c.onDisk; ++i) tsumugi::Write16(expected.data() + 0x100 + 0x40 * i, static_cast<uint16_t>(0xA000 + i));
        if (c.fault.shortFirst) expected[0x400] = 0x0C;  // the write stopped inside code 12
        EXPECT_EQ(ReadBytes(rom), expected);
    }
    // The disk is well again: the success message is the one it always was.
    m_services.answers = {MsgResult::Yes};
    Click(u"上書き保存");
    EXPECT_EQ(m_services.Last(), QStringLiteral("書き換えに成功しました。") + skipped);
}

TEST_F(MainDiskFaults, FailedLengtheningOnLoadLeavesFileImageAndCodes) {
    const std::string codes = m_files.Write("far.txt", std::string("08000200:1111\r\n08002000:2222\r\n"));
    for (const DiskFault& fault : kFaults) {
        if (std::string(fault.call) == "rename") continue;  // lengthening renames nothing
        SCOPED_TRACE(fault.name);
        m_services.files = {QString::fromStdString(codes)};
        m_services.answers = {MsgResult::Ok};
        {
            FaultyDisk disk(fault);
            Click(u"読み込み");
        }
        EXPECT_EQ(m_services.Last(), QStringLiteral("失敗しました。"));
        EXPECT_EQ(ReadBytes(rom), original);
        EXPECT_TRUE(RomEquals(original));
        EXPECT_TRUE(m_dlg.m_codes.Empty());
    }
}

}  // namespace
}  // namespace testing_ui
