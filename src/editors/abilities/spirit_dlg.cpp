#include "editors/abilities/spirit_dlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <span>

#include "core/bytes.h"
#include "core/layout/abilities.h"
#include "core/text_codec.h"
#include "editors/abilities/initial_character.h"
#include "editors/common/game_text_field.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/text.h"

namespace {

using namespace tsumugi::layout::spirit_record;
using editors::StoreOutcome;

constexpr int kNumberWidth = 80;

ui::ComboBox* MakeCombo(const QString& label, std::span<const char* const> texts,
                        QFormLayout* form) {
    auto* combo = new ui::ComboBox(label);
    combo->SetItems(editors::TextItems(texts));
    combo->SetCurSel(0);
    form->addRow(ui::MakeLabel(label, combo), combo);
    return combo;
}

}  // namespace

CSpiritDlg::CSpiritDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::RecordListDlg(rom, romSize, {kBase, kSize, kCount}, parent) {
    CreateControls();
    ShowFirstRecord();
}

void CSpiritDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    CreateFrame(QStringLiteral("精神コマンド"), QStringLiteral("精神コマンド"),
                editors::NameItems(codec, tsumugi::NameKind::Spirit), QSize(180, 420),
                CreateDataGroup());
}

QWidget* CSpiritDlg::CreateDataGroup() {
    // The controls join the group in reading order, which is also the order the Tab key
    // visits them.
    auto* names = new QFormLayout;
    m_pName = new ui::Edit(QStringLiteral("名前"));
    m_pInitial = new ui::Edit(QStringLiteral("名前一文字"));
    m_pInitial->setFixedWidth(kNumberWidth);
    names->addRow(ui::MakeLabel(QStringLiteral("名前"), m_pName), m_pName);
    names->addRow(ui::MakeLabel(QStringLiteral("名前一文字"), m_pInitial), m_pInitial);
    m_target = editors::ValueCombo(MakeCombo(QStringLiteral("対象"), kTargetItems, names),
                                   {kTargetCount, std::nullopt});

    auto* unused = new QFormLayout;
    m_duration = editors::ValueCombo(MakeCombo(QStringLiteral("持続タイプ"), kDurationItems, unused),
                                     {kDurationCount, std::nullopt});
    m_pOnOthers = new ui::CheckBox(QStringLiteral("他人にかけられる"));
    unused->addRow(QString(), m_pOnOthers);
    m_pSpCost = new ui::Edit(QStringLiteral("消費SP"));
    m_pSpCost->setFixedWidth(kNumberWidth);
    unused->addRow(ui::MakeLabel(QStringLiteral("消費SP"), m_pSpCost), m_pSpCost);

    m_pDescription = new ui::MultiEdit(QStringLiteral("説明"));
    m_pDescription->setMinimumSize(320, 100);
    auto* description = new QVBoxLayout;
    description->addWidget(m_pDescription);

    auto* layout = new QVBoxLayout;
    auto* data = ui::MakeGroup(QStringLiteral("データ"), layout);
    layout->addLayout(names);
    layout->addWidget(ui::MakeGroup(QStringLiteral("無使用？"), unused));
    layout->addWidget(ui::MakeGroup(QStringLiteral("説明"), description), 1);
    return data;
}

void CSpiritDlg::ShowRecord(const uint8_t* record) {
    ui::SetUInt(m_pSpCost, record[kSpCost]);
    m_duration.Load(record[kDuration]);
    m_target.Load(record[kTarget]);
    m_pOnOthers->SetCheck(record[kOnOthers] != 0);

    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    const editors::InitialText initial = editors::ShowInitial(codec, tsumugi::Read16(record + kInitial));
    m_pInitial->SetText(initial.text);
    m_pInitial->setEnabled(initial.editable);
    m_bInitialEditable = initial.editable;
    m_bNameEditable = editors::ShowGameText(codec, m_pName, record + kName, kNameLength);
    m_bDescriptionEditable =
        editors::ShowGameText(codec, m_pDescription, record + kDescription, kDescriptionLength);
}

bool CSpiritDlg::StoreRecord() { return Store() == StoreOutcome::Stored; }

StoreOutcome CSpiritDlg::Store() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return StoreOutcome::NoRecord;

    uint32_t spCost = 0;
    if (!ui::ReadUInt(m_pSpCost, 0, 0xFF, spCost)) return StoreOutcome::BadNumber;
    record[kSpCost] = static_cast<uint8_t>(spCost);
    record[kDuration] = static_cast<uint8_t>(m_duration.Store());
    record[kOnOthers] = m_pOnOthers->GetCheck() ? 1 : 0;
    record[kTarget] = static_cast<uint8_t>(m_target.Store());

    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    if (m_bInitialEditable) {
        tsumugi::Write16(record + kInitial, editors::InitialCode(codec, m_pInitial->GetText()));
    }
    // A text is written only when the user changed it, and then whole: whatever followed
    // its terminator becomes 0x00.
    if (m_bNameEditable) {
        bool renamed = false;
        if (!editors::StoreGameText(codec, this, m_pName, record + kName, kNameLength,
                                    ui::NameFailure(), &renamed)) {
            return StoreOutcome::BadText;
        }
        if (renamed) m_pList->SetText(m_nShown, m_pName->GetText());
    }
    if (m_bDescriptionEditable &&
        !editors::StoreGameText(codec, this, m_pDescription, record + kDescription,
                                kDescriptionLength, ui::DescriptionTextFailure())) {
        return StoreOutcome::BadText;
    }
    return StoreOutcome::Stored;
}

bool CSpiritDlg::MayClose() { return m_nShown < 0 || editors::OkMayClose(Store()); }
