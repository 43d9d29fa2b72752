#include "editors/scenario/scenario_dlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/layout/scenario.h"
#include "core/scenario_lists.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"
#include "editors/scenario/scenario_message_page.h"
#include "editors/scenario/scenario_unit_page.h"
#include "ui/controls.h"

namespace {

enum Page { kUnitPage = 0, kMessagePage = 1 };

QString S(const char16_t* text) { return QString::fromUtf16(text); }

QString PointerText(uint32_t pointer) {
    return QStringLiteral("%1").arg(pointer, 8, 16, QLatin1Char('0')).toUpper();
}

// The one-line note for a pointer that is not followed; empty for one that is.
QString PointerNote(const char16_t* what, tsumugi::PointerTarget kind, uint32_t pointer) {
    switch (kind) {
        case tsumugi::PointerTarget::Unusable:
            return S(u"%1のポインタ %2 はROMの範囲外です。").arg(S(what), PointerText(pointer));
        case tsumugi::PointerTarget::PastImage:
            return S(u"%1のポインタ %2 はROMの終わりを越えています。").arg(S(what), PointerText(pointer));
        default:
            return QString();
    }
}

}  // namespace

CScenarioDlg::CScenarioDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize) {
    setWindowTitle(S(u"シナリオデータ"));
    CreateControls();
    m_pChapter->SetCurSel(0);
    ShowPage(kUnitPage);
    ChangeChapter();
}

void CScenarioDlg::CreateControls() {
    m_pChapter = new ui::ComboBox(S(u"話"));
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_pChapter->SetItems(editors::NameItems(codec, tsumugi::NameKind::Chapter));
    editors::SetContentsLength(m_pChapter, 24);
    auto* chapterRow = new QHBoxLayout;
    chapterRow->addWidget(ui::MakeLabel(S(u"話"), m_pChapter));
    chapterRow->addWidget(m_pChapter);
    chapterRow->addStretch();

    m_pTab = new ui::TabCtrl(S(u"データ"));
    m_pUnitPage = new CScenarioUnitPage(m_pRom, m_nRomSize);
    m_pMessagePage = new CScenarioMessagePage(m_pRom, m_nRomSize);
    m_pTab->InsertItem(kUnitPage, m_pUnitPage, S(u"マップデータ"));
    m_pTab->InsertItem(kMessagePage, m_pMessagePage, S(u"セリフ"));

    auto* ok = new ui::Button(QStringLiteral("OK"));
    auto* cancel = new ui::Button(S(u"ｷｬﾝｾﾙ"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* top = new QVBoxLayout(this);
    top->addLayout(chapterRow);
    top->addWidget(m_pTab, 1);
    top->addLayout(buttons);

    connect(m_pChapter, &ui::ComboBox::SelChange, this, &CScenarioDlg::ChangeChapter);
    connect(ok, &QPushButton::clicked, this, &CScenarioDlg::OnOkButton);
    connect(cancel, &QPushButton::clicked, this, &CScenarioDlg::OnCancel);
}

void CScenarioDlg::ShowPage(int tab) { m_pTab->SetCurSel(tab); }

bool CScenarioDlg::StorePages() {
    if (!m_pUnitPage->StoreRecord()) return false;
    if (!m_pMessagePage->StoreMessage()) {
        ShowPage(kMessagePage);
        return false;
    }
    return true;
}

void CScenarioDlg::ChangeChapter() {
    const int n = m_pChapter->GetCurSel();
    if (n < 0) return;
    if (!StorePages()) {
        m_pChapter->SetCurSel(m_nPrevious);
        return;
    }

    // Each page shows the chapter's list, or an empty list with a note when its pointer
    // cannot be followed: neither page may keep the previous chapter beside this one.
    uint32_t deployPointer = 0, messagePointer = 0;
    if (!tsumugi::ReadChapterPointers(m_pRom, m_nRomSize, n, deployPointer, messagePointer)) {
        const QString note = S(u"話のポインタ表がROMの終わりを越えています。");
        m_pUnitPage->ShowNone(note);
        m_pMessagePage->ShowNone(note);
        m_nPrevious = n;
        return;
    }
    namespace dr = tsumugi::layout::deploy_record;
    namespace mr = tsumugi::layout::message_record;
    const tsumugi::ChapterTarget deploy = tsumugi::ConvertChapterPointer(deployPointer, dr::kSize, m_nRomSize);
    if (deploy.kind == tsumugi::PointerTarget::Inside || deploy.kind == tsumugi::PointerTarget::None) {
        m_pUnitPage->SetChapter(deploy.offset);
    } else {
        m_pUnitPage->ShowNone(PointerNote(u"配置データ", deploy.kind, deployPointer));
    }
    const tsumugi::ChapterTarget messages = tsumugi::ConvertChapterPointer(messagePointer, mr::kSize, m_nRomSize);
    if (messages.kind == tsumugi::PointerTarget::Inside || messages.kind == tsumugi::PointerTarget::None) {
        m_pMessagePage->SetChapter(messages.offset);
    } else {
        m_pMessagePage->ShowNone(PointerNote(u"セリフ", messages.kind, messagePointer));
    }
    m_nPrevious = n;
}

void CScenarioDlg::OnOkButton() {
    if (StorePages()) EndDialog(QDialog::Accepted);
}
