#pragma once
// The editor of a classification table: one tab per class, the entries of the chosen
// class on the left, every record that can be added on the right. Each add, delete and
// move is written into the ROM buffer at once; there is no store step.
#include <QStringList>
#include <cstdint>
#include <span>

#include "core/name_list.h"
#include "editors/abilities/class_list.h"
#include "ui/dialog.h"

namespace ui {
class ListBox;
class TabCtrl;
}  // namespace ui

namespace editors {

// What the window of one classification editor shows.
struct ClassListWindow {
    const char16_t* title;
    std::span<const char16_t* const> tabs;  // tab c edits record c
    const char16_t* entryLabel;             // the left list
    const char16_t* sourceLabel;            // the right list
    tsumugi::NameKind names;                // what the entries count in
};

class CClassListDlg : public ui::Dialog {
    Q_OBJECT
public:
    // The chosen tab becomes the current class; its entries fill the left list.
    void ShowCategory();
    // "<< 追加" and a double click in the right list: appends the right list's selection.
    void AddEntry();
    // "削除": removes the left list's selection.
    void DeleteEntry();
    // "ひとつ上へ" / "ひとつ下へ": moves the left list's selection by one place.
    void MoveEntryUp();
    void MoveEntryDown();

protected:
    CClassListDlg(uint8_t* rom, uint32_t romSize, const ClassListLayout& layout,
                  const ClassListWindow& window, QWidget* parent);

private:
    void CreateControls(const ClassListWindow& window);
    ClassList Current() const;
    QString NameOf(uint32_t number) const;
    // Moves the left list's item k to k + 1 after the entries were swapped; select tells
    // which of the two positions is selected afterwards.
    void SwapItems(int k, int select);

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    ClassListLayout m_layout;
    tsumugi::NameKind m_names;
    int m_nClass = -1;
    QStringList m_sourceNames;

    ui::TabCtrl* m_pTab = nullptr;
    ui::ListBox* m_pEntries = nullptr;
    ui::ListBox* m_pSource = nullptr;
};

}  // namespace editors
