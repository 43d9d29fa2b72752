// A test-only driver of the real main window for the crash test. Both modes open
// DIR/demo.gba (table DIR/string.txt) as the program does, answering Yes to every question
// and printing it. "edit" then runs two editors that change words and close with OK, prints
// the state and "ready", and waits to be killed; "recover" prints the state. The state is
// the image's CRC32 and the codes.
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <cstdio>
#include <string>

#include "app/main_dlg.h"
#include "core/bytes.h"
#include "core/journal.h"
#include "core/settings.h"
#include "ui/services.h"

namespace {

class AnswerYes final : public ui::Services {
public:
    ui::MsgResult Message(QWidget*, const QString& text, ui::MsgButtons buttons) override {
        std::printf("question: %s\n", text.toUtf8().constData());
        return buttons == ui::MsgButtons::OkCancel ? ui::MsgResult::Ok : ui::MsgResult::Yes;
    }
    std::optional<QString> OpenFile(QWidget*, const ui::FileDialogOptions&) override { return {}; }
    std::optional<QString> SaveFile(QWidget*, const ui::FileDialogOptions&) override { return {}; }
    int RunModal(QDialog*) override { return QDialog::Accepted; }  // OK, at once
};

void PrintState(const app::CMainDlg& dlg, const char* last) {
    std::printf("image %08x\ncodes %send\n%s", tsumugi::Crc32Of(dlg.m_rom.m_pData, dlg.m_rom.m_nSize),
                tsumugi::CodeText(dlg.m_codes).c_str(), last);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string mode = argv[1], dir = argv[2];
    QApplication app(argc, argv);
    AnswerYes services;
    ui::SetServices(&services);
    tsumugi::SetProgramFolder(dir);
    app::CMainDlg dlg;
    // The editors write their words as they are created; the modal run closes with OK.
    dlg.SetEditorFactory([](int category, uint8_t* rom, uint32_t) {
        const uint32_t at = category == tsumugi::category::kWeapon ? 0xD7CA0 : 0xC38C4;
        for (uint32_t w = 0; w < 5; ++w) tsumugi::Write16(rom + at + 4 * w, static_cast<uint16_t>(0x5A00 + w * 3 + category));
        return std::make_unique<ui::Dialog>();
    });
    if (!dlg.OpenRom(QString::fromStdString(dir + "/demo.gba"))) return 1;
    if (mode == "edit") {
        dlg.EditCategory(tsumugi::category::kWeapon);
        dlg.EditCategory(tsumugi::category::kUnit);
        PrintState(dlg, "ready\n");
        for (;;) pause();  // until killed
    }
    PrintState(dlg, "");
    ui::SetServices(nullptr);
    return 0;
}
