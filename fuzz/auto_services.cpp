#include "auto_services.h"

#include <QDialog>

namespace fuzzing {

void AutoServices::Reset(uint8_t seed) {
    m_seed = seed;
    messages = 0;
    questions = 0;
}

ui::MsgResult AutoServices::Message(QWidget*, const QString&, ui::MsgButtons buttons) {
    ++messages;
    if (buttons == ui::MsgButtons::Ok) return ui::MsgResult::Ok;
    const bool other = (m_seed >> (questions++ % 8)) & 1;
    switch (buttons) {
        case ui::MsgButtons::OkCancel:
            return other ? ui::MsgResult::Cancel : ui::MsgResult::Ok;
        case ui::MsgButtons::YesNo:
            return other ? ui::MsgResult::No : ui::MsgResult::Yes;
        case ui::MsgButtons::YesNoCancel:
            return other ? ui::MsgResult::Cancel : ui::MsgResult::Yes;
        case ui::MsgButtons::Ok:
            break;
    }
    return ui::MsgResult::Ok;
}

std::optional<QString> AutoServices::OpenFile(QWidget*, const ui::FileDialogOptions&) {
    return std::nullopt;
}

std::optional<QString> AutoServices::SaveFile(QWidget*, const ui::FileDialogOptions&) {
    return std::nullopt;
}

int AutoServices::RunModal(QDialog*) { return QDialog::Rejected; }

}  // namespace fuzzing
