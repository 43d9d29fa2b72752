// The file layer on whichever system it runs on: Japanese names through every kind of file
// call, the user's folders, UTF-8 <-> UTF-16, and (on Windows) files other programs hold.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/file_io.h"
#include "core/file_patcher.h"
#include "core/mapped_file.h"
#include "core/platform.h"
#include "core/utf16.h"
#include "faulty_disk.h"
#include "temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tsumugi {
namespace {

using testing::ReadBytes;
using testing::TempDir;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::filesystem::path Utf8Path(const std::string& path) { return std::u8string(path.begin(), path.end()); }

TEST(Utf16, WellFormedTextRoundTripsAndMalformedIsRefused) {
    for (const char* text : {"", "rom.gba", "ゲーム データ", "ｱä€", "\U0001F600 \U0010FFFF"}) {
        const std::optional<std::u16string> wide = Utf8ToUtf16(text);
        ASSERT_TRUE(wide) << text;
        EXPECT_EQ(Utf16ToUtf8(*wide), text);
    }
    EXPECT_EQ(Utf8ToUtf16("\U0001F600")->size(), 2u);  // a surrogate pair
    for (const char* bad : {"\xFF", "a\xE3\x81", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"}) {
        EXPECT_FALSE(Utf8ToUtf16(bad)) << ::testing::PrintToString(std::string(bad));
    }
    EXPECT_EQ(Utf16ToUtf8(u"a\xD800z"), "a\uFFFDz");  // a lone surrogate
}

TEST(PlatformFiles, JapaneseNamesGoThroughEveryFileCall) {
    TempDir dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::string folder = dir.File("ゲーム データ");
    ASSERT_TRUE(std::filesystem::create_directory(Utf8Path(folder)));
    const std::string rom = folder + "/紡ぎ.gba", moved = folder + "/移した.gba";
    const std::vector<uint8_t> data = Bytes("0123456789abcdef");

    ASSERT_TRUE(WriteWholeFile(rom, data.data(), data.size()));
    EXPECT_EQ(FileLength(rom), data.size());
    const std::optional<ByteBuffer> read = ReadWholeFile(rom);
    ASSERT_TRUE(read && read->Size() == data.size());
    EXPECT_EQ(std::vector<uint8_t>(read->Data(), read->Data() + read->Size()), data);

    FilePatcher patcher;
    ASSERT_TRUE(patcher.AddEntry(4, 0x5958, 2));
    ASSERT_TRUE(patcher.Apply(rom));
    MappedFile mapped;
    ASSERT_TRUE(mapped.Open(rom));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped.Data()), mapped.Size()), "0123XY6789abcdef");
    mapped.Close();

    ASSERT_TRUE(AppendToFile(rom, data.data(), 2));
    EXPECT_EQ(FileLength(rom), data.size() + 2);
    ASSERT_TRUE(RenameFile(rom, moved));
    EXPECT_FALSE(FileLength(rom));
    ASSERT_TRUE(RemoveFile(moved));
    EXPECT_FALSE(FileLength(moved));
    EXPECT_FALSE(RemoveFile(moved));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(std::filesystem::is_empty(Utf8Path(folder)));
}

TEST(PlatformFiles, AppendMakesTheFileAddsToItAndReportsAFailingDisk) {
    TempDir dir;
    const std::string path = dir.File("journal.txt");
    ASSERT_TRUE(AppendToFile(path, reinterpret_cast<const uint8_t*>("ab"), 2));
    ASSERT_TRUE(AppendToFile(path, reinterpret_cast<const uint8_t*>("cd"), 2));
    EXPECT_EQ(ReadBytes(path), Bytes("abcd"));
    for (const char* call : {"write", "fsync", "close", "open"}) {
        testing::FaultyDisk disk({call, call, ENOSPC});
        errno = 0;
        EXPECT_FALSE(AppendToFile(path, reinterpret_cast<const uint8_t*>("ef"), 2)) << call;
        EXPECT_EQ(errno, ENOSPC) << call;
    }
}

#ifdef _WIN32
void SetVariable(const char* name, const char* value) {
    _wputenv_s(WideFromUtf8(name)->c_str(), WideFromUtf8(value ? value : "")->c_str());
}
#else
void SetVariable(const char* name, const char* value) {
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}
#endif

