#pragma once
// Scratch files for the benchmarks, in a temporary folder removed at exit.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file_io.h"

namespace tsumugi::bench {

class ScratchDir {
public:
    static ScratchDir& Get() {
        static ScratchDir dir;
        return dir;
    }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

    // Writes the bytes once under name and returns the path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::string path = File(name);
        if (!std::filesystem::exists(path)) WriteWholeFile(path, bytes.data(), bytes.size());
        return path;
    }

private:
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tsumugi-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    std::string m_path;
};

constexpr uint32_t kRom32MiB = 0x2000000;

// A 32 MiB image with the game's title and varied bytes.
inline std::vector<uint8_t> TitledImage(uint32_t size) {
    std::vector<uint8_t> image(size);
    uint32_t x = 12345;
    for (uint32_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        image[i] = static_cast<uint8_t>(x >> 24);
    }
    const char title[8] = {'P', 'L', 'D', 'N', 'X', '4', 0, 0};
    for (uint32_t i = 0; i < 8; ++i) image[0xA0 + i] = static_cast<uint8_t>(title[i]);
    return image;
}

}  // namespace tsumugi::bench
