// The scenario data and the battle dialogue in the editors' words: every deployment and
// message record and every text the chapter and pilot pointers reach, each with the
// controls that show its bytes.
#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "core/battle_lines.h"
#include "core/bytes.h"
#include "core/change_explain_detail.h"
#include "core/layout/battle.h"
#include "core/layout/list_fields.h"
#include "core/layout/pilots.h"
#include "core/layout/scenario.h"
#include "core/layout/units.h"
#include "core/message_table.h"
#include "core/regions.h"
#include "core/scenario_lists.h"

namespace tsumugi::explain {
namespace {

namespace dr = layout::deploy_record;
namespace mr = layout::message_record;
namespace lr = layout::battle_line_record;

enum class SpanKind { Deploy, Message, MessageText, Line, LineText };

// A run of bytes the pointers reach: a record, or a text and its room.
struct Span {
    uint32_t start;
    uint32_t length;
    SpanKind kind;
    int owner;  // chapter or pilot
    int entry;  // record number within its list
};

// Shows a field's value in a record as its control does.
using Show = std::string (*)(const Image& image, const uint8_t* record, const layout::Field& field);

std::string ShowNumber(const Image&, const uint8_t* record, const layout::Field& field) {
    return std::to_string(layout::ReadField(field, record));
}

std::string ShowHex(const Image&, const uint8_t* record, const layout::Field& field) {
    const uint8_t* p = record + field.offset;
    return field.width == 2 ? HexNumber(Read16(p), 4) : HexNumber(Read32(p), 8);
}

std::string ShowChoice(const Image&, const uint8_t* record, const layout::Field& field) {
    const uint8_t v = record[field.offset];
    return v < field.items.size() ? field.items[v] : std::to_string(v);
}

std::string Named16(const Image& image, uint16_t v, NameKind kind, int count) {
    if (v == 0xFFFF) return "無し(0xFFFF)";
    return v < count ? NameOf(*image.codec, kind, v) : std::to_string(v);
}

std::string ShowUnit(const Image& image, const uint8_t* record, const layout::Field& field) {
    return Named16(image, Read16(record + field.offset), NameKind::Unit, layout::unit_record::kCount);
}

std::string ShowPilot(const Image& image, const uint8_t* record, const layout::Field& field) {
    return Named16(image, Read16(record + field.offset), NameKind::Pilot, layout::pilot_record::kCount);
}

std::string ShowDrop(const Image& image, const uint8_t* record, const layout::Field& field) {
    const uint16_t v = Read16(record + field.offset);
    if (v == 0xFFFF) return "無し";
    const int kind = v >> 12, item = v & 0xFFF;
    if (kind == 1) return "強化パーツ: " + NameOf(*image.codec, NameKind::Part, item);
    if (kind == 2) return "武器: " + NameOf(*image.codec, NameKind::Weapon, item);
    return HexNumber(v, 4);
}

// "%02X: name", as the message page and the battle dialogue list pilots and units.
std::string Numbered(const Image& image, NameKind kind, int count, uint8_t v) {
    if (v >= count) return std::to_string(v);
    return HexNumber(v, 2) + ": " + NameOf(*image.codec, kind, v);
}

std::string ShowFace(const Image& image, const uint8_t* record, const layout::Field& field) {
    const uint8_t v = record[field.offset];
    return v == 0xFF ? "無し(0xFF)" : Numbered(image, NameKind::Pilot, layout::pilot_record::kCount, v);
}

std::string ShowPlaceKind(const Image& image, const uint8_t* record, const layout::Field& field) {
    if (record[field.offset] == mr::kKindFace) return "顔と同じ(0xFF)";
    return ShowChoice(image, record, field);
}

// Byte 6 names a pilot or a unit, or is the X of a point, by the record's own kind.
std::string ShowTarget(const Image& image, const uint8_t* record, const layout::Field& field) {
    const uint8_t v = record[field.offset];
    switch (record[mr::kPositionKind]) {
        case mr::kKindPilot: return Numbered(image, NameKind::Pilot, layout::pilot_record::kCount, v);
        case mr::kKindUnit: return Numbered(image, NameKind::Unit, layout::unit_record::kCount, v);
        default: return std::to_string(v);
    }
}

std::string ShowSpeaker(const Image& image, const uint8_t* record, const layout::Field& field) {
    const uint8_t v = record[field.offset];
    if (v == lr::kDefaultSpeaker) return "FF: デフォルト";
    return Numbered(image, NameKind::Pilot, layout::battle_tables::kPilotCount, v);
}

Show ShowOf(SpanKind kind, uint32_t offset) {
    if (kind == SpanKind::Deploy) {
        switch (offset) {
            case dr::kSide: return ShowChoice;
            case dr::kUnit: return ShowUnit;
            case dr::kPilot: return ShowPilot;
            case dr::kDrop: return ShowDrop;
            default: return ShowNumber;
        }
    }
    if (kind == SpanKind::Message) {
        switch (offset) {
            case mr::kWindow: return ShowChoice;
            case mr::kFace: return ShowFace;
            case mr::kPositionKind: return ShowPlaceKind;
            case mr::kTarget: return ShowTarget;
            case mr::kText: return ShowHex;
            default: return ShowNumber;
        }
    }
    switch (offset) {
        case lr::kSpeaker: return ShowSpeaker;
        case lr::kTextOffset: return ShowHex;
        default: return ShowNumber;
    }
}

// The bits of each of its bytes a field owns: a bit field of one byte owns its bits only.
uint8_t MaskOf(const layout::Field& field) {
    if (field.bits == 0 || field.width != 1) return 0xFF;
    return static_cast<uint8_t>(((1u << field.bits) - 1u) << field.shift);
}

}  // namespace

struct ListIndex::Impl {
    std::vector<Span> spans;  // ordered by start
    uint32_t longest = 0;
    const Image* after = nullptr;

