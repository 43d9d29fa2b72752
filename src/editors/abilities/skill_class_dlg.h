#pragma once
// The special-skill classification editor: five classes, each an ordered list of at most
// 12 special skills, on tabs.
#include "editors/abilities/class_list_dlg.h"

class CSkillClassDlg : public editors::CClassListDlg {
    Q_OBJECT
public:
    CSkillClassDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
};
