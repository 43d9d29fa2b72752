// Every write path under a failing disk: full, broken, short writes, a failing sync, close,
// rename or open. A whole-file write leaves the old file as it was and no temporary file
// behind; an in-place write says exactly which codes reached the file. (Lengthening is
// checked through the main window's "読み込み".)
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/bytes.h"
#include "core/file_io.h"
#include "core/patch_code.h"
#include "core/settings.h"
#include "core/workspace.h"
#include "faulty_disk.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using testing::DiskFault;
using testing::FaultyDisk;
using testing::NoTemporaryFile;
using testing::ReadBytes;
using testing::TempDir;
using testing::TitledRom;

const DiskFault kFaults[] = {
    {"disk full", "write", ENOSPC},
    {"I/O error", "write", EIO},
    {"short write, then full", "write", ENOSPC, 0, true},
    {"sync fails", "fsync", EIO},
    {"close fails", "close", EIO},
    {"open fails", "open", EACCES},
    {"rename fails", "rename", EXDEV},
};

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// A whole-file write: writes into path and says whether it worked, with the bytes it
// means to leave there.
struct WholeFileWriter {
    const char* name;
    const char* file;
    std::function<bool(const TempDir& dir, const std::string& path)> write;
    // What the file holds after a good write over a file holding `old`.
    std::function<std::vector<uint8_t>(const std::vector<uint8_t>& old)> intended;
};

std::vector<uint8_t> CodesText() { return Bytes("08000100:BEEF\r\n08000200:0001\r\n"); }
PatchCodeList Codes() {
    PatchCodeList codes;
    codes.Set(0x100, 0xBEEF);
    codes.Set(0x200, 0x0001);
    return codes;
}
std::vector<uint8_t> NewRom() { return TitledRom(0x400); }
std::vector<uint8_t> PatchedRom() {
    std::vector<uint8_t> rom = NewRom();
    for (const auto& [offset, value] : Codes()) Write16(rom.data() + offset, value);
    return rom;
}

int RunCli(const std::vector<std::string>& argv) {
    ::testing::internal::CaptureStderr();
    const int code = cli::Run(argv);
    ::testing::internal::GetCapturedStderr();
    return code;
}

const std::vector<WholeFileWriter>& WholeFileWriters() {
    static const std::vector<WholeFileWriter> writers = {
        {"save as", "out.gba",
         [](const TempDir& dir, const std::string& path) {
             RomImage rom;
             return rom.Load(dir.Write("in.gba", NewRom()), {}) && rom.SaveTo(path);
         },
         [](const std::vector<uint8_t>&) { return NewRom(); }},
        {"code file", "codes.txt",
         [](const TempDir&, const std::string& path) { return WriteCodeFile(Codes(), path); },
         [](const std::vector<uint8_t>&) { return CodesText(); }},
        {"settings", "option.ini",
         [](const TempDir& dir, const std::string&) {
             SetProgramFolder(dir.Path());
             const bool ok = WriteRomFolder("/roms");
             SetProgramFolder(std::string());
             return ok;
         },
         [](const std::vector<uint8_t>& old) {
             return Bytes(IniSet(std::string(old.begin(), old.end()), "Path", "Directory", "/roms"));
         }},
        {"cli codes apply -o", "out.gba",
         [](const TempDir& dir, const std::string& path) {
             return RunCli({"codes", "apply", dir.Write("in.gba", NewRom()),
                            dir.Write("c.txt", CodesText()), "-o", path}) == cli::kExitOk;
         },
         [](const std::vector<uint8_t>&) { return PatchedRom(); }},
        {"cli codes diff -o", "codes.txt",
         [](const TempDir& dir, const std::string& path) {
             return RunCli({"codes", "diff", dir.Write("old.gba", NewRom()),
                            dir.Write("new.gba", PatchedRom()), "-o", path}) == cli::kExitOk;
         },
         [](const std::vector<uint8_t>&) { return CodesText(); }},
        {"cli demo", "demo.gba",
         [](const TempDir& dir, const std::string&) {
             return RunCli({"demo", dir.Path()}) == cli::kExitOk;
         },
         nullptr},
    };
    return writers;
}

TEST(DiskFaults, WholeFileWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::vector<uint8_t> old = Bytes("the file as it was\n");
    for (const WholeFileWriter& writer : WholeFileWriters()) {
        for (const DiskFault& fault : kFaults) {
            SCOPED_TRACE(std::string(writer.name) + " / " + fault.name);
            TempDir dir;
            const std::string path = dir.Write(writer.file, old);
            bool ok = true;
            {
                FaultyDisk disk(fault);
                ok = writer.write(dir, path);
            }
            EXPECT_FALSE(ok);
            EXPECT_EQ(ReadBytes(path), old);
            EXPECT_TRUE(NoTemporaryFile(dir.Path()));
        }
    }
}

TEST(DiskFaults, WholeFileWriteReplacesTheFileAndKeepsItsMode) {
    // A short write that the disk then completes is no failure.
    const DiskFault shortOnly{"short write", "none", 0, 0, true};
    for (const WholeFileWriter& writer : WholeFileWriters()) {
        if (!writer.intended) continue;
        SCOPED_TRACE(writer.name);
        TempDir dir;
        const std::vector<uint8_t> old = Bytes(std::string(5000, 'x'));
        const std::string path = dir.Write(writer.file, old);
#ifndef _WIN32
        chmod(path.c_str(), 0640);
#endif
        bool ok = false;
        {
            FaultyDisk disk(shortOnly);
            ok = writer.write(dir, path);
        }
        EXPECT_TRUE(ok);
        EXPECT_EQ(ReadBytes(path), writer.intended(old));
#ifndef _WIN32
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
        EXPECT_TRUE(NoTemporaryFile(dir.Path()));
    }
}