// Sets the variables for its lifetime, then puts the old values back.
class Variables {
public:
    Variables(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [name, value] : values) {
            m_saved.emplace_back(name, platform::Environment(name));
            SetVariable(name, value);
        }
    }
    ~Variables() {
        for (const auto& [name, old] : m_saved) SetVariable(name, old ? old->c_str() : nullptr);
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

TEST(PlatformFiles, UserFoldersFollowTheSystemsConventions) {
#ifdef _WIN32
    const struct {
        const char* local;
        const char* roaming;
        const char* state;
        const char* config;
    } kCases[] = {
        {"C:\\Users\\紡\\AppData\\Local", "C:\\Users\\紡\\AppData\\Roaming", "C:\\Users\\紡\\AppData\\Local\\tsumugi",
         "C:\\Users\\紡\\AppData\\Roaming\\tsumugi"},
        {"D:\\", "D:\\r", "D:\\tsumugi", "D:\\r\\tsumugi"},
        {nullptr, nullptr, "", ""},
    };
    for (const auto& c : kCases) {
        Variables set{{"LOCALAPPDATA", c.local}, {"APPDATA", c.roaming}};
        EXPECT_EQ(UserStateFolder(), c.state);
        EXPECT_EQ(UserConfigFolder(), c.config);
    }
#else
    const struct {
        const char* xdgState;
        const char* xdgConfig;
        const char* home;
        const char* state;
        const char* config;
    } kCases[] = {
        {nullptr, nullptr, "/home/紡", "/home/紡/.local/state/tsumugi", "/home/紡/.config/tsumugi"},
        {"/var/st", "/etc/cf/", "/home/a", "/var/st/tsumugi", "/etc/cf/tsumugi"},
        {"", "relative/cf", "/h", "/h/.local/state/tsumugi", "/h/.config/tsumugi"},  // empty or relative: ignored
        {nullptr, nullptr, nullptr, "", ""},
    };
    for (const auto& c : kCases) {
        Variables set{{"XDG_STATE_HOME", c.xdgState}, {"XDG_CONFIG_HOME", c.xdgConfig}, {"HOME", c.home}};
        EXPECT_EQ(UserStateFolder(), c.state);
        EXPECT_EQ(UserConfigFolder(), c.config);
    }
#endif
}

#ifdef _WIN32
// Another program's handle on a file, with the sharing it allows.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD access, DWORD share) {
        const std::wstring wide = *WideFromUtf8(path);
        m_handle = CreateFileW(wide.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~HeldFile() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

TEST(PlatformFiles, FilesOtherProgramsHoldAreLeftAsTheyAre) {
    TempDir dir;
    const std::vector<uint8_t> old = Bytes("the file as it was");
    const std::string rom = dir.Write("rom.gba", old);
    {
        // Held for reading and writing, others allowed to read only: the in-place write is
        // refused, reading still works.
        HeldFile held(rom, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
        ASSERT_TRUE(held.Held());
        FilePatcher patcher;
        ASSERT_TRUE(patcher.AddEntry(0, 0x4142, 2));
        ApplyReport report;
        EXPECT_FALSE(patcher.Apply(rom, nullptr, &report));
        EXPECT_EQ(report.notWritten.size(), 1u);
        ASSERT_TRUE(ReadWholeFile(rom));
        MappedFile mapped;
        EXPECT_TRUE(mapped.Open(rom));
    }
    EXPECT_EQ(ReadBytes(rom), old);

    const std::string out = dir.Write("out.gba", old);
    const std::vector<uint8_t> data = Bytes("new");
    {
        // Held without delete sharing: not replaced, and no temporary file stays.
        HeldFile held(out, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(held.Held());
        EXPECT_FALSE(WriteWholeFile(out, data.data(), data.size()));
    }
    EXPECT_EQ(ReadBytes(out), old);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
    EXPECT_EQ(files, 2u);
    // Once let go, the same write replaces it.
    EXPECT_TRUE(WriteWholeFile(out, data.data(), data.size()));
    EXPECT_EQ(ReadBytes(out), data);
}

TEST(PlatformFiles, CommandsRefuseHeldFilesWithStatusOne) {
    TempDir dir;
    const std::vector<uint8_t> rom = testing::TitledRom(0x400);
    const std::string path = dir.Write("rom.gba", rom), out = dir.Write("out.gba", std::string("old"));
    const std::string codes = dir.Write("codes.txt", std::string("08000010:1234\r\n"));
    {
        HeldFile held(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
        ASSERT_TRUE(held.Held());
        EXPECT_EQ(cli::Run({"codes", "write", path, codes}), 1);
        EXPECT_EQ(cli::Run({"codes", "apply", path, codes, "-o", dir.File("copy.gba")}), 0);  // reading works
    }
    EXPECT_EQ(ReadBytes(path), rom);
    {
        HeldFile held(out, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(held.Held());
        EXPECT_EQ(cli::Run({"codes", "apply", path, codes, "-o", out}), 1);
    }
    EXPECT_EQ(ReadBytes(out), Bytes("old"));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
    EXPECT_EQ(files, 4u);  // rom, out, codes and the copy: no temporary file
}
#endif

}  // namespace
}  // namespace tsumugi