    void Add(uint32_t start, uint32_t length, SpanKind kind, int owner, int entry) {
        if (length == 0) return;
        spans.push_back({start, length, kind, owner, entry});
    }

    void AddChapter(int n);
    void AddPilot(int p);
    void Describe(const Span& span, uint32_t b, std::vector<Touch>& out) const;
};

void ListIndex::Impl::AddChapter(int n) {
    const Image& image = *after;
    uint32_t deployPointer = 0, messagePointer = 0;
    if (!ReadChapterPointers(image.data, image.size, n, deployPointer, messagePointer)) return;
    const ChapterTarget deploy = ConvertChapterPointer(deployPointer, dr::kSize, image.size);
    if (deploy.kind == PointerTarget::Inside) {
        const DeployScan scan = ScanDeployList(image.data, image.size, deploy.offset);
        if (!scan.pastImage) {
            for (int k = 0; k < scan.count; ++k) {
                Add(deploy.offset + dr::kSize * static_cast<uint32_t>(k), dr::kSize, SpanKind::Deploy, n, k);
            }
        }
    }
    const ChapterTarget messages = ConvertChapterPointer(messagePointer, mr::kSize, image.size);
    if (messages.kind != PointerTarget::Inside) return;
    const MessageScan scan = ScanMessageTable(image.data, image.size, messages.offset);
    if (scan.pastImage) return;
    std::vector<uint32_t> pointers;
    std::vector<int> lengths;
    for (int k = 0; k < scan.count; ++k) {
        const uint32_t record = messages.offset + mr::kSize * static_cast<uint32_t>(k);
        Add(record, mr::kSize, SpanKind::Message, n, k);
        pointers.push_back(Read32(image.data + record + mr::kText));
        const std::optional<uint32_t> at = MessageTextOffset(pointers.back());
        int length = 0;
        if (at && *at < image.size) {
            std::string text;
            image.codec->Decode(text, image.data + *at, kMessageTextLimit);
            length = image.codec->m_nLength;
        }
        lengths.push_back(length);
    }
    const std::vector<MessageTextRoom> rooms = MessageTextRooms(
        pointers, messages.offset, image.size, [&lengths](size_t k) { return lengths[k]; });
    for (size_t k = 0; k < rooms.size(); ++k) {
        if (rooms[k].place != MessageTextPlace::Inside) continue;
        Add(rooms[k].offset, rooms[k].limit, SpanKind::MessageText, n, static_cast<int>(k));
    }
}

void ListIndex::Impl::AddPilot(int p) {
    const Image& image = *after;
    const BattlePilot pilot = ReadBattlePilot(image.data, image.size, p);
    if (pilot.fault != BattleFault::None) return;
    const std::vector<std::optional<uint32_t>> rooms = LineRooms(image.data, pilot);
    for (int j = 0; j < pilot.lineCount; ++j) {
        Add(pilot.Record(j), lr::kSize, SpanKind::Line, p, j);
        const uint32_t text = LineText(image.data, pilot, j);
        uint32_t room = 0;
        if (const std::optional<uint32_t> r = rooms[static_cast<size_t>(j)]) {
            room = *r;
        } else if (text < image.size) {
            // A text the editor cannot store still owns the bytes it takes.
            std::string decoded;
            image.codec->Decode(decoded, image.data + text, 256);
            room = static_cast<uint32_t>(image.codec->m_nLength);
        }
        Add(text, std::min<uint32_t>(room, image.size - std::min(text, image.size)), SpanKind::LineText, p, j);
    }
}

ListIndex::ListIndex(const Image& after) : m_impl(std::make_unique<Impl>()) {
    m_impl->after = &after;
    for (int n = 0; n < layout::chapter_pointer_table::kCount; ++n) m_impl->AddChapter(n);
    for (int p = 0; p < layout::battle_tables::kPilotCount; ++p) m_impl->AddPilot(p);
    // A list two chapters share is told once, under the first.
    std::vector<Span>& spans = m_impl->spans;
    std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    std::set<std::pair<uint32_t, SpanKind>> seen;
    std::erase_if(spans, [&seen](const Span& s) { return !seen.insert({s.start, s.kind}).second; });
    for (const Span& s : spans) m_impl->longest = std::max(m_impl->longest, s.length);
}

ListIndex::~ListIndex() = default;

void ListIndex::Impl::Describe(const Span& span, uint32_t b, std::vector<Touch>& out) const {
    const bool scenario = span.kind == SpanKind::Deploy || span.kind == SpanKind::Message ||
                          span.kind == SpanKind::MessageText;
    Touch base;
    base.category = scenario ? category::kScenario : category::kBattleLine;
    base.record = span.owner;
    if (scenario) {
        base.table = span.kind == SpanKind::Deploy ? "マップデータ" : "セリフ";
        std::string chapter;
        after->codec->GetChapterName(span.owner, chapter);
        base.recordName = Utf8Of(chapter, true);
    } else {
        base.table = "バトルセリフ";
        base.recordName = NameOf(*after->codec, NameKind::Pilot, span.owner);
    }
    const std::string entry = (span.kind == SpanKind::Deploy ? "配置" : "セリフ") + std::to_string(span.entry) + " ";
    const std::string key = "L" + std::to_string(span.start) + "/" + std::to_string(static_cast<int>(span.kind));

    if (span.kind == SpanKind::MessageText || span.kind == SpanKind::LineText) {
        Touch touch = base;
        touch.key = key;
        touch.field = entry + (span.kind == SpanKind::MessageText ? "テキスト" : "内容");
        const uint32_t start = span.start, length = span.length;
        touch.render = [start, length](const Image& image) { return TextAt(image, start, length); };
        out.push_back(std::move(touch));
        return;
    }
    const std::span<const layout::Field> fields = span.kind == SpanKind::Deploy    ? layout::DeployFields()
                                                  : span.kind == SpanKind::Message ? layout::MessageFields()
                                                                                   : layout::LineFields();
    const uint32_t inRecord = b - span.start;
    for (const layout::Field& field : fields) {
        if (inRecord < field.offset || inRecord >= field.offset + field.width) continue;
        Touch touch = base;
        touch.key = key + "/" + std::to_string(field.offset);
        touch.field = entry + field.label;
        // The message page shows byte 6 as a pilot or unit, or as a point's X.
        if (span.kind == SpanKind::Message && field.offset == mr::kTarget && after->Has(span.start, mr::kSize)) {
            const uint8_t kind = after->data[span.start + mr::kPositionKind];
            touch.field = entry + (kind == mr::kKindPilot || kind == mr::kKindUnit ? "対象" : "X");
        }
        touch.mask = MaskOf(field);
        const uint32_t start = span.start, size = span.length;
        const Show show = ShowOf(span.kind, field.offset);
        touch.render = [start, size, &field, show](const Image& image) -> std::string {
            if (!image.Has(start, size)) return "";
            return show(image, image.data + start, field);
        };
        out.push_back(std::move(touch));
    }
}

void ListIndex::Touches(uint32_t b, std::vector<Touch>& out) const {
    const std::vector<Span>& spans = m_impl->spans;
    auto it = std::upper_bound(spans.begin(), spans.end(), b, [](uint32_t v, const Span& s) { return v < s.start; });
    while (it != spans.begin()) {
        --it;
        if (uint64_t{it->start} + m_impl->longest <= b) break;
        if (b < uint64_t{it->start} + it->length) m_impl->Describe(*it, b, out);
    }
}

}  // namespace tsumugi::explain
