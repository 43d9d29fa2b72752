#pragma once
// The pilot spirit-command editor: for each of the 176 pilots, six slots of a spirit
// command, the level at which it is learnt and its SP cost, one slot per row. Every box is
// checked before any byte of the record is written.
#include <cstdint>

#include "editors/common/slot_record_dlg.h"

class CPilotSpiritDlg : public editors::SlotRecordDlg {
    Q_OBJECT
public:
    CPilotSpiritDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
};
