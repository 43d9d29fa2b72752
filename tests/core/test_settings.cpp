#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "core/settings.h"
#include "core/user_config_folder.h"
#include "core/user_files.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using testing::ReadText;
using testing::TempDir;

TEST(FindLastChar, SkipsTheSecondByteOfTwoByteCharacters) {
    EXPECT_EQ(FindLastChar("/home/user/rom.gba", '/'), 10);
    EXPECT_EQ(FindLastChar("rom.gba", '/'), -1);
    EXPECT_EQ(FindLastChar("", '/'), -1);
    EXPECT_EQ(FindLastChar(nullptr, '/'), -1);
    // "表" is 0x95 0x5C: its second byte looks like a backslash but is not one.
    EXPECT_EQ(FindLastChar("C:\\\x95\x5C", '\\'), 2);
    EXPECT_EQ(FindLastChar("C:\\\x95\x5C\\a.gba", '\\'), 5);
    // A lead byte with no second byte ends the walk.
    EXPECT_EQ(FindLastChar("a\\b\x95", '\\'), 1);
    // Half-width katakana ("ｱ" 0xB1) are single bytes: the backslash after one counts.
    EXPECT_EQ(FindLastChar("C:\\\xB1\\a.gba", '\\'), 4);
}

TEST(CutAtLastSeparator, FindsTheFolderOfAUtf8PathWithJapaneseNames) {
    // Three-byte UTF-8 characters look like cp932 lead and trail bytes; the "/" after
    // them must still count.
    EXPECT_EQ(CutAtLastSeparator("/home/user/ゲーム/rom.gba", '/'), "/home/user/ゲーム");
    EXPECT_EQ(CutAtLastSeparator("/ユ/ｱ/ä/string.txt", '/'), "/ユ/ｱ/ä");
}

TEST(CutAtLastSeparator, GivesTheFolderWithoutTrailingSeparator) {
    EXPECT_EQ(CutAtLastSeparator("/home/user/rom.gba", '/'), "/home/user");
    EXPECT_EQ(CutAtLastSeparator("rom.gba"), "rom.gba");
    EXPECT_EQ(CutAtLastSeparator("/rom.gba", '/'), "/");
    EXPECT_EQ(CutAtLastSeparator("C:\\game.gba", '\\'), "C:");
    EXPECT_EQ(CutAtLastSeparator("C:\\\x95\x5C\\game.gba", '\\'), "C:\\\x95\x5C");
    EXPECT_EQ(CutAtLastSeparator("C:\\\x95\x5C", '\\'), "C:");
}

TEST(Ini, GetFindsTheKeyInItsSectionOnly) {
    const std::string ini =
        "; remembered folders\r\n[Other]\r\nDirectory=/wrong\r\n\r\n[path]\r\n"
        "  directory = /roms/gba  \r\n";
    EXPECT_EQ(IniGet(ini, "Path", "Directory"), "/roms/gba");
    EXPECT_EQ(IniGet(ini, "Path", "Missing"), "");
    EXPECT_EQ(IniGet(ini, "Nope", "Directory"), "");
    EXPECT_EQ(IniGet("", "Path", "Directory"), "");
    EXPECT_EQ(IniGet("[Path]\nDirectory=\"/a b\"\n", "Path", "Directory"), "/a b");
}

TEST(Ini, SetReplacesOnlyTheValueAndKeepsEverythingElse) {
    const std::string ini =
        "; comment\r\n[Path]\r\nDirectory=/old\r\nOther=1\r\n\r\n[More]\r\nx=y\r\n";
    EXPECT_EQ(IniSet(ini, "Path", "Directory", "/new/folder"),
              "; comment\r\n[Path]\r\nDirectory=/new/folder\r\nOther=1\r\n\r\n[More]\r\nx=y\r\n");
    EXPECT_EQ(IniSet("[Path]\nDirectory=\n", "Path", "Directory", "/x"), "[Path]\nDirectory=/x\n");
}

TEST(Ini, SetAddsMissingKeysAndSectionsInTheFileLineEnds) {
    EXPECT_EQ(IniSet("", "Path", "Directory", "/r"), "[Path]\r\nDirectory=/r\r\n");
    EXPECT_EQ(IniSet("[A]\na=1", "Path", "Directory", "/r"), "[A]\na=1\n[Path]\nDirectory=/r\n");
    EXPECT_EQ(IniSet("[Path]\r\nOther=1\r\n\r\n[B]\r\n", "Path", "Directory", "/r"),
              "[Path]\r\nOther=1\r\nDirectory=/r\r\n\r\n[B]\r\n");
    EXPECT_EQ(IniSet("[Path]", "Path", "Directory", "/r"), "[Path]\r\nDirectory=/r\r\n");
}

