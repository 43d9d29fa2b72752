#pragma once
// The enhancement-part classification editor: four classifications, each an ordered list
// of at most 28 enhancement parts, on tabs.
#include "editors/abilities/class_list_dlg.h"

class CPartsClassDlg : public editors::CClassListDlg {
    Q_OBJECT
public:
    CPartsClassDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
};
