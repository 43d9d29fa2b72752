#include "editors/bonuses/trust_page.h"

#include <QFormLayout>
#include <QLabel>
#include <QStringListModel>

#include "core/bytes.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::trust_record;

constexpr int kComboCharacters = 18;
constexpr const char16_t* kPartnerLabels[kPartners] = {u"一人目", u"二人目", u"三人目", u"四人目"};

// The effect list starts with "無し(0xFFFF)" where a value of 0 would stand, so item 0
// shows both 0 and 0xFFFF and stores 0xFFFF; items 1-3 stand for their own value.
int EffectItem(uint32_t value) {
    if (value == editors::kNone16) return 0;
    return value <= static_cast<uint32_t>(kEffectMax) ? static_cast<int>(value) : -1;
}
uint16_t EffectValue(int item) {
    return item > 0 && item <= kEffectMax ? static_cast<uint16_t>(item) : editors::kNone16;
}

ui::ComboBox* AddCombo(const QString& label, QFormLayout* form) {
    auto* combo = new ui::ComboBox(label);
    editors::SetContentsLength(combo, kComboCharacters);
    form->addRow(ui::MakeLabel(label, combo), combo);
    return combo;
}

}  // namespace

CTrustPage::CTrustPage(const QStringList& pilots, const QStringList& types, QWidget* parent)
    : QWidget(parent) {
    const QString none = QStringLiteral("無し(0xFFFF)");
    auto* form = new QFormLayout(this);

    // A type one past the last name also shows "無し(0xFFFF)"; every empty combo of a
    // page stores 0xFFFF.
    auto* type = AddCombo(QStringLiteral("補正タイプ"), form);
    type->SetItems(QStringList(types) << none);
    m_type = editors::ValueCombo(type, {static_cast<int>(types.size()), editors::kNone16, true, true});

    m_pEffect = AddCombo(QStringLiteral("効果"), form);
    m_pEffect->SetItems(QStringList{none} << editors::TextItems(std::span(kEffectItems).subspan(1)));

    // The pilot one past the last also shows "無し(0xFFFF)".
    m_pPartnerModel = new QStringListModel(QStringList(pilots) << none, this);
    const editors::ComboMapping partner{static_cast<int>(pilots.size()), editors::kNone16, true, true};
    for (int k = 0; k < kPartners; ++k) {
        auto* combo = AddCombo(QString::fromUtf16(kPartnerLabels[k]), form);
        combo->ShareModel(m_pPartnerModel);
        m_partners[static_cast<size_t>(k)] = editors::ValueCombo(combo, partner);
    }
    for (ui::ComboBox* combo : findChildren<ui::ComboBox*>()) combo->SetCurSel(0);
}

void CTrustPage::Load(const uint8_t* page) {
    m_type.Load(tsumugi::Read16(page + kType));
    m_pEffect->SetCurSel(EffectItem(tsumugi::Read16(page + kEffect)));
    for (int k = 0; k < kPartners; ++k) {
        m_partners[static_cast<size_t>(k)].Load(tsumugi::Read16(page + kPartner + 2 * static_cast<uint32_t>(k)));
    }
}

void CTrustPage::Store(uint8_t* page) const {
    tsumugi::Write16(page + kType, static_cast<uint16_t>(m_type.Store()));
    tsumugi::Write16(page + kEffect, EffectValue(m_pEffect->GetCurSel()));
    for (int k = 0; k < kPartners; ++k) {
        tsumugi::Write16(page + kPartner + 2 * static_cast<uint32_t>(k),
                         static_cast<uint16_t>(m_partners[static_cast<size_t>(k)].Store()));
    }
}
