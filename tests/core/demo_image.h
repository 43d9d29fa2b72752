#pragma once
// The demo image and its character table as the tests share them: written once per build
// by the command line's "demo" command into the tests' build folder (tests/CMakeLists.txt)
// and read from there once per test process. Building the image in every process cost most
// of a second under the sanitizers; reading it costs milliseconds. The generator itself is
// checked against this file in test_demo_rom.cpp.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/rom.h"
#include "temp_dir.h"

namespace tsumugi::testing {

// The folder holding the build's "demo.gba" and "string.txt".
inline std::string DemoDir() { return TSUMUGI_TEST_DEMO_DIR; }

// The demo image; built here only when the build's file is missing.
inline const std::vector<uint8_t>& DemoImage() {
    static const std::vector<uint8_t> image = [] {
        std::vector<uint8_t> bytes = ReadBytes(DemoDir() + "/demo.gba");
        return bytes.empty() ? demo::BuildRom() : bytes;
    }();
    return image;
}

// Copies the build's demo files into dir, as "demo.gba" and "string.txt". False when a
// copy fails.
inline bool CopyDemoFiles(const std::string& dir) {
    std::error_code error;
    for (const char* name : {"demo.gba", "string.txt"}) {
        std::filesystem::copy_file(DemoDir() + "/" + name, dir + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) return demo::WriteDemo(dir);
    }
    return true;
}

}  // namespace tsumugi::testing
