// The main window's history: "元に戻す" and "やり直し" with their keys, the question that
// offers a session left by a crash, and the line the quit question adds for unsaved codes.
#include <QKeySequence>
#include <QLayout>
#include <QShortcut>

#include "app/main_dlg.h"
#include "app/main_support.h"
#include "ui/controls.h"
#include "ui/services.h"

namespace app {
namespace {

QString StepText(const tsumugi::Step* step) { return step ? QString::fromStdString(tsumugi::StepLabel(*step)) : QString(); }

void Describe(QWidget* button, const QString& text) {
    button->setToolTip(text);
    button->setAccessibleDescription(text);
}

}  // namespace

void CMainDlg::CreateHistoryControls(QLayout* layout) {
    m_pUndo = new ui::Button(QStringLiteral("元に戻す"), this);
    m_pRedo = new ui::Button(QStringLiteral("やり直し"), this);
    connect(m_pUndo, &QPushButton::clicked, this, &CMainDlg::OnUndo);
    connect(m_pRedo, &QPushButton::clicked, this, &CMainDlg::OnRedo);
    layout->addWidget(m_pUndo);
    layout->addWidget(m_pRedo);
    // Ctrl+Y is bound by hand: the standard redo key here is Ctrl+Shift+Z alone.
    auto bind = [this](const QKeySequence& keys, void (CMainDlg::*handler)()) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), &CMainDlg::OnUndo);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), &CMainDlg::OnRedo);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &CMainDlg::OnRedo);
}

void CMainDlg::RefreshHistory() {
    if (m_pUndo == nullptr) return;
    const tsumugi::History& history = m_session.GetHistory();
    const tsumugi::Step* undo = history.NextUndo();
    m_pUndo->setEnabled(undo != nullptr);
    Describe(m_pUndo, undo ? StepText(undo)
                      : history.BarrierNext() ? QStringLiteral("ROMファイルを拡張したため、これより前には戻せません")
                                              : QString());
    const tsumugi::Step* redo = history.NextRedo();
    m_pRedo->setEnabled(redo != nullptr);
    Describe(m_pRedo, StepText(redo));
}

void CMainDlg::OnUndo() {
    if (m_session.Undo()) ReportJournal();
    RefreshStatus();
}

void CMainDlg::OnRedo() {
    if (m_session.Redo()) ReportJournal();
    RefreshStatus();
}

void CMainDlg::ReportJournal() {
    if (m_session.TakeJournalFailure()) {
        ui::MessageBox(this, QStringLiteral("作業の記録を書き込めませんでした。\n"
                                            "このまま異常終了すると、保存していない作業は復元できません。"));
    }
}

void CMainDlg::StartSession() {
    switch (m_session.Open()) {
    case tsumugi::Session::Found::Nothing:
        break;
    case tsumugi::Session::Found::Offer:
        if (ui::services().Message(this, QStringLiteral("前回の作業が残っています。復元しますか？"), ui::MsgButtons::YesNo) !=
            ui::MsgResult::Yes) {
            m_session.Discard();
        } else if (!m_session.Recover()) {
            // The image and the codes stay as loaded; the old journal must not grow on.
            m_session.Discard();
            ui::MessageBox(this, QStringLiteral("前回の作業を復元できませんでした。"));
        }
        break;
    case tsumugi::Session::Found::SetAside:
        ui::MessageBox(this, QStringLiteral("前回の作業の記録はROMファイルと合わないため、復元せずに残しました。\n%1")
                                 .arg(FromLocalPath(m_session.JournalPath() + ".old")));
        break;
    }
    ReportJournal();
}

QString CMainDlg::QuitQuestion() const {
    QString text = QStringLiteral("終了しますか？");
    const size_t unsaved = m_rom.IsLoaded() ? m_session.UnsavedCodes() : 0;
    if (unsaved > 0)
        text += QStringLiteral("\n保存していないコードが%1個あります。（次回このROMを開いたときに復元できます）").arg(unsaved);
    return text;
}

}  // namespace app
