#pragma once
// The pilot skill editor: for each of the 176 pilots, six slots of a special skill and the
// nine levels at which its levels are learnt, one slot per row. The skills are written
// before the levels are checked, so a refused level leaves them stored.
#include <cstdint>

#include "editors/common/slot_record_dlg.h"

class CPilotSkillDlg : public editors::SlotRecordDlg {
    Q_OBJECT
public:
    CPilotSkillDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
};
