#pragma once
// A fresh temporary folder for one test, removed with everything in it afterwards, and
// small helpers for the files the test puts there.
#include <atomic>
#include <cstdint>
#include <random>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tsumugi::testing {

class TempDir {
public:
    // A name no other folder has: made with create_directory, which fails on one that
    // exists.
    TempDir() {
        static std::atomic<unsigned> serial{0};
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty() && !error; ++attempt) {
            const std::filesystem::path path =
                base / ("tsumugi-" + std::to_string(random()) + "-" + std::to_string(serial++));
            if (std::filesystem::create_directory(path, error)) m_path = path.string();
        }
    }
    ~TempDir() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }  // Windows takes '/' too

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string Write(const std::string& name, const std::string& text) const {
        return Write(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

private:
    std::string m_path;
};

// A ROM image of size bytes whose cartridge title is the game's ("PLDNX4" and two zero
// bytes at 0xA0), the rest a counting pattern.
inline std::vector<uint8_t> TitledRom(size_t size) {
    std::vector<uint8_t> rom(size);
    for (size_t i = 0; i < size; ++i) rom[i] = static_cast<uint8_t>(i * 7 + 3);
    const char title[8] = {'P', 'L', 'D', 'N', 'X', '4', 0, 0};
    for (size_t i = 0; i < 8 && 0xA0 + i < size; ++i) rom[0xA0 + i] = static_cast<uint8_t>(title[i]);
    return rom;
}

// The bytes of a file from offset to its end (empty when it cannot be read).
inline std::vector<uint8_t> ReadBytes(const std::string& path, uint64_t offset = 0) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    const auto length = static_cast<uint64_t>(in.tellg());
    if (offset >= length) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(length - offset));
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

inline std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace tsumugi::testing
