// The main window's patch-code commands: "保存", "読み込み" and "上書き保存".
#include <algorithm>
#include <vector>

#include "app/file_places.h"
#include "app/main_dlg.h"
#include "app/main_support.h"
#include "core/bytes.h"
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

// A list of codes longer than this shows its first lines and a count of the rest.
constexpr size_t kListedCodes = 20;

// The codes at the given offsets, one "%08X:%04X" line each as a code file holds them.
QString CodeLines(const tsumugi::PatchCodeList& codes, const std::vector<uint32_t>& offsets) {
    QString text;
    const size_t shown = std::min(offsets.size(), kListedCodes);
    for (size_t i = 0; i < shown; ++i) {
        const uint32_t offset = offsets[i];
        text += QStringLiteral("\n%1:%2")
                    .arg(offset + tsumugi::kBusBase, 8, 16, QLatin1Char('0'))
                    .arg(codes.Find(offset).value_or(0), 4, 16, QLatin1Char('0'))
                    .toUpper();
    }
    if (offsets.size() > shown) text += QStringLiteral("\n…ほか%1個").arg(offsets.size() - shown);
    return text;
}

QString SkippedText(size_t skipped) {
    return QStringLiteral("\nファイルの終わりより後ろの%1個のコードは書き込んでいません。").arg(skipped);
}

// What a failed in-place write did to the file. When no code was written the message is
// the plain failure; otherwise it names the codes written and not written, or says that
// every code was written without knowing whether they reached the disk.
QString RewriteFailureText(const tsumugi::PatchCodeList& codes, const tsumugi::ApplyReport& report,
                           size_t skipped) {
    QString text = QStringLiteral("書き換えに失敗しました。");
    if (report.written.empty()) return text;
    if (!report.error.empty()) text += QStringLiteral("\n(%1)").arg(QString::fromLocal8Bit(report.error));
    if (report.notWritten.empty()) {
        text += QStringLiteral("\n次の%1個のコードは書き込みましたが、ディスクに保存されたか確かめられませんでした:")
                    .arg(report.written.size());
        text += CodeLines(codes, report.written);
    } else {
        text += QStringLiteral("\n書き込んだコード(%1個):").arg(report.written.size());
        text += CodeLines(codes, report.written);
        text += QStringLiteral("\n書き込めなかったコード(%1個):").arg(report.notWritten.size());
        text += CodeLines(codes, report.notWritten);
    }
    if (skipped > 0) text += SkippedText(skipped);
    return text;
}

}  // namespace

void CMainDlg::OnSaveCodes() {
    if (m_codes.Empty()) {
        ui::MessageBox(this, QStringLiteral("保存するコードがありません"));
        return;
    }
    ui::FileDialogOptions options = CodeFileOptions(QStringLiteral("コードの保存"));
    options.defaultSuffix = QStringLiteral("txt");
    PlaceChooser(options, FileKind::Codes, m_rom, QStringLiteral(".txt"));
    const std::optional<QString> path = ui::services().SaveFile(this, options);
    if (path) RememberFolder(FileKind::Codes, *path);
    if (path && !m_session.SaveCodes(LocalPath(*path))) {
        ui::MessageBox(this, QStringLiteral("コードの保存に失敗しました。"));
    }
}

void CMainDlg::OnLoadCodes() {
    if (!m_rom.IsLoaded()) {
        ui::MessageBox(this, QStringLiteral("先にRomファイルを読み込んでください。"));
        return;
    }
    ui::FileDialogOptions options = CodeFileOptions(QStringLiteral("コードファイルを開く"));
    PlaceChooser(options, FileKind::Codes, m_rom);
    const std::optional<QString> path = ui::services().OpenFile(this, options);
    if (!path) return;
    RememberFolder(FileKind::Codes, *path);
    bool keep = true;
    if (!m_codes.Empty()) {
        switch (ui::services().Message(this, QStringLiteral("現在のコードに追加しますか？"), ui::MsgButtons::YesNoCancel)) {
        case ui::MsgResult::Yes:
            break;
        case ui::MsgResult::No:
            keep = false;
            break;
        default:
            return;
        }
    }
    DialogQuestions questions(this);
    const tsumugi::LoadCodesResult result = m_session.LoadCodes(LocalPath(*path), keep, questions);
    ReportJournal();
    switch (result) {
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
    tsumugi::ApplyReport report;
    const tsumugi::RewriteResult result = m_session.Rewrite(&skipped, &report);
    ReportJournal();
    if (result != tsumugi::RewriteResult::Written) {
        ui::MessageBox(this, RewriteFailureText(m_codes, report, skipped));
        return;
    }
    QString text = QStringLiteral("書き換えに成功しました。");
    if (skipped > 0) text += SkippedText(skipped);
    ui::MessageBox(this, text);
}

}  // namespace app
