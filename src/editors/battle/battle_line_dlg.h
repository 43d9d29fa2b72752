#pragma once
// The battle dialogue editor: the 176 pilots, the lines of the chosen pilot, and the
// speaker, expression and text of the chosen line. The window can be resized and
// maximized; its controls follow its size. Texts are rewritten in place and never grow
// past the room before the next text; a line lying outside the category's regions, or
// whose text the character table cannot fully decode, is shown read-only.
#include <cstdint>
#include <memory>

#include "core/battle_lines.h"
#include "editors/common/field_tips.h"
#include "editors/common/value_combo.h"
#include "ui/dialog.h"

class QGroupBox;
class QLabel;
class QResizeEvent;

namespace editors {
class FindBox;
}

namespace ui {
class Button;
class ComboBox;
class Edit;
class ListBox;
class MultiEdit;
}  // namespace ui

class CBattleLineDlg : public ui::Dialog {
    Q_OBJECT
public:
    CBattleLineDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
    ~CBattleLineDlg() override;

    // Stores the line shown and lists the lines of the pilot list's selection; stays on
    // the pilot when the store fails.
    void SelectPilot();
    // Stores the line shown and shows the line list's selection; stays on the line when
    // the store fails.
    void LoadLine();
    // Writes the line shown: speaker and expression, then its text when it fits its room.
    bool StoreLine();
    // Places the controls in a client area of width x height pixels.
    void LayOut(int width, int height);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void ShowLine(int line);
    void SetContentsEnabled(bool speaker, bool text);
    // The note under the lists when the line shown needs none of its own.
    void ShowListNote();
    bool StoreText(int line);
    void OnOkButton();

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nPilot = -1;
    tsumugi::BattlePilot m_pilot;
    int m_nLine = -1;
    bool m_bStoreRecord = false;  // the line's speaker and expression may be written
    bool m_bStoreText = false;    // and its text

    QGroupBox* m_pPilotGroup = nullptr;
    ui::ListBox* m_pPilotList = nullptr;
    QLabel* m_pFindLabel = nullptr;
    editors::FindBox* m_pFind = nullptr;
    QGroupBox* m_pLineGroup = nullptr;
    ui::ListBox* m_pLineList = nullptr;
    QLabel* m_pNote = nullptr;
    QGroupBox* m_pContentsGroup = nullptr;
    QLabel* m_pSpeakerLabel = nullptr;
    editors::ValueCombo m_speaker;
    QLabel* m_pExpressionLabel = nullptr;
    ui::Edit* m_pExpression = nullptr;
    ui::MultiEdit* m_pText = nullptr;
    ui::Button* m_pOk = nullptr;
    ui::Button* m_pCancel = nullptr;
    std::unique_ptr<editors::FieldTips> m_pTips;
};
