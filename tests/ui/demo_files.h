#pragma once
// The demo ROM and its character table, copied once per test process into a temporary
// folder from the files the build wrote, and the switch that points the character table
// at them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/demo_image.h"
#include "core/char_table.h"
#include "demo/rom.h"
#include "core/temp_dir.h"

namespace testing_ui {

struct DemoFiles {
    tsumugi::testing::TempDir dir;
    const std::vector<uint8_t>& bytes = tsumugi::testing::DemoImage();
    std::string rom = dir.File("demo.gba");
    std::string table = dir.File("string.txt");

    bool written = tsumugi::testing::CopyDemoFiles(dir.Path());

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
