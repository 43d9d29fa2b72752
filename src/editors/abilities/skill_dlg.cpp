#include "editors/abilities/skill_dlg.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/text_codec.h"
#include "editors/common/game_text_field.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace {

using namespace tsumugi::layout::skill_record;
namespace skill_types = tsumugi::layout::skill_type_names;
using editors::StoreOutcome;

constexpr const char16_t* kPageTitles[kPageCount] = {u"その１", u"その２", u"その３"};
constexpr int kNumberWidth = 44;

uint32_t PageOffset(int page) { return kPages + kPageLength * static_cast<uint32_t>(page); }

}  // namespace

CSkillDlg::CSkillDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::RecordListDlg(rom, romSize, {kBase, kSize, kCount}, parent) {
    CreateControls();
    m_pPages->SetCurSel(0);
    m_type.Combo()->SetCurSel(0);
    ShowFirstRecord();
}

void CSkillDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    CreateFrame(QStringLiteral("特殊技能"), QStringLiteral("特殊技能"),
                editors::NameItems(codec, tsumugi::NameKind::Skill), QSize(200, 420),
                CreateDataGroup());
    connect(m_pPages, &ui::TabCtrl::SelChange, this, [this] { LoadPage(); });
}

QWidget* CSkillDlg::CreateDataGroup() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);

    // The controls join the group in reading order, which is also the order the Tab key
    // visits them.
    auto* form = new QFormLayout;
    m_pName = new ui::Edit(QStringLiteral("名前"));
    form->addRow(ui::MakeLabel(QStringLiteral("名前"), m_pName), m_pName);
    auto* type = new ui::ComboBox(QStringLiteral("技能種類"));
    type->SetItems(editors::TextTableItems(codec, skill_types::kBase, skill_types::kEntrySize,
                                           static_cast<int>(skill_types::kEntrySize), skill_types::kCount));
    m_type = editors::ValueCombo(type, {skill_types::kCount, std::nullopt});
    form->addRow(ui::MakeLabel(QStringLiteral("技能種類"), type), type);
    m_pAcquirable = new ui::CheckBox(QStringLiteral("取得可能"));
    m_pHasLevels = new ui::CheckBox(QStringLiteral("レベルあり"));
    auto* flags = new QHBoxLayout;
    flags->addWidget(m_pAcquirable);
    flags->addWidget(m_pHasLevels);
    flags->addStretch();
    form->addRow(QString(), flags);
    auto* maxLevel = new ui::Edit(QStringLiteral("最大レベル"));
    maxLevel->setFixedWidth(kNumberWidth);
    form->addRow(ui::MakeLabel(QStringLiteral("最大レベル"), maxLevel), maxLevel);
    m_numbers[0] = {maxLevel, kMaxLevel, 1};

    // One box per level, left to right, each under its level.
    auto* costs = new QGridLayout;
    for (int level = 1; level <= kLevels; ++level) {
        const QString label = QStringLiteral("LV%1").arg(level);
        auto* box = new ui::Edit(label);
        box->setFixedWidth(kNumberWidth);
        costs->addWidget(ui::MakeLabel(label, box), 0, level - 1, Qt::AlignHCenter);
        costs->addWidget(box, 1, level - 1);
        m_numbers[static_cast<size_t>(level)] = {box, kPpCosts + static_cast<uint32_t>(level - 1), 1};
    }
    costs->setColumnStretch(kLevels, 1);

    // The tab strip stands over the one description box.
    m_pPages = editors::MakePageStrip(QStringLiteral("説明のページ"), kPageTitles);
    m_pDescription = new ui::MultiEdit(QStringLiteral("説明"));
    m_pDescription->setMinimumSize(320, 90);
    auto* description = new QVBoxLayout;
    description->setSpacing(0);
    description->addWidget(m_pPages);
    description->addWidget(m_pDescription, 1);

    auto* layout = new QVBoxLayout;
    auto* data = ui::MakeGroup(QStringLiteral("データ"), layout);
    layout->addLayout(form);
    layout->addWidget(ui::MakeGroup(QStringLiteral("消費PP"), costs));
    layout->addWidget(ui::MakeGroup(QStringLiteral("説明"), description), 1);
    return data;
}

void CSkillDlg::ShowRecord(const uint8_t* record) {
    m_pAcquirable->SetCheck(record[kAcquirable] != 0);
    m_pHasLevels->SetCheck(record[kHasLevels] != 0);
    editors::LoadNumbers(m_numbers, record);
    m_type.Load(record[kType]);
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_bNameEditable = editors::ShowGameText(codec, m_pName, record + kName, kNameLength);

    // The tab stays where it was: the new record shows the same page.
    m_nPage = -1;
    LoadPage();
}

bool CSkillDlg::StoreRecord() { return Store() == StoreOutcome::Stored; }

StoreOutcome CSkillDlg::Store() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return StoreOutcome::NoRecord;

    record[kAcquirable] = m_pAcquirable->GetCheck() ? 1 : 0;
    record[kHasLevels] = m_pHasLevels->GetCheck() ? 1 : 0;
    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return StoreOutcome::BadNumber;
    editors::WriteNumbers(m_numbers, values, record);
    record[kType] = static_cast<uint8_t>(m_type.Store());

    if (m_bNameEditable) {
        tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
        bool renamed = false;
        if (!editors::StoreGameText(codec, this, m_pName, record + kName, kNameLength,
                                    ui::NameFailure(), &renamed)) {
            return StoreOutcome::BadText;
        }
        if (renamed) m_pList->SetText(m_nShown, m_pName->GetText());
    }
    return StoreShownPage();
}

void CSkillDlg::LoadPage() {
    const uint8_t* record = Record(m_nShown);
    if (record == nullptr) return;
    if (m_nPage >= 0 && !StorePage()) {
        m_pPages->SetCurSel(m_nPage);
        return;
    }
    const int page = m_pPages->GetCurSel();
    if (page < 0 || page >= kPageCount) return;
    m_nPage = page;
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_bPageEditable = editors::ShowGameText(codec, m_pDescription, record + PageOffset(page), kPageLength);
}

bool CSkillDlg::StorePage() { return StoreShownPage() == StoreOutcome::Stored; }

StoreOutcome CSkillDlg::StoreShownPage() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr || m_nPage < 0 || m_nPage >= kPageCount) return StoreOutcome::NoRecord;
    if (!m_bPageEditable) return StoreOutcome::Stored;
    // Only a changed text is written, so an untouched page keeps whatever follows its
    // terminator.
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    if (!editors::StoreGameText(codec, this, m_pDescription, record + PageOffset(m_nPage), kPageLength,
                                ui::DescriptionTextFailure())) {
        return StoreOutcome::BadText;
    }
    return StoreOutcome::Stored;
}

bool CSkillDlg::MayClose() { return m_nShown < 0 || editors::OkMayClose(Store()); }
