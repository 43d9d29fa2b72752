// The main window's "パッチ出力": the codes recorded so far as a BPS or IPS patch.
//
// The patch leads from the ROM as it was loaded (before any code, even one already
// written into the file in place) to that ROM with the codes applied, so that it takes
// any clean copy to the image in memory. The chooser offers both formats; the name gets
// the selected filter's suffix when typed without one, and the suffix decides: BPS unless
// it is ".ips".
#include "app/file_places.h"
#include "app/main_dlg.h"
#include "app/main_support.h"
#include "core/bytes.h"
#include "core/file_io.h"
#include "core/patch_target.h"
#include "ui/services.h"

namespace app {
namespace {

ui::FileDialogOptions PatchFileOptions() {
    ui::FileDialogOptions options;
    options.title = QStringLiteral("パッチの保存");
    // Two filters in one text; the pattern is the first one's, which the text names.
    options.filterText = QStringLiteral("BPSパッチ(*.bps);;IPSパッチ(*.ips)");
    options.filterPattern = QStringLiteral("*.bps");
    options.defaultSuffix = QStringLiteral("bps");
    return options;
}

tsumugi::PatchFormat FormatOf(const QString& path) {
    return path.endsWith(QStringLiteral(".ips"), Qt::CaseInsensitive) ? tsumugi::PatchFormat::Ips
                                                                      : tsumugi::PatchFormat::Bps;
}

QString BusAddress(uint32_t offset) {
    return QString::asprintf("0x%08X", tsumugi::kBusBase + offset);
}

}  // namespace

void CMainDlg::OnExportPatch() {
    if (!m_rom.IsLoaded()) {
        ui::MessageBox(this, QStringLiteral("先にRomファイルを読み込んでください。"));
        return;
    }
    if (m_codes.Empty()) {
        ui::MessageBox(this, QStringLiteral("保存するコードがありません"));
        return;
    }
    ui::FileDialogOptions options = PatchFileOptions();
    PlaceChooser(options, FileKind::Patch, m_rom, QStringLiteral(".bps"));
    const std::optional<QString> path = ui::services().SaveFile(this, options);
    if (!path) return;
    RememberFolder(FileKind::Patch, *path);

    const std::vector<uint8_t>& source = m_workspace.m_original;
    if (source.empty()) {
        ui::MessageBox(this, QStringLiteral("ROMファイルの読み込みに失敗しました。"));
        return;
    }
    const tsumugi::PatchOutcome patch =
        tsumugi::MakePatchFromCodes(FormatOf(*path), source.data(), source.size(), m_codes);
    if (patch.status == tsumugi::PatchStatus::OutOfReach) {
        ui::MessageBox(this, QStringLiteral("IPSパッチは先頭16MBより後ろを書き換えられません。\n"
                                            "%1 の変更を含められないため、BPSで出力してください。")
                                 .arg(BusAddress(patch.address)));
        return;
    }
    if (!patch.Ok()) {
        ui::MessageBox(this, QStringLiteral("パッチの作成に失敗しました。"));
        return;
    }
    if (!tsumugi::WriteWholeFile(LocalPath(*path), patch.bytes.data(), patch.bytes.size())) {
        ui::MessageBox(this, QStringLiteral("パッチの保存に失敗しました。"));
    }
}

}  // namespace app
