#include "editors/pilots/pilot_spirit_dlg.h"

#include <vector>

#include "core/layout/pilots.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"

namespace {

using namespace tsumugi::layout::pilot_spirit_record;

// A spirit command name holds up to six full-width characters (14 bytes with its end).
constexpr int kComboCharacters = 9;

std::unique_ptr<editors::SlotGrid> CreateSlots(tsumugi::CTextCodec& codec) {
    QStringList spirits = editors::NameItems(codec, tsumugi::NameKind::Spirit);
    const int spiritCount = static_cast<int>(spirits.size());
    spirits << QStringLiteral("無し(0xFF)");

    const editors::SlotHeader headers[] = {
        {QStringLiteral("精神コマンド")}, {QStringLiteral("LV")}, {QStringLiteral("SP")}};
    std::vector<editors::SlotRow> rows;
    for (int s = 0; s < kSlots; ++s) {
        const auto slot = static_cast<uint32_t>(s);
        const QString n = QString::number(s + 1);
        rows.push_back({{QStringLiteral("精神コマンド") + n, kSpirits + slot},
                        {{QStringLiteral("LV") + n, kLevels + slot},
                         {QStringLiteral("SP") + n, kCosts + slot}}});
    }
    // A slot byte past the list (33-254) shows nothing and is stored as "none".
    const editors::ComboMapping mapping{
        .count = spiritCount, .none = editors::kNone8, .emptyStoresNone = true};
    return std::make_unique<editors::SlotGrid>(QStringLiteral("データ"), headers, rows, spirits,
                                               mapping, kComboCharacters);
}

}  // namespace

CPilotSpiritDlg::CPilotSpiritDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::SlotRecordDlg(rom, romSize, {kBase, kSize, kCount},
                             editors::SlotStoreOrder::NumbersFirst, parent) {
    tsumugi::CTextCodec codec(rom, romSize);
    CreateControls(QStringLiteral("パイロット精神"), QStringLiteral("パイロット"),
                   editors::NameItems(codec, tsumugi::NameKind::Pilot), CreateSlots(codec));
}
