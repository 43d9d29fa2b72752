#pragma once
// The scenario data editor: a chapter list over two pages, the units a chapter deploys
// ("マップデータ") and the messages shown during it ("セリフ"). The chapter pointer table
// leads to both; it is read and never written.
#include <cstdint>

#include "ui/dialog.h"

class CScenarioMessagePage;
class CScenarioUnitPage;

namespace ui {
class ComboBox;
class TabCtrl;
}  // namespace ui

class CScenarioDlg : public ui::Dialog {
    Q_OBJECT
public:
    CScenarioDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores both pages and shows the selected chapter on them; a refused store puts the
    // chapter list back on the chapter shown.
    void ChangeChapter();
    // Shows page 0 ("マップデータ") or 1 ("セリフ"); stores and loads nothing.
    void ShowPage(int tab);

private:
    void CreateControls();
    void OnOkButton();
    bool StorePages();

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nPrevious = -1;

    ui::ComboBox* m_pChapter = nullptr;
    ui::TabCtrl* m_pTab = nullptr;
    CScenarioUnitPage* m_pUnitPage = nullptr;
    CScenarioMessagePage* m_pMessagePage = nullptr;
};
