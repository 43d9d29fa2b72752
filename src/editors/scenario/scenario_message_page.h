#pragma once
// Page "セリフ" of the scenario data editor: the message table of one chapter, each
// message's speaker, window and where the window points, and its text rewritten in place
// within the room the text has in the ROM.
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/message_table.h"
#include "editors/common/field_tips.h"
#include "editors/common/value_combo.h"

class QStackedWidget;

namespace ui {
class ComboBox;
class Edit;
class ListBox;
class MultiEdit;
}  // namespace ui

class CScenarioMessagePage : public QWidget {
    Q_OBJECT
public:
    CScenarioMessagePage(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the current message, then shows the table at offset (0: none, an empty list).
    // False, with the page unchanged, when the store failed.
    bool SetChapter(uint32_t offset);
    // Writes the current message into the ROM; false when the user must correct something.
    bool StoreMessage();
    // An empty list for a chapter whose message pointer is unusable, with note under it.
    void ShowNone(const QString& note);

private:
    enum class Targets { Pilots, Units };

    void CreateControls();
    void BuildList();
    void LoadMessage(int k);
    void ClearMessage();
    void ShowPositionControls();
    void OnSelChange();
    void OnPositionKindChange();
    void SetFieldsEnabled(bool on);
    void ShowNote(const QString& messageNote);
    bool StoreText();
    uint8_t* Record(int k) const;

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    uint32_t m_nOffset = 0;     // the table's ROM offset; 0: no table
    int m_nCurrent = -1;        // the message shown; -1: none
    bool m_bTableWritable = false;
    bool m_bStoreText = false;  // whether the current message's text may be written
    uint8_t m_nLoadedTarget = 0;
    std::vector<tsumugi::MessageTextRoom> m_textLimits;  // one per message of the table
    QString m_tableNote;
    Targets m_targets = Targets::Pilots;
    QStringList m_pilotItems;
    QStringList m_unitItems;

    ui::ListBox* m_pList = nullptr;
    ui::Edit* m_pNote = nullptr;  // one line under the list: why the page shows less
    ui::Edit* m_pProgress = nullptr;
    editors::ValueCombo m_window;
    editors::ValueCombo m_face;
    ui::Edit* m_pExpression = nullptr;
    editors::ValueCombo m_kind;
    QStackedWidget* m_pPosition = nullptr;
    ui::ComboBox* m_pTarget = nullptr;
    ui::Edit* m_pX = nullptr;
    ui::Edit* m_pY = nullptr;
    ui::MultiEdit* m_pText = nullptr;
    ui::Edit* m_pLimit = nullptr;
    std::unique_ptr<editors::FieldTips> m_pTips;
};
