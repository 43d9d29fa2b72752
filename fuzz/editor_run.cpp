#include "editor_run.h"

#include <QApplication>
#include <QDialog>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/editor_factory.h"
#include "auto_services.h"
#include "core/bytes.h"
#include "core/char_table.h"
#include "core/edit_guard.h"
#include "core/layout/descriptor.h"
#include "core/patch_code.h"
#include "core/regions.h"
#include "core/rom_image.h"
#include "demo/rom.h"
#include "editor_walk.h"  // tests/ui: the walker the widget tests use
#include "fuzz_check.h"
#include "ui/controls.h"
#include "ui/dialog.h"

namespace fuzzing {
namespace {

// An image in a heap block of exactly its length, so that a read past its end is caught.
struct Image {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;
};

const std::vector<uint8_t>& Demo() {
    static const std::vector<uint8_t> demo = tsumugi::demo::BuildRom();
    return demo;
}

// Brings image to size bytes of the demo. Only the stretches a run may have changed are
// copied again when the size stays.
void Reset(Image& image, uint32_t size, const std::vector<Area>& dirty) {
    const std::vector<uint8_t>& demo = Demo();
    if (image.size != size || !image.bytes) {
        image.bytes.reset(new uint8_t[size]);
        image.size = size;
        std::memcpy(image.bytes.get(), demo.data(), size);
        return;
    }
    for (const Area& a : dirty) {
        if (a.offset >= size) continue;
        const uint32_t n = std::min(a.length, size - a.offset);
        std::memcpy(image.bytes.get() + a.offset, demo.data() + a.offset, n);
    }
}

void LoadDemoTable() {
    tsumugi::CharTable& table = tsumugi::CharTable::Instance();
    if (table.m_bLoaded) return;
    const std::string text = tsumugi::demo::StringTable();
    FUZZ_CHECK(table.Parse(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    table.m_bLoaded = true;
}

std::vector<Area> AreasOf(const Family& family, int category, uint32_t size) {
    std::vector<Area> areas;
    for (const tsumugi::DataRegion& r : tsumugi::RegionsOf(category))
        areas.push_back({r.offset, r.length});
    for (const Area& a : family.extra) areas.push_back(a);
    if (size > tsumugi::kGameDataEnd)
        areas.push_back({tsumugi::kGameDataEnd, size - tsumugi::kGameDataEnd});
    for (const tsumugi::layout::Table& t : tsumugi::layout::Tables())
        areas.push_back({t.base, t.End() - t.base});
    return areas;
}

// Where a pointer operation aims: near the image's end, the 16 MiB line, or a region's
// edges, give or take a signed 16-bit distance.
uint32_t PointerTarget(uint8_t base, int16_t delta, uint32_t size, const Area& area) {
    uint32_t at = 0;
    switch (base % 8) {
        case 0:
            at = size;
            break;
        case 1:
            at = tsumugi::kGameDataEnd;
            break;
        case 2:
            at = area.offset;
            break;
        case 3:
            at = area.offset + area.length;
            break;
        case 4:
            at = tsumugi::layout::scenario_area::kStart;
            break;
        case 5:
            at = tsumugi::layout::scenario_area::kEnd;
            break;
        case 6:
            at = tsumugi::layout::battle_tables::kTextStart;
            break;
        default:
            at = tsumugi::layout::battle_tables::kTableStart;
            break;
    }
    return tsumugi::kBusBase + at + static_cast<uint32_t>(static_cast<int32_t>(delta));
}

// Applies the operations to both copies; returns the stretches written.
std::vector<Area> Apply(const uint8_t* data, size_t size, const std::vector<Area>& areas, Image& a,
                        Image& b) {
    std::vector<Area> written;
    size_t p = 0;
    while (p + 5 <= size && written.size() < 64) {
        const uint8_t head = data[p];
        const Area& area = areas[(head & 0x3F) % areas.size()];
        const uint32_t within = (data[p + 1] | data[p + 2] << 8 | data[p + 3] << 16) %
                                std::max<uint32_t>(area.length, 1);
        const uint32_t at = area.offset + within;
        const uint8_t length = data[p + 4];
        p += 5;
        uint8_t bytes[256];
        size_t n = 0;
        switch (head >> 6) {
            case 0:  // bytes from the input
                n = std::min<size_t>(length, size - p);
                std::memcpy(bytes, data + p, n);
                p += n;
                break;
            case 1: {  // a bus address, length picking its base, the next two bytes its distance
                if (p + 2 > size) return written;
                const auto delta = static_cast<int16_t>(data[p] | data[p + 1] << 8);
                p += 2;
                tsumugi::Write32(bytes, PointerTarget(length, delta, a.size, area));
                n = 4;
                break;
            }
            case 2:  // a fill: terminators, zeroes or any value
                if (p + 1 > size) return written;
                n = length;
                std::memset(bytes, data[p++], n);
                break;
            default:  // a 16-bit count or value at its maximum
                n = 2;
                bytes[0] = bytes[1] = 0xFF;
                if (length & 1) bytes[1] = 0x7F;
                break;
        }
        if (at >= a.size) continue;
        n = std::min<size_t>(n, a.size - at);
        std::memcpy(a.bytes.get() + at, bytes, n);
        std::memcpy(b.bytes.get() + at, bytes, n);
        written.push_back({at, static_cast<uint32_t>(n)});
    }
    return written;
}

// Every byte in which after differs from before lies where category may write.
void CheckWrites(int category, const Image& before, const Image& after) {
    constexpr uint32_t kBlock = 4096;
    for (uint32_t at = 0; at < after.size; at += kBlock) {
        const uint32_t n = std::min(kBlock, after.size - at);
        if (std::memcmp(before.bytes.get() + at, after.bytes.get() + at, n) == 0) continue;
        for (uint32_t i = at; i < at + n; ++i) {
            if (before.bytes[i] == after.bytes[i]) continue;
            if (!tsumugi::WritableFor(category, i, 1, after.size)) {
                std::fprintf(stderr, "category %d wrote 0x%08X outside its regions\n", category, i);
                std::abort();
            }
        }
    }
}

// The rows of a chooser of count rows a walk visits: all when limit is 0, else limit of
// them spread evenly, the first and the last among them.
std::vector<int> RowsToVisit(int count, int limit) {
    std::vector<int> rows;
    if (limit <= 1 || count <= limit) {
        for (int r = 0; r < count; ++r) rows.push_back(r);
        return rows;
    }
    for (int i = 0; i < limit; ++i) {
        const int r = static_cast<int>(static_cast<int64_t>(i) * (count - 1) / (limit - 1));
        if (rows.empty() || rows.back() != r) rows.push_back(r);
    }
    return rows;
}

// Every record of the outer chooser (the record list, the chapter, the pilot; the trust
// editor's pilot combo, which the walker's chooser list leaves out, comes first) and, for
// each, the rows of every other chooser, through the walker's own moves.
void Walk(ui::Dialog* editor, int innerRows) {
    std::vector<QWidget*> choosers = testing_ui::Choosers(editor);
    if (auto* pilot = testing_ui::Named<ui::ComboBox>(editor, QStringLiteral("パイロット")))
        choosers.insert(choosers.begin(), pilot);
    if (choosers.empty()) return;
    QWidget* outer = choosers.front();
    for (int row = 0; row < testing_ui::RowCount(outer); ++row) {
        testing_ui::Reveal(outer);
        testing_ui::Choose(outer, row);
        for (size_t k = 1; k < choosers.size(); ++k) {
            QWidget* inner = choosers[k];
            if (!inner->isEnabled()) continue;
            for (const int r : RowsToVisit(testing_ui::RowCount(inner), innerRows)) {
                testing_ui::Reveal(inner);
                testing_ui::Choose(inner, r);
            }
        }
    }
}

}  // namespace

void InitEditors(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_STYLE_OVERRIDE", "Fusion");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_SCALE_FACTOR", "1");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    static QApplication app(*argc, *argv);
    LoadDemoTable();
    Demo();
}

int RunEditor(const Family& family, const uint8_t* data, size_t size) {
    if (size < 3 || family.categories.empty()) return 0;
    static AutoServices services;
    static Image image, before;
    static std::vector<Area> dirty;
    LoadDemoTable();

    const int category = family.categories[data[0] % family.categories.size()];
    const uint32_t full = static_cast<uint32_t>(Demo().size());
    const uint32_t length =
        data[1] < 0xC0 ? full : tsumugi::kGameDataEnd + (data[1] - 0xC0) * 0x400u;
    services.Reset(data[2]);
    Reset(image, length, dirty);
    Reset(before, length, dirty);
    dirty.clear();

    const std::vector<Area> areas = AreasOf(family, category, length);
    dirty = Apply(data + 3, size - 3, areas, image, before);
    // Whatever the editor may write is copied back before the next run.
    for (const tsumugi::DataRegion& r : tsumugi::RegionsOf(category))
        dirty.push_back({r.offset, r.length});
    if (length > tsumugi::kGameDataEnd)
        dirty.push_back({tsumugi::kGameDataEnd, length - tsumugi::kGameDataEnd});

    tsumugi::RomImage rom;
    rom.m_pData = image.bytes.get();
    rom.m_nSize = image.size;
    tsumugi::EditGuard guard;
    const tsumugi::EditGuard::BeginResult begun = guard.Begin(rom, category);
    rom.m_pData = nullptr;  // the image is not the RomImage's to free
    FUZZ_CHECK(begun == tsumugi::EditGuard::BeginResult::Ok);

    {
        std::unique_ptr<ui::Dialog> editor =
            app::CreateEditor(category, image.bytes.get(), image.size);
        FUZZ_CHECK(editor != nullptr);
        editor->show();
        QCoreApplication::processEvents();
        Walk(editor.get(), family.innerRows);
        QCoreApplication::processEvents();
        const bool accepted =
            testing_ui::PressOk(editor.get()) && editor->result() == QDialog::Accepted;
        CheckWrites(category, before, image);
        if (accepted) {
            tsumugi::PatchCodeList codes;
            guard.Commit(codes);
            // The codes name only writable bytes and rebuild the edited image from the old.
            for (const auto& [offset, value] : codes) {
                const uint32_t n = offset + 1 < image.size ? 2 : 1;
                FUZZ_CHECK(tsumugi::WritableFor(category, offset, n, image.size));
                before.bytes[offset] = static_cast<uint8_t>(value & 0xFF);
                if (n == 2) before.bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
            }
            FUZZ_CHECK(std::memcmp(before.bytes.get(), image.bytes.get(), image.size) == 0);
        } else {
            // OK refused (a record that cannot be stored): cancel, and the image is as before.
            editor->reject();
            guard.Restore();
            FUZZ_CHECK(std::memcmp(before.bytes.get(), image.bytes.get(), image.size) == 0);
        }
        editor->hide();
    }
    QCoreApplication::processEvents();
    return 0;
}

}  // namespace fuzzing
