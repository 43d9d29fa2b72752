#pragma once
// Seeded pseudo-random inputs for the robustness tests. Only the raw output of
// std::mt19937 is used (its sequence is fixed by the standard, the distributions are
// not), so a seed gives the same inputs on every run and with every library.
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tsumugi::test {

class RandomBytes {
public:
    explicit RandomBytes(uint32_t seed) : m_gen(seed) {}

    uint32_t Next() { return m_gen(); }
    // 0 .. n - 1; n must be above 0.
    uint32_t Below(uint64_t n) { return static_cast<uint32_t>(m_gen() % n); }
    bool OneIn(uint32_t n) { return Below(n) == 0; }
    uint8_t Byte() { return static_cast<uint8_t>(m_gen()); }
    char From(std::string_view alphabet) { return alphabet[Below(alphabet.size())]; }

    std::string Text(size_t length, std::string_view alphabet) {
        std::string text(length, '\0');
        for (char& c : text) c = From(alphabet);
        return text;
    }
    std::string Bytes(size_t length) {
        std::string bytes(length, '\0');
        for (char& c : bytes) c = static_cast<char>(Byte());
        return bytes;
    }

    // Applies `edits` edits at random places: a bit flipped, a byte inserted or deleted,
    // a CR, LF or NUL put in or written over a byte.
    void Mutate(std::string& text, int edits) {
        static constexpr char kBreakers[] = {'\r', '\n', '\0'};
        for (int e = 0; e < edits; ++e) {
            const size_t at = Below(text.size() + 1);
            const bool inside = at < text.size();
            switch (Below(5)) {
                case 0:
                    if (inside) text[at] = static_cast<char>(text[at] ^ (1 << Below(8)));
                    break;
                case 1:
                    text.insert(at, 1, static_cast<char>(Byte()));
                    break;
                case 2:
                    if (inside) text.erase(at, 1);
                    break;
                case 3:
                    text.insert(at, 1, kBreakers[Below(3)]);
                    break;
                default:
                    if (inside) text[at] = kBreakers[Below(3)];
                    break;
            }
        }
    }

private:
    std::mt19937 m_gen;
};

// The bytes in printable form, for failure messages.
inline std::string Shown(std::string_view bytes) {
    std::string out;
    char hex[8];
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            out += c;
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

// An exactly sized heap copy of the bytes: a vector built from a range allocates no
// slack, so the sanitizer catches a read at its end.
inline std::vector<uint8_t> Exact(std::string_view bytes) {
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace tsumugi::test
