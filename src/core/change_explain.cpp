#include "core/change_explain.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

#include "core/bytes.h"
#include "core/change_explain_detail.h"
#include "core/cp932.h"
#include "core/layout/battle.h"
#include "core/layout/scenario.h"
#include "core/regions.h"

namespace tsumugi {
namespace explain {

std::string Utf8Of(std::string_view cp932, bool oneLine) {
    const std::string out = Cp932ToUtf8Escaped(cp932);
    // CR LF becomes one line break (a blank on one line).
    std::string text;
    text.reserve(out.size());
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n') {
            text += oneLine ? ' ' : '\n';
            ++i;
        } else {
            text += out[i];
        }
    }
    return text;
}

std::string TextAt(const Image& image, uint32_t offset, uint32_t limit, bool oneLine) {
    if (!image.Has(offset, 1) || limit == 0) return "Error";
    std::string text;
    image.codec->Decode(text, image.data + offset, static_cast<int>(std::min(limit, image.size - offset)));
    return Utf8Of(text, oneLine);
}

std::string NameOf(CTextCodec& codec, NameKind kind, int i) {
    std::string name;
    GetName(codec, kind, i, name);
    return Utf8Of(name, true);
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) out += ' ';
        out += HexNumber(bytes[i], 2);
    }
    return out;
}

std::string HexNumber(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace explain

namespace {

using explain::Image;
using explain::Touch;

constexpr uint32_t kCodeBytes = 2;

// Whether byte b may belong to the scenario data or the battle dialogue: inside their
// regions, or in the extension area past the game's data.
bool InLists(uint32_t b) {
    if (b >= kGameDataEnd) return true;
    for (const DataRegion& region : kRegionTable) {
        if ((region.category == category::kScenario || region.category == category::kBattleLine) &&
            b >= region.offset && b - region.offset < region.length) {
            return true;
        }
    }
    return false;
}

class Explainer {
public:
    Explainer(ImageView before, ImageView after)
        : m_beforeCodec(nullptr, 0), m_afterCodec(after.data, after.size), m_afterNames(after.data, after.size) {
        // Bytes the old image lacks read as the filler of a lengthened ROM.
        if (before.size < after.size) {
            m_padded.assign(after.data == nullptr ? 0 : after.size, 0xFF);
            if (before.data != nullptr) std::copy(before.data, before.data + before.size, m_padded.begin());
            before = {m_padded.data(), static_cast<uint32_t>(m_padded.size())};
        }
        m_beforeCodec = CTextCodec(before.data, before.size);
        m_beforeNames.emplace(before.data, before.size);
        m_before = {before.data, before.size, &m_beforeCodec, &*m_beforeNames};
        m_after = {after.data, after.size, &m_afterCodec, &m_afterNames};
    }

    void Explain(uint32_t offset, std::vector<ChangeRow>& rows) {
        std::vector<Touch> touches[kCodeBytes];
        uint8_t changed[kCodeBytes] = {}, owned[kCodeBytes] = {};
        uint8_t old[kCodeBytes] = {0xFF, 0xFF}, now[kCodeBytes] = {0xFF, 0xFF};
        bool anyChange = false;
        for (uint32_t i = 0; i < kCodeBytes; ++i) {
            const uint64_t b = uint64_t{offset} + i;
            if (m_before.Has(b, 1)) old[i] = m_before.data[b];
            if (m_after.Has(b, 1)) now[i] = m_after.data[b];
            changed[i] = old[i] ^ now[i];
            anyChange = anyChange || changed[i] != 0;
            if (!m_after.Has(b, 1)) continue;
            explain::TableTouches(m_after, static_cast<uint32_t>(b), touches[i]);
            if (InLists(static_cast<uint32_t>(b))) Lists().Touches(static_cast<uint32_t>(b), touches[i]);
            for (const Touch& t : touches[i]) owned[i] |= t.mask;
        }
        bool listed = false;
        for (uint32_t i = 0; i < kCodeBytes; ++i) {
            for (Touch& t : touches[i]) {
                if (anyChange && (t.mask & changed[i]) == 0) continue;
                listed = true;
                if (!m_seen.insert(t.key).second) continue;
                rows.push_back(RowOf(offset, t));
            }
        }
        const bool loose[kCodeBytes] = {(changed[0] & ~owned[0]) != 0, (changed[1] & ~owned[1]) != 0};
        if (loose[0] != loose[1]) {
            // One byte of the word changed where no field owns it: that byte is named.
            const uint32_t i = loose[0] ? 0 : 1;
            ChangeRow row;
            row.offset = offset + i;
            row.before = explain::HexBytes(old + i, 1);
            row.after = explain::HexBytes(now + i, 1);
            rows.push_back(std::move(row));
        } else if (loose[0] || !listed) {
            ChangeRow row;
            row.offset = offset;
            row.before = explain::HexBytes(old, kCodeBytes);
            row.after = explain::HexBytes(now, kCodeBytes);
            rows.push_back(std::move(row));
        }
    }

private:
    const explain::ListIndex& Lists() {
        if (!m_lists) m_lists.emplace(m_after);
        return *m_lists;
    }

    ChangeRow RowOf(uint32_t offset, const Touch& t) {
        ChangeRow row;
        row.offset = offset;
        row.category = t.category;
        row.table = t.table;
        row.record = t.record;
        row.recordName = t.recordName;
        row.field = t.field;
        row.before = t.render(m_before);
        row.after = t.render(m_after);
        return row;
    }

    std::vector<uint8_t> m_padded;
    CTextCodec m_beforeCodec;
    CTextCodec m_afterCodec;
    std::optional<ValueNames> m_beforeNames;
    ValueNames m_afterNames;
    Image m_before, m_after;
    std::optional<explain::ListIndex> m_lists;
    std::set<std::string> m_seen;
};

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string CodeAddress(uint32_t offset) { return explain::HexNumber(offset + kBusBase, 8); }

std::vector<ChangeRow> ExplainCodes(ImageView before, ImageView after, const PatchCodeList& codes) {
    std::vector<ChangeRow> rows;
    if (after.data == nullptr) return rows;
    Explainer explainer(before, after);
    for (const auto& [offset, value] : codes) explainer.Explain(offset, rows);
    return rows;
}

std::string ChangeRowsCsv(const std::vector<ChangeRow>& rows) {
    std::string csv = "アドレス,分類,テーブル,番号,名前,項目,変更前,変更後\r\n";
    for (const ChangeRow& row : rows) {
        const std::string fields[] = {
            CodeAddress(row.offset), CategoryLabel(row.category), row.table,
            row.record >= 0 ? std::to_string(row.record) : std::string(), row.recordName, row.field,
            row.before, row.after};
        for (size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0) csv += ',';
            csv += CsvField(fields[i]);
        }
        csv += "\r\n";
    }
    return csv;
}

}  // namespace tsumugi
