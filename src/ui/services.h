#pragma once
// Message boxes, file choosers and modal runs go through one replaceable service, so a
// test answers a question or drives a nested dialog without a display or a hang.
#include <QString>
#include <optional>

class QWidget;
class QDialog;

namespace ui {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogOptions {
    QString title;          // "ファイルを開く"
    QString filterText;     // "GBAﾌｧｲﾙ(*.gba)"
    QString filterPattern;  // "*.gba"
    QString initialFolder;  // empty: the platform's default
    QString defaultSuffix;  // added to a name typed without extension (Save only)
    QString fileName;       // the name the chooser suggests; empty: none
};

class Services {
public:
    virtual ~Services() = default;
    // Caption is always the application's title.
    virtual MsgResult Message(QWidget* owner, const QString& text, MsgButtons buttons) = 0;
    // Open: the chosen file must exist. nullopt when cancelled.
    virtual std::optional<QString> OpenFile(QWidget* owner, const FileDialogOptions& options) = 0;
    // Save: asks before replacing an existing file. nullopt when cancelled.
    virtual std::optional<QString> SaveFile(QWidget* owner, const FileDialogOptions& options) = 0;
    // Runs dialog modally; QDialog::Accepted or QDialog::Rejected.
    virtual int RunModal(QDialog* dialog) = 0;
};

// The services in use; the real ones (Qt dialogs) unless a test installed others.
Services& services();
// Installs s (not owned); nullptr restores the real services.
void SetServices(Services* s);

// The application's title: the program file's name without its extension.
QString AppTitle();

// Shortcut for the common OK message.
inline void MessageBox(QWidget* owner, const QString& text) {
    services().Message(owner, text, MsgButtons::Ok);
}

}  // namespace ui
