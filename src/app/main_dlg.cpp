#include "app/main_dlg.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/about_dlg.h"
#include "app/app_icon.h"
#include "app/file_places.h"
#include "app/main_support.h"
#include "core/char_table.h"
#include "core/edit_guard.h"
#include "core/settings.h"
#include "core/text_codec.h"
#include "editors/strings/string_tool_dlg.h"
#include "ui/controls.h"
#include "ui/services.h"
#include "ui/text.h"

namespace app {
namespace {

// The ROM file of a drop: exactly one local file ending in ".gba".
QString DroppedRom(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    const QString path = urls.front().toLocalFile();
    return path.endsWith(QLatin1String(".gba"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

CMainDlg::CMainDlg(QWidget* parent) : ui::Dialog(parent) {
    setWindowTitle(QStringLiteral("Tsumugi"));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    CreateControls();
    m_pCategoryList->SetCurSel(0);
}

void CMainDlg::CreateControls() {
    auto button = [this](const char16_t* label, void (CMainDlg::*handler)()) {
        auto* b = new ui::Button(QString::fromUtf16(label), this);
        connect(b, &QPushButton::clicked, this, handler);
        connect(b, &QPushButton::clicked, this, &CMainDlg::RefreshStatus);
        return b;
    };
    // The window menu: the icon in the corner opens it, as the title-bar icon would.
    auto* about = new QAction(QStringLiteral("Tsumugi のﾊﾞｰｼﾞｮﾝ情報(&A)..."), this);
    connect(about, &QAction::triggered, this, &CMainDlg::OnAbout);
    auto* windowMenu = new QMenu(this);
    windowMenu->addAction(about);
    auto* menuButton = new QToolButton(this);
    menuButton->setIcon(AppIcon());
    menuButton->setIconSize(QSize(20, 20));
    menuButton->setAutoRaise(true);
    menuButton->setPopupMode(QToolButton::InstantPopup);
    menuButton->setMenu(windowMenu);
    menuButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"
                                             "QToolButton:focus { border: 2px solid palette(highlight); border-radius: 3px; }"));
    // Named after its entry, without the mnemonic mark a screen reader would read out.
    QString menuName = about->text();
    menuName.remove(QLatin1Char('&'));
    ui::SetLabel(menuButton, menuName);
    menuButton->setToolTip(menuName);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* romLayout = new QVBoxLayout;
    romLayout->addWidget(button(u"開く", &CMainDlg::OnOpenRom));
    romLayout->addWidget(button(u"上書き保存", &CMainDlg::OnRewrite));
    romLayout->addWidget(button(u"別名保存", &CMainDlg::OnSaveAs));

    auto* codeLayout = new QVBoxLayout;
    codeLayout->addWidget(button(u"保存", &CMainDlg::OnSaveCodes));
    codeLayout->addWidget(button(u"読み込み", &CMainDlg::OnLoadCodes));
    codeLayout->addWidget(button(u"変更一覧", &CMainDlg::OnChangeList));
    codeLayout->addWidget(button(u"パッチ出力", &CMainDlg::OnExportPatch));
    CreateHistoryControls(codeLayout);
    // Created in reading order, which is the order Tab follows: the left column first.
    ui::Button* stringTool = button(u"文字列ツール", &CMainDlg::OnStringTool);
    ui::Button* quit = button(u"終了", &CMainDlg::OnCancel);

    m_pCategoryList = new ui::ListBox(QStringLiteral("改造"), this);
    for (int c = 0; c < tsumugi::kCategoryCount; ++c) m_pCategoryList->AddString(QString::fromUtf8(tsumugi::CategoryLabel(c)));
    connect(m_pCategoryList, &ui::ListBox::DblClk, this, &CMainDlg::OnEdit);
    connect(m_pCategoryList, &ui::ListBox::DblClk, this, &CMainDlg::RefreshStatus);
    // Every row visible without scrolling.
    const int rowHeight = qMax(m_pCategoryList->sizeHintForRow(0), fontMetrics().height() + 2);
    m_pCategoryList->setMinimumHeight(rowHeight * tsumugi::kCategoryCount + 2 * m_pCategoryList->frameWidth() + 4);
    m_pCategoryList->setMinimumWidth(m_pCategoryList->sizeHintForColumn(0) + 2 * m_pCategoryList->frameWidth() + 24);
    auto* editLayout = new QVBoxLayout;
    editLayout->addWidget(m_pCategoryList, 1);
    auto* editRow = new QHBoxLayout;
    editRow->addStretch(1);
    // The spreadsheet commands serve the categories that have a fixed-record table.
    ui::Button* exportCsv = button(u"CSV出力", &CMainDlg::OnExportTable);
    ui::Button* importCsv = button(u"CSV読込", &CMainDlg::OnImportTable);
    connect(m_pCategoryList, &ui::ListBox::currentRowChanged, this, [this, exportCsv, importCsv] {
        exportCsv->setEnabled(SelectedTable() != nullptr);
        importCsv->setEnabled(SelectedTable() != nullptr);
    });
    editRow->addWidget(exportCsv);
    editRow->addWidget(importCsv);
    editRow->addWidget(button(u"編集", &CMainDlg::OnEdit));
    editLayout->addLayout(editRow);

    auto* left = new QVBoxLayout;
    auto* menuRow = new QHBoxLayout;
    menuRow->addWidget(menuButton);
    menuRow->addStretch(1);
    left->addLayout(menuRow);
    left->addWidget(ui::MakeGroup(QStringLiteral("Romファイル"), romLayout, this));
    left->addWidget(ui::MakeGroup(QStringLiteral("作成コード"), codeLayout, this));
    left->addStretch(1);
    left->addWidget(stringTool);
    left->addWidget(quit);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(ui::MakeGroup(QStringLiteral("改造"), editLayout, this), 1);

    m_pStatus = new QLabel(this);
    m_pStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pStatus->setAccessibleName(QStringLiteral("状態"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(m_pStatus);
    RefreshStatus();
}

void CMainDlg::RefreshStatus() {
    const QString rom = m_rom.IsLoaded()
                            ? QFileInfo(FromLocalPath(m_rom.m_szPath)).fileName() +
                                  QStringLiteral("（%L1 byte）").arg(m_rom.m_nSize)
                            : QStringLiteral("読み込まれていません");
    m_pStatus->setText(QStringLiteral("Rom: %1　　コード: %2").arg(rom).arg(m_codes.Size()));
    m_pStatus->setToolTip(m_rom.IsLoaded() ? FromLocalPath(m_rom.m_szPath) : QString());
    RefreshHistory();
}

bool CMainDlg::OpenRom(const QString& path) {
    // The stored folder must not depend on the directory the program was started in.
    const QFileInfo file(path);
    DialogQuestions questions(this);
    m_session.Close();
    if (!m_workspace.LoadRom(LocalPath(file.absoluteFilePath()), questions)) {
        RefreshStatus();
        return false;
    }
    StartSession();
    // Cut as text, not as bytes: file names here are UTF-8, whose multi-byte characters a
    // two-byte reading would pair with the separator that follows them.
    const std::string folder = LocalPath(file.absolutePath());
    if (folder != tsumugi::ReadRomFolder()) tsumugi::WriteRomFolder(folder);
    RefreshStatus();
    return true;
}

void CMainDlg::OnOpenRom() {
    ui::FileDialogOptions options;
    options.title = QStringLiteral("ファイルを開く");
    options.filterText = QStringLiteral("GBAﾌｧｲﾙ(*.gba)");
    options.filterPattern = QStringLiteral("*.gba");
    options.initialFolder = FromLocalPath(tsumugi::ReadRomFolder());
    const std::optional<QString> path = ui::services().OpenFile(this, options);
    if (path) OpenRom(*path);
}

void CMainDlg::OnSaveAs() {
    if (!m_rom.IsLoaded()) return;
    ui::FileDialogOptions options;
    options.title = QStringLiteral("名前を付けて保存");
    options.filterText = QStringLiteral("GBAﾌｧｲﾙ(*.gba)");
    options.filterPattern = QStringLiteral("*.gba");
    options.defaultSuffix = QStringLiteral("gba");
    // Not the ROM's own name: saving under another name is the point.
    PlaceChooser(options, FileKind::Rom, m_rom, QStringLiteral("-edited.gba"));
    const std::optional<QString> path = ui::services().SaveFile(this, options);
    if (path) RememberFolder(FileKind::Rom, *path);
    if (path && !m_rom.SaveTo(LocalPath(*path))) ui::MessageBox(this, QStringLiteral("保存に失敗しました。"));
}

void CMainDlg::OnEdit() {
    const int row = m_pCategoryList->GetCurSel();
    if (row >= 0) EditCategory(row);
}

bool CMainDlg::MayReadText() {
    if (!m_rom.IsLoaded()) {
        ui::MessageBox(this, NoRomText());
        return false;
    }
    switch (CheckText(m_rom)) {
    case TextCheck::Ok:
        return true;
    case TextCheck::NoTable:
        ui::MessageBox(this, ui::TableFailure());
        return false;
    case TextCheck::RomTooShort:
        ui::MessageBox(this, TooShortText());
        return false;
    }
    return false;
}

bool CMainDlg::EditCategory(int category) {
    if (!MayReadText()) return false;
    tsumugi::EditGuard guard;
    switch (guard.Begin(m_rom, category)) {
    case tsumugi::EditGuard::BeginResult::Ok:
        break;
    case tsumugi::EditGuard::BeginResult::NoRom:
        ui::MessageBox(this, NoRomText());
        return false;
    case tsumugi::EditGuard::BeginResult::RomTooShort:
        ui::MessageBox(this, TooShortText());
        return false;
    case tsumugi::EditGuard::BeginResult::OutOfMemory:
        ui::MessageBox(this, QStringLiteral("メモリが足りないため、編集できません。"));
        return false;
    }
    // Created after the copies, so whatever the editor writes, even while it is being
    // built, is recorded or undone.
    std::unique_ptr<ui::Dialog> editor = m_factory ? m_factory(category, m_rom.m_pData, m_rom.m_nSize) : nullptr;
    if (!editor) {
        ui::MessageBox(this, QStringLiteral("このデータのエディタはまだありません。"));
        return false;
    }
    if (editor->DoModal() == QDialog::Accepted) {
        m_session.CommitEdit(guard, category);
        ReportJournal();
    } else {
        guard.Restore();
    }
    RefreshStatus();
    return true;
}

void CMainDlg::OnStringTool() {
    if (!m_rom.IsLoaded()) return;
    // The tool keeps every read inside the image, so only a missing table stops it.
    if (CheckText(m_rom) == TextCheck::NoTable) {
        ui::MessageBox(this, ui::TableFailure());
        return;
    }
    editors::CStringToolDlg tool(m_rom.m_pData, m_rom.m_nSize);
    tool.DoModal();
}

void CMainDlg::OnAbout() {
    CAboutDlg about(this);
    about.DoModal();
}

void CMainDlg::OnCancel() {
    if (ui::services().Message(this, QuitQuestion(), ui::MsgButtons::OkCancel) == ui::MsgResult::Ok) {
        m_session.Close();
        EndDialog(QDialog::Rejected);
    }
}

void CMainDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedRom(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainDlg::dropEvent(QDropEvent* event) {
    const QString path = DroppedRom(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Opened once the drop is over: the drag's source waits for this handler, and the
    // title question would hold it up for as long as the question stays open.
    // Never while an editor runs on the buffer (its modal run blocks drops, not timers).
    QTimer::singleShot(0, this, [this, path] {
        const QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == this) OpenRom(path);
    });
}

}  // namespace app
