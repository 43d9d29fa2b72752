#pragma once
// The demo ROM and its character table, written once per test run into a temporary
// folder, and the switch that points the character table at them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/char_table.h"
#include "demo/rom.h"
#include "core/temp_dir.h"

namespace testing_ui {

struct DemoFiles {
    tsumugi::testing::TempDir dir;
    std::vector<uint8_t> bytes = tsumugi::demo::BuildRom();
    std::string rom = dir.File("demo.gba");
    std::string table = dir.File("string.txt");

    bool written = tsumugi::demo::WriteDemo(dir.Path());

    static const DemoFiles& Get() {
        static const DemoFiles files;
        EXPECT_TRUE(files.written);
        return files;
    }

private:
    DemoFiles() = default;
};

// The demo's character table, loaded afresh by the next decode.
inline void UseDemoTable() {
    tsumugi::CharTable::SetPath(DemoFiles::Get().table);
    tsumugi::CharTable::Instance().Reset();
}

// Back to the table next to the program, not loaded.
inline void ForgetTable() {
    tsumugi::CharTable::SetPath(std::string());
    tsumugi::CharTable::Instance().Reset();
}

}  // namespace testing_ui
