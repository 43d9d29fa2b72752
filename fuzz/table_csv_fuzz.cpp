// A table imported from CSV of any content over the demo image. The first byte picks the
// table, the rest is the file.
//  - the import reads only the ROM (a block of its exact size) and never changes it;
//  - a file that says what the records hold changes nothing;
//  - what an import stored exports and imports again without a change.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/char_table.h"
#include "core/layout/descriptor.h"
#include "core/table_csv.h"
#include "demo/rom.h"
#include "fuzz_check.h"

namespace {

struct Image {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;
};

const Image& Demo() {
    static const Image image = [] {
        const std::string table = tsumugi::demo::StringTable();
        tsumugi::CharTable& t = tsumugi::CharTable::Instance();
        t.m_bLoaded = t.Parse(reinterpret_cast<const uint8_t*>(table.data()), table.size());
        const std::vector<uint8_t> rom = tsumugi::demo::BuildRom();
        Image i;
        i.size = static_cast<uint32_t>(rom.size());
        i.bytes.reset(new uint8_t[i.size]);
        std::memcpy(i.bytes.get(), rom.data(), i.size);
        return i;
    }();
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const Image& demo = Demo();
    const auto tables = tsumugi::layout::Tables();
    const tsumugi::layout::Table& table = tables[data[0] % tables.size()];
    const size_t tableBytes = table.End() - table.base;
    const std::vector<uint8_t> original(demo.bytes.get() + table.base,
                                        demo.bytes.get() + table.End());

    const tsumugi::TableCsvImport import = tsumugi::ImportTableCsv(
        table, demo.bytes.get(), demo.size, reinterpret_cast<const char*>(data + 1), size - 1);
    FUZZ_CHECK(std::memcmp(original.data(), demo.bytes.get() + table.base, tableBytes) == 0);
    if (!import.ok) {
        FUZZ_CHECK(!import.error.reason.empty());
        return 0;
    }
    FUZZ_CHECK(import.records.size() == tableBytes);
    FUZZ_CHECK(import.changed == (import.records != original));
    if (!import.changed) return 0;

    // The stored records in an image of their own, out as CSV and in again: no change.
    std::unique_ptr<uint8_t[]> edited(new uint8_t[demo.size]);
    std::memcpy(edited.get(), demo.bytes.get(), demo.size);
    std::memcpy(edited.get() + table.base, import.records.data(), tableBytes);
    const std::optional<std::string> csv = tsumugi::ExportTableCsv(table, edited.get(), demo.size);
    FUZZ_CHECK(csv.has_value());
    const tsumugi::TableCsvImport again =
        tsumugi::ImportTableCsv(table, edited.get(), demo.size, csv->data(), csv->size());
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(!again.changed);
    return 0;
}
