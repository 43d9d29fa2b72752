// The main window's patch-code commands: "保存", "読み込み" and "上書き保存".
#include "app/main_dlg.h"
#include "app/main_support.h"
#include "core/patch_code.h"
#include "ui/services.h"

namespace app {
namespace {

ui::FileDialogOptions CodeFileOptions(const QString& title) {
    ui::FileDialogOptions options;
    options.title = title;
    options.filterText = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)");
    options.filterPattern = QStringLiteral("*.txt");
    return options;
}

}  // namespace

void CMainDlg::OnSaveCodes() {
    if (m_codes.Empty()) {
        ui::MessageBox(this, QStringLiteral("保存するコードがありません"));
        return;
    }
    ui::FileDialogOptions options = CodeFileOptions(QStringLiteral("コードの保存"));
    options.defaultSuffix = QStringLiteral("txt");
    const std::optional<QString> path = ui::services().SaveFile(this, options);
    if (path && !tsumugi::WriteCodeFile(m_codes, LocalPath(*path))) {
        ui::MessageBox(this, QStringLiteral("コードの保存に失敗しました。"));
    }
}

void CMainDlg::OnLoadCodes() {
    if (!m_rom.IsLoaded()) {
        ui::MessageBox(this, QStringLiteral("先にRomファイルを読み込んでください。"));
        return;
    }
    const std::optional<QString> path = ui::services().OpenFile(this, CodeFileOptions(QStringLiteral("コードファイルを開く")));
    if (!path) return;
    if (!m_codes.Empty()) {
        switch (ui::services().Message(this, QStringLiteral("現在のコードに追加しますか？"), ui::MsgButtons::YesNoCancel)) {
        case ui::MsgResult::Yes:
            break;
        case ui::MsgResult::No:
            m_codes.Clear();
            break;
        default:
            return;
        }
    }
    DialogQuestions questions(this);
    switch (m_workspace.LoadCodes(LocalPath(*path), questions)) {
    case tsumugi::LoadCodesResult::Applied:
    case tsumugi::LoadCodesResult::ExtendDeclined:
        break;
    case tsumugi::LoadCodesResult::Unreadable:
        ui::MessageBox(this, QStringLiteral("ファイルの形式が違います。"));
        break;
    case tsumugi::LoadCodesResult::ExtendFailed:
        ui::MessageBox(this, QStringLiteral("失敗しました。"));
        break;
    case tsumugi::LoadCodesResult::PastEnd:
        ui::MessageBox(this, QStringLiteral("ROMの拡張が足りないため、コードを適用しませんでした。"));
        break;
    }
}

void CMainDlg::OnRewrite() {
    if (!m_rom.IsLoaded()) {
        ui::MessageBox(this, NoRomText());
        return;
    }
    if (m_codes.Empty()) {
        ui::MessageBox(this, QStringLiteral("書き換えるコードがありません。"));
        return;
    }
    if (ui::services().Message(this, QStringLiteral("本当に書き換えてもよろしいですか？"), ui::MsgButtons::YesNo) !=
        ui::MsgResult::Yes) {
        return;
    }
    size_t skipped = 0;
    if (m_workspace.Rewrite(&skipped) != tsumugi::RewriteResult::Written) {
        ui::MessageBox(this, QStringLiteral("書き換えに失敗しました。"));
        return;
    }
    QString text = QStringLiteral("書き換えに成功しました。");
    if (skipped > 0) {
        text += QStringLiteral("\nファイルの終わりより後ろの%1個のコードは書き込んでいません。").arg(skipped);
    }
    ui::MessageBox(this, text);
}

}  // namespace app
