#pragma once
// Shows the game text at any ROM address, steps between strings, and shows the game
// bytes of a display text. Reads the ROM only; a run of the tool makes no codes.
#include <cstdint>
#include <optional>

#include "ui/dialog.h"

namespace ui {
class Button;
class Edit;
class MultiEdit;
}  // namespace ui

namespace editors {

class CStringToolDlg : public ui::Dialog {
    Q_OBJECT
public:
    CStringToolDlg(const uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    void OnRead();
    void OnNext();
    void OnPrev();
    void OnToHex();

    ui::Edit* m_pAddress = nullptr;
    ui::MultiEdit* m_pText = nullptr;
    ui::Edit* m_pHex = nullptr;

private:
    void CreateControls();
    // The file offset in the address edit; shows "無効なアドレスです。" and gives nullopt
    // when it is no address or lies past the end of the image.
    std::optional<uint32_t> ParseAddress();
    void InvalidAddress();
    // Writes the string start into the address edit and reads it; none: the message.
    void MoveTo(std::optional<uint32_t> offset);

    const uint8_t* m_pRom;
    uint32_t m_nSize;
};

}  // namespace editors