TEST(DiskFaults, WholeFileWriteEdgeCases) {
    TempDir dir;
    const std::vector<uint8_t> data = Bytes("new");
#ifndef _WIN32  // modes, links, folder syncs and descriptor names are POSIX matters
    // A new file gets 0644 less the umask.
    const mode_t mask = umask(022);
    umask(mask);
    const std::string fresh = dir.File("fresh.bin");
    ASSERT_TRUE(WriteWholeFile(fresh, data.data(), data.size()));
    struct stat st {};
    ASSERT_EQ(stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u & ~mask);

    // A link is followed: the file it names changes and the link stays.
    const std::string real = dir.Write("real.bin", std::string("old"));
    const std::string link = dir.File("link.bin");
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteWholeFile(link, data.data(), data.size()));
    EXPECT_EQ(ReadBytes(real), data);
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    // The rename happened but the folder could not be synced: the file holds the new bytes
    // and the caller hears of the failure.
    const std::string target = dir.Write("synced.bin", std::string("old"));
    {
        FaultyDisk disk({"folder sync fails", "fsync", EIO, 1});
        EXPECT_FALSE(WriteWholeFile(target, data.data(), data.size()));
    }
    EXPECT_EQ(ReadBytes(target), data);

    // A name of an open descriptor (as /dev/stdout is) gets the bytes after what it holds.
    const std::string shell = dir.Write("shell.txt", std::string("old"));
    const int fd = open(shell.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(WriteWholeFile("/proc/self/fd/" + std::to_string(fd), data.data(), data.size()));
    close(fd);
    EXPECT_EQ(ReadBytes(shell), Bytes("oldnew"));
#endif

    // A folder is no file; a missing folder takes nothing.
    EXPECT_FALSE(WriteWholeFile(dir.Path(), data.data(), data.size()));
    EXPECT_FALSE(WriteWholeFile(dir.File("none/x.bin"), data.data(), data.size()));
    EXPECT_TRUE(NoTemporaryFile(dir.Path()));
}

// ---- In place: "上書き保存" and codes write ----------------------------------------------

class InPlaceFaults : public ::testing::Test {
protected:
    void SetUp() override {
        original = TitledRom(0x90000);
        path = dir.Write("rom.gba", original);
        ASSERT_TRUE(workspace.m_rom.Load(path, {}));
        // Far apart: every code is a write of its own.
        for (uint32_t offset : {0x20000u, 0x40000u, 0x60000u, 0x80000u}) workspace.m_codes.Set(offset, 0xA5A5);
        workspace.m_codes.Set(0xA0000, 0x1111);  // past the end
    }
    TempDir dir;
    std::vector<uint8_t> original;
    std::string path;
    Workspace workspace;
};

TEST_F(InPlaceFaults, ReportSaysWhichCodesWereWritten) {
    struct Case {
        DiskFault fault;
        std::vector<uint32_t> written;
        std::vector<uint32_t> notWritten;
        const char* error;  // how the reason starts; empty for a success
    };
    const std::vector<uint32_t> all = {0x20000, 0x40000, 0x60000, 0x80000};
    const Case cases[] = {
        {{"disk full", "write", ENOSPC}, {}, all, "write: "},
        {{"third write fails", "write", EIO, 2}, {0x20000, 0x40000}, {0x60000, 0x80000}, "write: "},
        {{"short, then full", "write", ENOSPC, 1, true}, {0x20000}, {0x40000, 0x60000, 0x80000}, "write: "},
        {{"open fails", "open", EACCES}, {}, {0x20000, 0x40000, 0x60000, 0x80000, 0xA0000}, "open: "},
        {{"sync fails", "fsync", EIO}, all, {}, "fsync: "},
        {{"close fails", "close", EIO}, all, {}, "close: "},
        {{"short writes that complete", "none", 0, 0, true}, all, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault.name);
        dir.Write("rom.gba", original);
        ApplyReport report;
        RewriteResult result;
        {
            FaultyDisk disk(c.fault);
            result = workspace.Rewrite(nullptr, &report);
        }
        EXPECT_EQ(result, *c.error ? RewriteResult::Failed : RewriteResult::Written);
        EXPECT_EQ(report.written, c.written);
        EXPECT_EQ(report.notWritten, c.notWritten);
        EXPECT_EQ(report.error.rfind(c.error, 0), 0u) << report.error;
        // Each code's word on disk is the new value when written, the old one when not.
        std::vector<uint8_t> expected = original;
        for (uint32_t offset : report.written) Write16(expected.data() + offset, 0xA5A5);
        EXPECT_EQ(ReadBytes(path), expected);
    }
}

TEST_F(InPlaceFaults, CliCodesWriteFailsUnderEveryFault) {
    const std::string codes = dir.Write("c.txt", std::string("08000200:A5A5\r\n08000400:A5A5\r\n"));
    for (const DiskFault& fault : kFaults) {
        if (std::string(fault.call) == "rename") continue;  // nothing is renamed in place
        SCOPED_TRACE(fault.name);
        dir.Write("rom.gba", original);
        int code = cli::kExitOk;
        {
            FaultyDisk disk(fault);
            code = RunCli({"codes", "write", path, codes});
        }
        EXPECT_EQ(code, cli::kExitFailure);
        EXPECT_EQ(ReadBytes(path).size(), original.size());
    }
}

}  // namespace
}  // namespace tsumugi
