#pragma once
// The pieces ExplainCodes is built from: what lies at a byte, and how a field shows its
// value. Shared by the fixed-record tables and the scenario and battle dialogue lists.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/change_explain.h"
#include "core/name_list.h"
#include "core/text_codec.h"
#include "core/value_names.h"

namespace tsumugi::explain {

// An image with the codec that reads its texts.
struct Image {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    CTextCodec* codec = nullptr;
    ValueNames* names = nullptr;  // the items of the drop-down lists

    bool Has(uint64_t offset, uint64_t length) const { return data != nullptr && offset + length <= size; }
};

// Shows a field's value as read from one image.
using Render = std::function<std::string(const Image&)>;

// One field that owns bits of a byte.
struct Touch {
    std::string key;  // the same for every byte of one field
    int category = -1;
    std::string table;
    int record = -1;
    std::string recordName;
    std::string field;
    uint8_t mask = 0xFF;  // the bits of the byte the field owns
    Render render;
};

// cp932 game text as UTF-8: CR LF becomes "\n" (or a blank when oneLine), bytes that are
// not cp932 show as "\xNN".
std::string Utf8Of(std::string_view cp932, bool oneLine = false);
// The game text at offset, at most limit bytes, decoded; "Error" when it lies outside.
std::string TextAt(const Image& image, uint32_t offset, uint32_t limit, bool oneLine = false);
// The name of record i of a name table, on one line.
std::string NameOf(CTextCodec& codec, NameKind kind, int i);
std::string HexBytes(const uint8_t* bytes, size_t count);
std::string HexNumber(uint32_t value, int digits);

// The fields of the fixed-record tables that own bits of byte b.
void TableTouches(const Image& after, uint32_t b, std::vector<Touch>& out);

// The scenario data and battle dialogue reached through the pointers of one image.
class ListIndex {
public:
    explicit ListIndex(const Image& after);
    ~ListIndex();
    void Touches(uint32_t b, std::vector<Touch>& out) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tsumugi::explain