class RomFolderSetting : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.Path()); }
    void TearDown() override { SetProgramFolder(""); }
    std::string IniPath() const { return dir.Path() + kPathSeparator + "option.ini"; }
    TempDir dir;
};

TEST_F(RomFolderSetting, FirstWriteCreatesTheFile) {
    EXPECT_EQ(ProgramFile("option.ini"), IniPath());
    EXPECT_EQ(ReadRomFolder(), "");
    ASSERT_TRUE(WriteRomFolder("/roms/gba"));
    EXPECT_EQ(ReadText(IniPath()), "[Path]\r\nDirectory=/roms/gba\r\n");
    EXPECT_EQ(ReadRomFolder(), "/roms/gba");
}

TEST_F(RomFolderSetting, SameFolderIsNotWrittenAgain) {
    const std::string text = "[Path]\nDirectory=/roms\n[Window]\nx=1\n";
    dir.Write("option.ini", text);
    const auto past = std::filesystem::last_write_time(IniPath()) - std::chrono::hours(24 * 365);
    std::filesystem::last_write_time(IniPath(), past);

    ASSERT_TRUE(WriteRomFolder("/roms"));
    EXPECT_EQ(std::filesystem::last_write_time(IniPath()), past);

    ASSERT_TRUE(WriteRomFolder("/roms/other"));
    EXPECT_EQ(ReadText(IniPath()), "[Path]\nDirectory=/roms/other\n[Window]\nx=1\n");
}

TEST_F(RomFolderSetting, FailedWriteIsReported) {
    SetProgramFolder(dir.File("no-such-folder"));
    EXPECT_EQ(ReadRomFolder(), "");
    EXPECT_FALSE(WriteRomFolder("/roms"));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
    SetProgramFolder("");
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::path(folder).is_absolute()) << folder;
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ProgramFile("string.txt"), folder + kPathSeparator + "string.txt");
}

}  // namespace
}  // namespace tsumugi

// POSIX variables and folders; the Windows side of the user folders is tested with the
// file layer.
#ifndef _WIN32
TEST(UserConfigFolder, FollowsXdgConfigHomeElseHome) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string xdg = savedXdg ? savedXdg : "", home = savedHome ? savedHome : "";
    const struct {
        const char *xdg, *home, *folder;  // null: unset
    } cases[] = {{"/cfg", "/home/u", "/cfg/tsumugi"}, {nullptr, "/home/u", "/home/u/.config/tsumugi"},
                 {"", "/home/u", "/home/u/.config/tsumugi"}, {"relative", "/home/u", "/home/u/.config/tsumugi"},
                 {nullptr, nullptr, ""}};
    for (const auto& c : cases) {
        c.xdg ? setenv("XDG_CONFIG_HOME", c.xdg, 1) : unsetenv("XDG_CONFIG_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(tsumugi::UserConfigFolder(), c.folder) << (c.xdg ? c.xdg : "(unset)");
    }
    savedXdg ? setenv("XDG_CONFIG_HOME", xdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}

// Run from a folder of its own the program keeps string.txt and option.ini there; with
// no string.txt beside it the user's config folder's is read, and a folder it cannot
// write sends option.ini there too.
TEST(UserFiles, TableAndOptionFileFollowTheProgramFolderElseTheUserFolder) {
    tsumugi::testing::TempDir program, config;
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const std::string user = config.File("tsumugi");
    std::filesystem::create_directories(user);
    const struct {
        std::string folder;
        bool tableBeside, tableInUser;
        std::string table, option;
    } cases[] = {
        {program.Path(), true, true, program.File("string.txt"), program.File("option.ini")},
        {program.Path(), false, true, user + "/string.txt", program.File("option.ini")},
        {program.Path(), false, false, program.File("string.txt"), program.File("option.ini")},
        {"/proc/self", false, true, user + "/string.txt", user + "/option.ini"},  // not even root writes there
    };
    for (const auto& c : cases) {
        std::filesystem::remove(program.File("string.txt"));
        std::filesystem::remove(user + "/string.txt");
        if (c.tableBeside) program.Write("string.txt", std::string("00,A\r\n"));
        if (c.tableInUser) config.Write("tsumugi/string.txt", std::string("00,A\r\n"));
        tsumugi::SetProgramFolder(c.folder);
        EXPECT_EQ(tsumugi::CharTableFile(), c.table) << c.folder;
        EXPECT_EQ(tsumugi::OptionFile(), c.option) << c.folder;
    }
    // Written where it is read.
    ASSERT_TRUE(tsumugi::WriteRomFolder("/roms"));
    EXPECT_EQ(tsumugi::ReadRomFolder(), "/roms");
    EXPECT_TRUE(std::filesystem::exists(user + "/option.ini"));
    tsumugi::SetProgramFolder("");
    saved ? setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}
#endif
