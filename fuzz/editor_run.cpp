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
#include "guarded_image.h"
#include "ui/controls.h"
#include "ui/dialog.h"

namespace fuzzing {
namespace {

const std::vector<uint8_t>& Demo() {
    static const std::vector<uint8_t> demo = tsumugi::demo::BuildRom();
    return demo;
}

void LoadDemoTable() {
    tsumugi::CharTable& table = tsumugi::CharTable::Instance();
    if (table.m_bLoaded) return;
    const std::string text = tsumugi::demo::StringTable();
    FUZZ_CHECK(table.Parse(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    table.m_bLoaded = true;
}

// The image the editor runs on and the copy the checks compare it with. Both hold the demo
// except where the last run may have changed them (dirty), and the image also where a
// settling editor may have written (touched); Reset puts those stretches back.
struct Images {
    GuardedImage image{static_cast<uint32_t>(Demo().size())};
    std::vector<uint8_t> before = Demo();
    std::vector<Area> dirty{{0, image.Capacity()}};
    std::vector<Area> touched;

    void Reset() {
        const std::vector<uint8_t>& demo = Demo();
        const auto put = [&](const Area& a, bool both) {
            if (a.offset >= demo.size()) return;
            const size_t n = std::min<size_t>(a.length, demo.size() - a.offset);
            image.Write(a.offset, demo.data() + a.offset, n);
            if (both) std::memcpy(before.data() + a.offset, demo.data() + a.offset, n);
        };
        for (const Area& a : dirty) put(a, true);
        for (const Area& a : touched) put(a, false);
        dirty.clear();
        touched.clear();
    }
};

// The bytes an editor of category may write in an image of size bytes.
std::vector<Area> WritableAreas(int category, uint32_t size) {
    std::vector<Area> areas;
    for (const tsumugi::DataRegion& r : tsumugi::RegionsOf(category)) areas.push_back({r.offset, r.length});
    if (size > tsumugi::kGameDataEnd) areas.push_back({tsumugi::kGameDataEnd, size - tsumugi::kGameDataEnd});
    return areas;
}

// Where the input's operations may write, in this order: the category's regions, the
// family's extra stretches, the extension area and every fixed-record table (which the
// editors read for names).
std::vector<Area> OperationAreas(const Family& family, int category, uint32_t size) {
    std::vector<Area> areas;
    for (const tsumugi::DataRegion& r : tsumugi::RegionsOf(category)) areas.push_back({r.offset, r.length});
    for (const Area& a : family.extra) areas.push_back(a);
    if (size > tsumugi::kGameDataEnd) areas.push_back({tsumugi::kGameDataEnd, size - tsumugi::kGameDataEnd});
    for (const tsumugi::layout::Table& t : tsumugi::layout::Tables()) areas.push_back({t.base, t.End() - t.base});
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

// Applies the operations to the image and its copy; the stretches written become dirty.
void Apply(const uint8_t* data, size_t size, const std::vector<Area>& areas, Images& images) {
    const uint32_t imageSize = images.image.Size();
    size_t p = 0;
    int ops = 0;
    while (p + 5 <= size && ops < 64) {
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
                if (p + 2 > size) return;
                const auto delta = static_cast<int16_t>(data[p] | data[p + 1] << 8);
                p += 2;
                tsumugi::Write32(bytes, PointerTarget(length, delta, imageSize, area));
                n = 4;
                break;
            }
            case 2:  // a fill: terminators, zeroes or any value
                if (p + 1 > size) return;
                n = length;
                std::memset(bytes, data[p++], n);
                break;
            default:  // a 16-bit count or value at its maximum
                n = 2;
                bytes[0] = bytes[1] = 0xFF;
                if (length & 1) bytes[1] = 0x7F;
                break;
        }
        if (at >= imageSize) continue;
        n = std::min<size_t>(n, imageSize - at);
        images.image.Write(at, bytes, n);
        std::memcpy(images.before.data() + at, bytes, n);
        images.dirty.push_back({at, static_cast<uint32_t>(n)});
        ++ops;
    }
}

// The moves of a walk, read from the input: byte 3 gives their number (low three bits,
// plus one); then three bytes a move: which chooser, and a 16-bit row, low byte first,
// modulo its rows. A byte 3 of 0xFF also asks for the editor to be built afresh over the
// input's image, so that its lists come from the input's names; that costs many runs'
// time and is granted to one such input in eight (by the sum of the input's bytes), so
// that the fuzzer's liking for the new lines it reaches cannot fill a run with it.
struct Move {
    uint8_t chooser;
    uint16_t row;
};
struct Walk {
    bool fresh = false;
    std::vector<Move> moves;
    size_t used = 0;  // input bytes read
};

Walk ReadWalk(const uint8_t* input, size_t inputSize) {
    Walk walk;
    if (inputSize <= 3) return walk;
    const uint8_t* data = input + 3;
    const size_t size = inputSize - 3;
    const int count = 1 + (data[0] & 7);
    unsigned sum = 0;
    for (size_t i = 0; i < inputSize; ++i) sum += input[i];
    walk.fresh = data[0] == 0xFF && sum % 8 == 0;
    walk.used = 1;
    for (int i = 0; i < count && walk.used + 3 <= size; ++i, walk.used += 3) {
        const uint8_t* m = data + walk.used;
        walk.moves.push_back({m[0], static_cast<uint16_t>(m[1] | m[2] << 8)});
    }
    return walk;
}

// The editor's choosers in the walker's order, with the trust editor's pilot combo (which
// the walker's list leaves out) first.
std::vector<QWidget*> ChoosersOf(ui::Dialog* editor) {
    std::vector<QWidget*> choosers = testing_ui::Choosers(editor);
    if (auto* pilot = testing_ui::Named<ui::ComboBox>(editor, QStringLiteral("パイロット")))
        choosers.insert(choosers.begin(), pilot);
    return choosers;
}

void Go(const std::vector<QWidget*>& choosers, const Walk& walk) {
    if (choosers.empty()) return;
    for (const Move& m : walk.moves) {
        QWidget* chooser = choosers[m.chooser % choosers.size()];
        const int rows = testing_ui::RowCount(chooser);
        if (!chooser->isEnabled() || rows == 0) continue;
        testing_ui::Reveal(chooser);
        testing_ui::Choose(chooser, m.row % rows);
    }
}

// An editor kept from one run to the next, built over the demo image of its size; the
// most recently used kKept of them. Every widget alive costs each show and hide (Qt walks
// all widgets for the top-level ones), so the image lengths an input may ask for are few.
constexpr size_t kKept = 16;
constexpr uint32_t kCutKiB[8] = {0, 1, 2, 3, 4, 16, 32, 63};
struct Kept {
    int category;
    uint32_t size;
    std::unique_ptr<ui::Dialog> editor;
};

// Brings a kept editor back to where one built anew over the demo image stands: the first
// row of every chooser, shown from the demo, and the first page of every tab strip. The
// outer chooser (the first that is not a tab strip) always moves away and back, since what
// it shows may come from the last run; a move is made only when the image holds the demo
// again, so that what it stores never reaches the row shown next. The other choosers were
// filled afresh by that move and only go back to their first row. False when a move was
// refused or a chooser stands elsewhere afterwards.
bool Settle(ui::Dialog* editor, Images& images, const std::vector<Area>& writable) {
    const auto clean = [&] {
        images.Reset();
        images.image.Guard(writable);
        images.touched = writable;
    };
    const std::vector<QWidget*> choosers = ChoosersOf(editor);
    bool outer = true;
    for (QWidget* c : choosers) {
        const int rows = testing_ui::RowCount(c);
        if (rows == 0 || !c->isEnabled()) continue;
        const bool tabs = qobject_cast<ui::TabCtrl*>(c) != nullptr;
        if (!tabs && outer && testing_ui::CurrentRow(c) == 0) {
            if (rows < 2 || !testing_ui::Choose(c, 1)) return false;
            clean();
        }
        if (testing_ui::CurrentRow(c) != 0) {
            if (!testing_ui::Choose(c, 0)) return false;
            if (!tabs) clean();
        }
        if (!tabs) outer = false;
    }
    for (QWidget* c : choosers)
        if (testing_ui::RowCount(c) > 0 && testing_ui::CurrentRow(c) != 0) return false;
    return true;
}

// The bytes in which a and b differ inside areas, or -1.
int64_t FirstDifference(const uint8_t* a, const uint8_t* b, const std::vector<Area>& areas, uint32_t size) {
    for (const Area& area : areas) {
        if (area.offset >= size) continue;
        const uint32_t n = std::min(area.length, size - area.offset);
        if (std::memcmp(a + area.offset, b + area.offset, n) == 0) continue;
        for (uint32_t i = area.offset; i < area.offset + n; ++i)
            if (a[i] != b[i]) return i;
    }
    return -1;
}

}  // namespace

void InitEditors(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_STYLE_OVERRIDE", "Fusion");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_SCALE_FACTOR", "1");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Never destroyed, like the editors kept between runs: at exit Qt's own storage may be
    // gone before the application.
    new QApplication(*argc, *argv);
    LoadDemoTable();
    Demo();
}

int RunEditor(const Family& family, const uint8_t* data, size_t size) {
    if (size < 3 || family.categories.empty()) return 0;
    // Kept to the end of the process and never destroyed (see InitEditors).
    static AutoServices& services = *new AutoServices;
    static Images& images = *new Images;
    static std::vector<Kept>& kept = *new std::vector<Kept>;  // the most recently used last
    LoadDemoTable();

    const int category = family.categories[data[0] % family.categories.size()];
    const uint32_t full = static_cast<uint32_t>(Demo().size());
    const uint32_t length = data[1] < 0xC0 ? full : tsumugi::kGameDataEnd + kCutKiB[data[1] & 7] * 0x400u;
    const Walk walk = ReadWalk(data, size);
    const std::vector<Area> writable = WritableAreas(category, length);

    images.Reset();
    images.image.Resize(length);

    // The editor: one kept from an earlier run, settled, or one built now over the demo.
    std::unique_ptr<ui::Dialog> editor;
    if (!walk.fresh) {
        auto it = std::find_if(kept.begin(), kept.end(),
                               [&](const Kept& k) { return k.category == category && k.size == length; });
        if (it != kept.end()) {
            editor = std::move(it->editor);
            kept.erase(it);
            services.Reset(0);
            images.image.Guard(writable);
            images.touched = writable;
            if (!Settle(editor.get(), images, writable)) editor.reset();
            images.Reset();
        }
        if (!editor) editor = app::CreateEditor(category, images.image.Data(), length);
        FUZZ_CHECK(editor != nullptr);
    }

    Apply(data + 3 + walk.used, size - 3 - walk.used, OperationAreas(family, category, length), images);
    const std::vector<Area> shared = images.image.Guard(writable);
    std::vector<Area> compared = writable;
    compared.insert(compared.end(), shared.begin(), shared.end());

    tsumugi::RomImage rom;
    rom.m_pData = images.image.Data();
    rom.m_nSize = length;
    tsumugi::EditGuard guard;
    const tsumugi::EditGuard::BeginResult begun = guard.Begin(rom, category);
    rom.m_pData = nullptr;  // the image is not the RomImage's to free
    FUZZ_CHECK(begun == tsumugi::EditGuard::BeginResult::Ok);

    if (walk.fresh) {
        editor = app::CreateEditor(category, images.image.Data(), length);
        FUZZ_CHECK(editor != nullptr);
    }
    services.Reset(data[2]);
    // Shown as the main window shows it, but never painted: nothing draws itself here.
    editor->setAttribute(Qt::WA_DontShowOnScreen);
    editor->setUpdatesEnabled(false);
    editor->setResult(0);
    editor->show();
    QCoreApplication::processEvents();
    Go(ChoosersOf(editor.get()), walk);
    QCoreApplication::processEvents();
    const bool accepted = testing_ui::PressOk(editor.get()) && editor->result() == QDialog::Accepted;

    // Pages without a writable byte are read-only: a write there has stopped the run
    // already. The bytes sharing a page with writable ones are compared here.
    uint8_t* const image = images.image.Data();
    const int64_t stray = FirstDifference(images.before.data(), image, shared, length);
    if (stray >= 0) {
        std::fprintf(stderr, "category %d wrote 0x%08llX outside its regions\n", category,
                     static_cast<unsigned long long>(stray));
        std::abort();
    }
    if (accepted) {
        tsumugi::PatchCodeList codes;
        guard.Commit(codes);
        // The codes name only writable bytes and rebuild the edited image from the old.
        for (const auto& [offset, value] : codes) {
            const uint32_t n = offset + 1 < length ? 2 : 1;
            FUZZ_CHECK(tsumugi::WritableFor(category, offset, n, length));
            images.before[offset] = static_cast<uint8_t>(value & 0xFF);
            if (n == 2) images.before[offset + 1] = static_cast<uint8_t>(value >> 8);
            images.dirty.push_back({offset, n});
        }
        FUZZ_CHECK(FirstDifference(images.before.data(), image, compared, length) < 0);
    } else {
        // OK refused (a record that cannot be stored): cancel, and the image is as before.
        editor->reject();
        guard.Restore();
        FUZZ_CHECK(FirstDifference(images.before.data(), image, compared, length) < 0);
    }
    // The image now differs from the demo only where the operations wrote and the codes
    // name (nothing else changed, as checked): those are put back before the next run.
    editor->hide();
    QCoreApplication::processEvents();

    // An editor built over the demo is kept for the next run of its category and length.
    if (!walk.fresh) {
        kept.push_back({category, length, std::move(editor)});
        if (kept.size() > kKept) kept.erase(kept.begin());
    }
    return 0;
}

}  // namespace fuzzing
