#include "editors/pilots/pilot_status_dlg.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/bytes.h"
#include "core/text_codec.h"
#include "editors/common/bgm_set_list.h"
#include "editors/common/game_text_field.h"
#include "editors/common/record_editor.h"
#include "core/layout/pilots.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/services.h"
#include "ui/text.h"

namespace {

using namespace tsumugi::layout::pilot_record;
namespace personality_names = tsumugi::layout::personality_names;

constexpr editors::NumberRow kNumberRows[] = {
    {u"SP", kSp, 2},       {u"格闘", kMelee, 2},   {u"射撃", kShooting, 2},
    {u"回避", kEvasion, 2}, {u"命中", kAccuracy, 2}, {u"防御", kDefence, 2},
    {u"技量", kSkill, 2},   {u"経験値", kExperience, 2}, {u"乗り換え", kBoarding, 1},
};

constexpr int kAceBonusCount = 60;
constexpr int kNumberWidth = 80;

ui::ComboBox* MakeCombo(const QString& label, const QStringList& items, QFormLayout* form) {
    auto* combo = new ui::ComboBox(label);
    combo->SetItems(items);
    form->addRow(ui::MakeLabel(label, combo), combo);
    return combo;
}

}  // namespace

QStringList PersonalityNames(const uint8_t* rom, uint32_t romSize) {
    tsumugi::CTextCodec codec(rom, romSize);
    QStringList names;
    for (int i = 0; i < personality_names::kCount; ++i) {
        const uint32_t slot = personality_names::kBase + personality_names::kSlotSize * i;
        if (rom == nullptr || slot + personality_names::kLength > romSize) {
            names << QStringLiteral("Error");
        } else {
            names << ui::Decode(codec, rom + slot, personality_names::kLength);
        }
    }
    return names;
}

CPilotStatusDlg::CPilotStatusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::RecordListDlg(rom, romSize, {kBase, kSize, kCount}, parent) {
    CreateControls();
    ShowFirstRecord();
}

CPilotStatusDlg::~CPilotStatusDlg() = default;

void CPilotStatusDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    CreateFrame(QStringLiteral("パイロットステータス"), QStringLiteral("パイロット"),
                editors::NameItems(codec, tsumugi::NameKind::Pilot), QSize(220, 480),
                CreateDataGroup());
}

QWidget* CPilotStatusDlg::CreateDataGroup() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);

    auto* names = new QFormLayout;
    m_pName = new ui::Edit(QStringLiteral("パイロット名"));
    m_pNickname = new ui::Edit(QStringLiteral("愛称"));
    names->addRow(ui::MakeLabel(QStringLiteral("パイロット名"), m_pName), m_pName);
    names->addRow(ui::MakeLabel(QStringLiteral("愛称"), m_pNickname), m_pNickname);

    auto* profile = new QFormLayout;
    m_growth = editors::ValueCombo(MakeCombo(QStringLiteral("成長率"), editors::TextItems(kGrowthItems), profile),
                                   {kGrowthCount, std::nullopt});
    m_personality = editors::ValueCombo(
        MakeCombo(QStringLiteral("性格"), PersonalityNames(m_pRom, m_nRomSize), profile),
        {personality_names::kCount, std::nullopt});
    m_pFemale = new ui::CheckBox(QStringLiteral("女"));
    profile->addRow(QString(), m_pFemale);
    ui::ComboBox* ace = MakeCombo(QStringLiteral("エースボーナス"),
                                  editors::NameItems(codec, tsumugi::NameKind::AceBonus), profile);
    editors::SetContentsLength(ace, 24);
    m_aceBonus = editors::ValueCombo(ace, {kAceBonusCount, std::nullopt});
    ui::ComboBox* bgm = MakeCombo(QStringLiteral("BGM"), editors::BgmSetItems(codec), profile);
    editors::SetContentsLength(bgm, 36);
    m_bgmSet = editors::ValueCombo(bgm, {tsumugi::layout::bgm_table::kSetCount, std::nullopt});

    auto* numbers = new QFormLayout;
    editors::AddNumberRows(kNumberRows, m_numbers, numbers, kNumberWidth);

    // The controls join the group in reading order, which is also the order the Tab
    // key visits them.
    auto* grid = new QGridLayout;
    auto* data = ui::MakeGroup(QStringLiteral("データ"), grid);
    m_pTerrain = std::make_unique<editors::TerrainGroup>(nullptr);
    grid->addLayout(names, 0, 0, 1, 4);
    grid->addLayout(profile, 1, 0, 2, 1);
    grid->addLayout(numbers, 1, 1, 2, 1);
    grid->addWidget(m_pTerrain->Group(), 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(3, 1);
    return data;
}

void CPilotStatusDlg::ShowRecord(const uint8_t* record) {
    m_growth.Load(record[kGrowth]);
    m_pFemale->SetCheck(record[kSexPersonality] & 1);
    m_personality.Load(record[kSexPersonality] >> 4);
    m_aceBonus.Load(tsumugi::Read16(record + kAceBonus));
    m_pTerrain->Load(tsumugi::Read16(record + kTerrain));
    m_bgmSet.Load(record[kBgmSet]);
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_bNicknameEditable = editors::ShowGameText(codec, m_pNickname, record + kNickname, kNicknameLength);
    m_bNameEditable = editors::ShowGameText(codec, m_pName, record + kName, kNameLength);
    editors::LoadNumbers(m_numbers, record);
}

bool CPilotStatusDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return false;

    record[kGrowth] = static_cast<uint8_t>(m_growth.Store());
    record[kSexPersonality] = static_cast<uint8_t>(((m_personality.Store() & 0xF) << 4) |
                                                   (m_pFemale->GetCheck() ? 1 : 0));
    tsumugi::Write16(record + kAceBonus, static_cast<uint16_t>(m_aceBonus.Store()));
    tsumugi::Write16(record + kTerrain, m_pTerrain->Store());
    record[kBgmSet] = static_cast<uint8_t>(m_bgmSet.Store());

    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return false;
    editors::WriteNumbers(m_numbers, values, record);

    bool changed = false;
    if (m_bNicknameEditable && !StoreText(m_pNickname, record + kNickname, kNicknameLength, changed)) {
        return false;
    }
    if (m_bNameEditable) {
        if (!StoreText(m_pName, record + kName, kNameLength, changed)) return false;
        if (changed) m_pList->SetText(m_nShown, m_pName->GetText());
    }
    return true;
}

bool CPilotStatusDlg::StoreText(ui::Edit* edit, uint8_t* field, int limit, bool& changed) {
    // An untouched text leaves the whole field, whatever filler follows its terminator,
    // as it is.
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    return editors::StoreGameText(codec, this, edit, field, limit, ui::CharFailure(), &changed);
}
