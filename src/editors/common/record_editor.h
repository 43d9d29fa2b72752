#pragma once
// Pieces every record editor shares: where a record lies, number boxes bound to record
// fields, list items built from name tables, and the store-then-move step of a list
// selection change.
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/name_list.h"
#include "editors/common/game_text_field.h"

class QDialog;
class QFormLayout;
class QObject;
class QWidget;

namespace ui {
class Button;
class ComboBox;
class Edit;
class ListBox;
class MultiEdit;
class TabCtrl;
}  // namespace ui

namespace editors {

// Record index of a table of count records of size bytes from base, or null when the
// index is out of range or the record does not lie wholly inside the ROM image.
uint8_t* RecordAt(uint8_t* rom, uint32_t romSize, uint32_t base, uint32_t size, int count,
                  int index);

// A number box bound to an unsigned little-endian field of 1, 2 or 4 bytes. Its range is
// the field's: 0-255, 0-65535 or any 32-bit value.
struct NumberField {
    ui::Edit* edit;
    uint32_t offset;
    int width;
};

// The label, field offset and width of a number box.
struct NumberRow {
    const char16_t* label;
    uint32_t offset;
    int width;
};

// A form whose label column always fits its widest label. Qt leaves the style's spacing
// out of a form's minimum width, so a form of fixed-width boxes laid out at its minimum
// would clip its widest label; an explicit spacing keeps the two in step.
QFormLayout* MakeForm();

// One labelled box per row, as rows of form, each pixelWidth wide.
void AddNumberRows(std::span<const NumberRow> rows, std::span<NumberField> fields,
                   QFormLayout* form, int pixelWidth);

void LoadNumbers(std::span<const NumberField> fields, const uint8_t* record);
// Reads every box in order; the first bad one shows the range message, takes the focus
// and makes the read fail. values receives one number per field.
bool ReadNumbers(std::span<const NumberField> fields, std::vector<uint32_t>& values);
void WriteNumbers(std::span<const NumberField> fields, const std::vector<uint32_t>& values,
                  uint8_t* record);

// A decoded name converted for display as one line: a list or combo item has one line,
// so line breaks show as blanks.
QString OneLineItem(const std::string& cp932);
// The names of a table converted for display, one per record, each on one line.
QStringList NameItems(tsumugi::CTextCodec& codec, tsumugi::NameKind kind);
// count texts of length bytes, stride bytes apart from base, converted for display, in
// table order; "Error" for one that does not lie wholly inside the ROM image.
QStringList TextTableItems(tsumugi::CTextCodec& codec, uint32_t base, uint32_t stride, int length,
                           int count);
// "first" .. "last" in decimal.
QStringList NumberItems(int first, int last);
// A fixed item list of the layouts (UTF-8) for display.
QStringList TextItems(std::span<const char* const> texts);

// Sizes a combo by a fixed number of characters instead of measuring every item, which
// keeps long lists quick to show.
void SetContentsLength(ui::ComboBox* combo, int characters);

// A tab strip named label with one empty page per title, standing over controls that show
// whichever page of a record its selected tab names.
ui::TabCtrl* MakePageStrip(const QString& label, std::span<const char16_t* const> titles);

// Lays out a record editor: the group listTitle with the find box "検索" over the record
// list beside data, and the buttons "OK" and "ｷｬﾝｾﾙ" below on the right (returned in that
// order). The Tab key goes from the find box and the list through data to the buttons,
// provided data has no parent yet.
std::pair<ui::Button*, ui::Button*> LayOutRecordEditor(QDialog* dialog, const QString& listTitle,
                                                       ui::ListBox* list, QWidget* data);

// The selection-change step of a record editor: when a record is shown (shown >= 0) it
// is stored first; if that fails the list goes back to it and nothing moves. Returns the
// record to load, or nothing when the editor stays where it is (also when the selection
// is on the record shown, or on no row).
std::optional<int> StoreAndMove(ui::ListBox* list, int shown, const std::function<bool()>& store);

}  // namespace editors
