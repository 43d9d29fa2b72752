#include "editors/abilities/class_list_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/text_codec.h"
#include "editors/common/find_box.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/services.h"
#include "ui/text.h"

namespace editors {

CClassListDlg::CClassListDlg(uint8_t* rom, uint32_t romSize, const ClassListLayout& layout,
                             const ClassListWindow& window, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize), m_layout(layout), m_names(window.names) {
    setWindowTitle(QString::fromUtf16(window.title));
    CreateControls(window);
    m_pTab->SetCurSel(0);
    ShowCategory();
}

void CClassListDlg::CreateControls(const ClassListWindow& window) {
    // The tabs only choose the class: their pages stay empty, and the lists below serve
    // every class.
    m_pTab = new ui::TabCtrl(QStringLiteral("分類"));
    m_pTab->setDocumentMode(true);
    for (size_t c = 0; c < window.tabs.size(); ++c) {
        auto* page = new QWidget;
        page->setFixedHeight(0);
        m_pTab->InsertItem(static_cast<int>(c), page, QString::fromUtf16(window.tabs[c]));
    }

    const QString entryLabel = QString::fromUtf16(window.entryLabel);
    const QString sourceLabel = QString::fromUtf16(window.sourceLabel);
    m_pEntries = new ui::ListBox(entryLabel);
    m_pEntries->setObjectName(QStringLiteral("entries"));
    m_pSource = new ui::ListBox(sourceLabel);
    m_pSource->setObjectName(QStringLiteral("source"));
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_sourceNames = NameItems(codec, m_names);
    m_pSource->SetItems(m_sourceNames);
    for (ui::ListBox* list : {m_pEntries, m_pSource}) list->setMinimumSize(200, 360);
    auto* find = new FindBox(m_pSource, this);

    auto* add = new ui::Button(QStringLiteral("<< 追加"));
    auto* remove = new ui::Button(QStringLiteral("削除"));
    auto* up = new ui::Button(QStringLiteral("ひとつ上へ"));
    auto* down = new ui::Button(QStringLiteral("ひとつ下へ"));
    auto* ok = new ui::Button(QStringLiteral("OK"));
    auto* cancel = new ui::Button(QStringLiteral("ｷｬﾝｾﾙ"));

    // The controls join the window in reading order, which is also the order the Tab key
    // visits them.
    auto* top = new QVBoxLayout(this);
    auto* classes = new QHBoxLayout;
    classes->addWidget(ui::MakeLabel(QStringLiteral("分類"), m_pTab, this));
    classes->addWidget(m_pTab, 1);
    top->addLayout(classes);

    auto* actions = new QVBoxLayout;
    actions->addStretch();
    for (ui::Button* b : {add, remove, up, down}) actions->addWidget(b);
    actions->addStretch();
    auto* lists = new QGridLayout;
    lists->addWidget(ui::MakeLabel(entryLabel, m_pEntries, this), 0, 0);
    lists->addWidget(m_pEntries, 1, 0, 2, 1);
    lists->addLayout(actions, 1, 1, 2, 1);
    lists->addWidget(ui::MakeLabel(sourceLabel, m_pSource, this), 0, 2);
    lists->addLayout(find->MakeRow(), 1, 2);
    lists->addWidget(m_pSource, 2, 2);
    top->addLayout(lists, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    top->addLayout(buttons);
    setTabOrder(m_pTab, m_pEntries);
    setTabOrder(m_pEntries, add);
    setTabOrder(add, remove);
    setTabOrder(remove, up);
    setTabOrder(up, down);
    setTabOrder(down, find);
    setTabOrder(find, m_pSource);
    setTabOrder(m_pSource, ok);
    setTabOrder(ok, cancel);

    connect(m_pTab, &ui::TabCtrl::SelChange, this, &CClassListDlg::ShowCategory);
    connect(add, &QPushButton::clicked, this, &CClassListDlg::AddEntry);
    connect(m_pSource, &ui::ListBox::DblClk, this, &CClassListDlg::AddEntry);
    connect(remove, &QPushButton::clicked, this, &CClassListDlg::DeleteEntry);
    connect(up, &QPushButton::clicked, this, &CClassListDlg::MoveEntryUp);
    connect(down, &QPushButton::clicked, this, &CClassListDlg::MoveEntryDown);
    connect(ok, &QPushButton::clicked, this, [this] { EndDialog(QDialog::Accepted); });
    connect(cancel, &QPushButton::clicked, this, &CClassListDlg::OnCancel);
}

ClassList CClassListDlg::Current() const {
    return ClassList(RecordAt(m_pRom, m_nRomSize, m_layout.base, m_layout.size, m_layout.count, m_nClass),
                     m_layout);
}

QString CClassListDlg::NameOf(uint32_t number) const {
    if (number < static_cast<uint32_t>(m_sourceNames.size())) return m_sourceNames[static_cast<int>(number)];
    // A number past the table shows the getter's failure text.
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    std::string text;
    tsumugi::GetName(codec, m_names, static_cast<int>(std::min<uint32_t>(number, 0x7FFFFFFF)), text);
    return ui::FromCp932(text);
}

void CClassListDlg::ShowCategory() {
    const int selected = m_pTab->GetCurSel();
    if (selected < 0) return;
    m_nClass = selected;
    m_pEntries->ResetContent();
    const ClassList entries = Current();
    for (int k = 0; k < entries.Size(); ++k) m_pEntries->AddString(NameOf(entries.Entry(k)));
}

void CClassListDlg::AddEntry() {
    const int number = m_pSource->GetCurSel();
    if (m_nClass < 0 || number < 0) return;
    switch (Current().Add(static_cast<uint32_t>(number))) {
    case AddResult::Added:
        m_pEntries->SetCurSel(m_pEntries->AddString(m_pSource->GetText(number)));
        break;
    case AddResult::Full:
        ui::MessageBox(this, QStringLiteral("これ以上追加できません。"));
        break;
    case AddResult::AlreadyThere:
    case AddResult::NoRecord:
        break;
    }
}

void CClassListDlg::DeleteEntry() {
    const int k = m_pEntries->GetCurSel();
    if (m_nClass < 0 || k < 0 || !Current().Remove(k)) return;
    m_pEntries->DeleteString(k);
    m_pEntries->SetCurSel(std::min(k, m_pEntries->GetCount() - 1));
}

void CClassListDlg::MoveEntryUp() {
    const int k = m_pEntries->GetCurSel();
    if (m_nClass < 0 || k < 1 || !Current().SwapWithNext(k - 1)) return;
    SwapItems(k - 1, k - 1);
}

void CClassListDlg::MoveEntryDown() {
    const int k = m_pEntries->GetCurSel();
    if (m_nClass < 0 || k < 0 || !Current().SwapWithNext(k)) return;
    SwapItems(k, k + 1);
}

void CClassListDlg::SwapItems(int k, int select) {
    const QString text = m_pEntries->GetText(k);
    m_pEntries->DeleteString(k);
    m_pEntries->InsertString(k + 1, text);
    m_pEntries->SetCurSel(select);
}

}  // namespace editors
