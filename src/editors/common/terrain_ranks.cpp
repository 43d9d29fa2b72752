#include "editors/common/terrain_ranks.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>

#include "ui/controls.h"

namespace editors {
namespace {

constexpr int kRankCount = 5;

int ShiftOf(Terrain terrain) { return 12 - 4 * static_cast<int>(terrain); }

}  // namespace

uint8_t TerrainRank(uint16_t word, Terrain terrain) {
    return static_cast<uint8_t>((word >> ShiftOf(terrain)) & 0xF);
}

uint16_t WithTerrainRank(uint16_t word, Terrain terrain, uint8_t rank) {
    const int shift = ShiftOf(terrain);
    const auto mask = static_cast<uint16_t>(0xF << shift);
    return static_cast<uint16_t>((word & ~mask) | ((rank & 0xF) << shift));
}

TerrainGroup::TerrainGroup(QWidget* parent) {
    static const char16_t* const kLabels[] = {u"空", u"陸", u"海", u"宇"};
    const QStringList ranks = {QStringLiteral("S"), QStringLiteral("A"), QStringLiteral("B"),
                               QStringLiteral("C"), QStringLiteral("D")};
    auto* form = new QFormLayout;
    for (int i = 0; i < 4; ++i) {
        const QString label = QString::fromUtf16(kLabels[i]);
        auto* combo = new ui::ComboBox(label);
        combo->SetItems(ranks);
        m_ranks[i] = ValueCombo(combo, ComboMapping{kRankCount, std::nullopt});
        form->addRow(ui::MakeLabel(label, combo), combo);
    }
    m_pGroup = ui::MakeGroup(QStringLiteral("地形適応"), form, parent);
}

void TerrainGroup::Load(uint16_t word) {
    for (int i = 0; i < 4; ++i) m_ranks[i].Load(TerrainRank(word, static_cast<Terrain>(i)));
}

uint16_t TerrainGroup::Store() const {
    uint16_t word = 0;
    for (int i = 0; i < 4; ++i) {
        const auto terrain = static_cast<Terrain>(i);
        word = WithTerrainRank(word, terrain, static_cast<uint8_t>(m_ranks[i].Store()));
    }
    return word;
}

}  // namespace editors
