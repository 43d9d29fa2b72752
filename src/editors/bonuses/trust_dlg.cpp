#include "editors/bonuses/trust_dlg.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "core/bytes.h"
#include "core/layout/bonuses.h"
#include "core/text_codec.h"
#include "editors/bonuses/trust_page.h"
#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::trust_record;
namespace type_names = tsumugi::layout::trust_type_names;

constexpr const char16_t* kPageTitles[kPageCount] = {u"その１", u"その２", u"その３", u"その４"};
constexpr int kPilotCharacters = 18;

uint32_t PageOffset(int page) { return kPages + kPageSize * static_cast<uint32_t>(page); }

}  // namespace

CTrustDlg::CTrustDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::RecordListDlg(rom, romSize, {kBase, kSize, kCount}, parent) {
    CreateControls();
    m_pPilot->SetCurSel(0);
    m_pPages->SetCurSel(0);
    ShowFirstRecord();
}

void CTrustDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    const QStringList pilots = editors::NameItems(codec, tsumugi::NameKind::Pilot);

    // Each record is listed under its pilot's name; a pilot number past the table (or a
    // record past the end of the image) shows "Error".
    QStringList items;
    for (int r = 0; r < kCount; ++r) {
        const uint8_t* record = Record(r);
        const uint32_t pilot = record != nullptr ? tsumugi::Read16(record + kPilot) : editors::kNone16;
        items << (pilot < static_cast<uint32_t>(pilots.size()) ? pilots[static_cast<qsizetype>(pilot)]
                                                               : QStringLiteral("Error"));
    }
    m_pPilot = new ui::ComboBox(QStringLiteral("パイロット"));
    m_pPilot->SetItems(pilots);
    editors::SetContentsLength(m_pPilot, kPilotCharacters);
    const QStringList types = editors::TextTableItems(codec, type_names::kBase, type_names::kEntrySize,
                                                      static_cast<int>(type_names::kEntrySize),
                                                      type_names::kCount);
    m_pPage = new CTrustPage(pilots, types);

    CreateFrame(QStringLiteral("信頼補正"), QStringLiteral("信頼補正項目"), items, QSize(200, 360),
                CreateDataColumn());

    connect(m_pPilot, &ui::ComboBox::SelChange, this, &CTrustDlg::OnPilotChange);
    connect(m_pPages, &ui::TabCtrl::SelChange, this, [this] { LoadPage(); });
}

QWidget* CTrustDlg::CreateDataColumn() {
    auto* pilot = new QVBoxLayout;
    pilot->addWidget(m_pPilot);

    // The tab strip stands over the one set of page choices.
    m_pPages = editors::MakePageStrip(QStringLiteral("ページ"), kPageTitles);
    auto* data = new QVBoxLayout;
    data->addWidget(m_pPages);
    data->addWidget(m_pPage);
    data->addStretch();

    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui::MakeGroup(QStringLiteral("パイロット"), pilot, column));
    layout->addWidget(ui::MakeGroup(QStringLiteral("データ"), data, column), 1);
    return column;
}

void CTrustDlg::LoadRecord() {
    // Every control is a combo, so nothing can be refused: the move goes on whatever the
    // store gives.
    StoreRecord();
    const int selected = m_pList->GetCurSel();
    const uint8_t* record = Record(selected);
    if (record == nullptr) {
        m_pList->SetCurSel(m_nShown);
        return;
    }
    m_nShown = selected;
    ShowRecord(record);
}

void CTrustDlg::ShowRecord(const uint8_t* record) {
    const uint16_t pilot = tsumugi::Read16(record + kPilot);
    m_pPilot->SetCurSel(pilot < m_pPilot->GetCount() ? pilot : -1);

    // The tab stays where it was: the new record shows the same page.
    m_nPage = -1;
    LoadPage();
}

void CTrustDlg::LoadPage() {
    const uint8_t* record = Record(m_nShown);
    if (record == nullptr) return;
    if (m_nPage >= 0) StoreRecord();
    const int page = m_pPages->GetCurSel();
    if (page < 0 || page >= kPageCount) {
        m_nPage = -1;
        return;
    }
    m_nPage = page;
    m_pPage->Load(record + PageOffset(page));
}

bool CTrustDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return false;
    // The pilot list has no "none" item: with no selection the pilot is stored as 0xFFFF.
    const int pilot = m_pPilot->GetCurSel();
    tsumugi::Write16(record + kPilot, pilot >= 0 ? static_cast<uint16_t>(pilot) : editors::kNone16);
    if (m_nPage < 0 || m_nPage >= kPageCount) return false;
    m_pPage->Store(record + PageOffset(m_nPage));
    return true;
}

void CTrustDlg::OnPilotChange() {
    const int pilot = m_pPilot->GetCurSel();
    if (pilot < 0 || m_nShown < 0) return;
    m_pList->SetText(m_nShown, m_pPilot->GetLBText(pilot));
}

bool CTrustDlg::MayClose() { return StoreRecord(); }
