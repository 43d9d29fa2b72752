#pragma once
// The trust bonus editor: the list of the 44 trust bonuses, each named after its pilot,
// beside the pilot's combo and a tab strip over the choices of one of the record's four
// pages. Moving to another record or tab, or pressing OK, stores the pilot and the page
// shown into the ROM buffer.
#include <cstdint>

#include "editors/common/record_list_dlg.h"

class CTrustPage;

namespace ui {
class ComboBox;
class TabCtrl;
}  // namespace ui

class CTrustDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    CTrustDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection with the page of
    // the tab selected now. Nothing can be refused, so the move goes on whatever the store
    // gives; a selection without a record goes back to the record shown.
    void LoadRecord() override;
    // Stores the record shown, if a page is shown, and shows the page of the selected tab.
    void LoadPage();
    // Writes the pilot, then the page shown. Fails when no record or no page is shown
    // (the pilot is written all the same when only the page is missing).
    bool StoreRecord() override;

private:
    void CreateControls();
    QWidget* CreateDataColumn();
    void ShowRecord(const uint8_t* record) override;
    void OnPilotChange();
    // OK closes only when the pilot and a page were stored.
    bool MayClose() override;

    int m_nPage = -1;

    ui::ComboBox* m_pPilot = nullptr;
    ui::TabCtrl* m_pPages = nullptr;
    CTrustPage* m_pPage = nullptr;
};
