#pragma once
// The text a Choice or Reference value stands for, as the editors' lists show it, in
// UTF-8: the record names and the ROM's name tables through the codec, the fixed items
// from the field's descriptor. For read-only columns beside the numbers.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/layout/descriptor.h"
#include "core/text_codec.h"

namespace tsumugi {

class ValueNames {
public:
    ValueNames(const uint8_t* rom, uint32_t romSize);

    // The value's text; "無し" for the field's none value; empty for a value no item has.
    std::string Name(const layout::Field& field, uint32_t value);

private:
    const std::vector<std::string>& ReferenceNames(layout::Ref ref);

    CTextCodec m_codec;
    std::map<layout::Ref, std::vector<std::string>> m_names;
};

}  // namespace tsumugi
