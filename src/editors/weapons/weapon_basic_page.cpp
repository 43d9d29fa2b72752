#include "editors/weapons/weapon_basic_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <iterator>
#include <span>

#include "core/bytes.h"
#include "core/layout/units.h"
#include "core/text_codec.h"
#include "editors/common/game_text_field.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace {

using namespace tsumugi::layout::weapon_record;

constexpr editors::NumberRow kNumberRows[] = {
    {u"攻撃力", kAttack, 2}, {u"命中＋", kHit, 2}, {u"クリティカル＋", kCritical, 2},
    {u"弾数", kAmmo, 2},     {u"消費EN", kEn, 2},  {u"必要気力", kMorale, 2},
    {u"使用WP", kWp, 1},
};
constexpr size_t kRowCount = std::size(kNumberRows);
constexpr size_t kMinRangeField = kRowCount, kMaxRangeField = kRowCount + 1,
                 kSkillLevelField = kRowCount + 2;

constexpr int kNumberWidth = 70;  // pixels: room for five digits
constexpr int kByteWidth = 50;    // three digits
constexpr int kNameWidth = 240;   // a full name of sixteen wide characters

// The "～" between the two range boxes. It is no label: the box after it carries its own
// name ("最大射程"), so it is drawn rather than made a label of that box.
class RangeMark : public QWidget {
public:
    RangeMark() { setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred); }
    QSize sizeHint() const override {
        return fontMetrics().size(Qt::TextSingleLine, Text()) + QSize(8, 0);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawText(rect(), Qt::AlignCenter, Text());
    }

private:
    static QString Text() { return QStringLiteral("～"); }
};

}  // namespace

CWeaponBasicPage::CWeaponBasicPage(const uint8_t* rom, uint32_t romSize, QWidget* parent)
    : QWidget(parent), m_pRom(rom), m_nRomSize(romSize) {
    CreateControls();
}

CWeaponBasicPage::~CWeaponBasicPage() = default;

void CWeaponBasicPage::CreateControls() {
    // The controls join the page in reading order, which is also the order the Tab key
    // visits them: the name, the number column, then the groups beside it.
    auto* numbers = new QFormLayout;
    m_pName = new ui::Edit(QStringLiteral("名前"));
    m_pName->setMinimumWidth(kNameWidth);
    numbers->addRow(ui::MakeLabel(QStringLiteral("名前"), m_pName), m_pName);
    editors::AddNumberRows(kNumberRows, std::span(m_numbers).first(kRowCount), numbers, kNumberWidth);
    QLayout* range = CreateRangeRow();
    numbers->addRow(ui::MakeLabel(QStringLiteral("射程"), m_numbers[kMinRangeField].edit), range);

    QWidget* skill = CreateSkillGroup();
    m_pTerrain = std::make_unique<editors::TerrainGroup>(nullptr);

    auto* grid = new QGridLayout(this);
    grid->addLayout(numbers, 0, 0, 3, 1);
    grid->addWidget(skill, 0, 1);
    grid->addWidget(m_pTerrain->Group(), 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(2, 1);
}

QLayout* CWeaponBasicPage::CreateRangeRow() {
    auto* min = new ui::Edit(QStringLiteral("射程"));
    auto* max = new ui::Edit(QStringLiteral("最大射程"));
    min->setFixedWidth(kByteWidth);
    max->setFixedWidth(kByteWidth);
    m_numbers[kMinRangeField] = {min, kMinRange, 1};
    m_numbers[kMaxRangeField] = {max, kMaxRange, 1};
    auto* row = new QHBoxLayout;
    row->addWidget(min);
    row->addWidget(new RangeMark);
    row->addWidget(max);
    row->addStretch();
    return row;
}

QWidget* CWeaponBasicPage::CreateSkillGroup() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    const QString title = QStringLiteral("必要技能");
    auto* combo = new ui::ComboBox(title);
    QStringList skills = editors::NameItems(codec, tsumugi::NameKind::Skill);
    const int skillCount = static_cast<int>(skills.size());
    skills << QStringLiteral("無し(0xFF)");
    combo->SetItems(skills);
    editors::SetContentsLength(combo, 12);
    combo->SetCurSel(0);
    m_skill = editors::ValueCombo(combo, {skillCount, editors::kNone8});

    auto* level = new ui::Edit(QStringLiteral("LV"));
    level->setFixedWidth(kByteWidth);
    m_numbers[kSkillLevelField] = {level, kSkillLevel, 1};

    auto* form = new QFormLayout;
    form->addRow(combo);
    form->addRow(ui::MakeLabel(QStringLiteral("LV"), level), level);
    return ui::MakeGroup(title, form);
}

void CWeaponBasicPage::LoadRecord(const uint8_t* record) {
    editors::LoadNumbers(m_numbers, record);
    m_skill.Load(record[kSkill]);
    m_pTerrain->Load(tsumugi::Read16(record + kTerrain));
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_bNameEditable = editors::ShowGameText(codec, m_pName, record + kName, kNameLength);
}

bool CWeaponBasicPage::StoreFields(uint8_t* record) {
    std::vector<uint32_t> values;
    if (!editors::ReadNumbers(m_numbers, values)) return false;
    editors::WriteNumbers(m_numbers, values, record);
    record[kSkill] = static_cast<uint8_t>(m_skill.Store());
    tsumugi::Write16(record + kTerrain, m_pTerrain->Store());
    return true;
}

bool CWeaponBasicPage::StoreName(uint8_t* record, bool& changed) {
    changed = false;
    if (!m_bNameEditable) return true;
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    return editors::StoreGameText(codec, this, m_pName, record + kName, kNameLength,
                                  ui::NameFailure(), &changed);
}

QString CWeaponBasicPage::NameText() const { return m_pName->GetText(); }
