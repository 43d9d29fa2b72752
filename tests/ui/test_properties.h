#pragma once
// Pieces of the whole-program property tests: seeded ROMs built from the demo image, and
// seeded edits made in an open editor through its controls' accessible names, recorded so
// that a second run of the editor can check what the first one stored.
#include <QString>
#include <cstdint>
#include <vector>

class QDialog;
class QWidget;

namespace testing_ui {

// The demo image with random bytes laid over the category's data: records and record
// counts of its tables, the pointers that lead to its records, and its texts. Some seeds
// also lengthen the image past the demo's size to an odd length, with random bytes there.
std::vector<uint8_t> MutatedRom(int category, uint32_t seed);

// The demo image with random values that the category's editor shows as they are: every
// number within its field, every choice and record number among the items of its list,
// every flag 0 or 1. Texts are left as the demo has them. Only the fixed-record tables
// have such a form; other categories get the plain demo image.
std::vector<uint8_t> InDomainRom(int category, uint32_t seed);

// Where an edit was made: the row, item or page each chooser of the walk stood on.
struct Place {
    std::vector<int> rows;
};

// One control changed by the user, found again by type, accessible name and its position
// among the controls of that type and name.
struct FieldEdit {
    Place place;
    QString type;      // "edit", "text", "combo", "check"
    QString name;
    int ordinal = 0;
    QString shown;     // the text, the item or "1"/"0" the control shows after the edit
};

// Changes count seeded controls of the open editor, on seeded records, the way the user
// does: typing another number or a shorter text, choosing another item, ticking a box. A
// class-list editor gets its changes through its buttons instead; its lists are recorded.
std::vector<FieldEdit> MakeEdits(QDialog* dialog, uint32_t seed, int count);

// Goes back to every place of edits in a fresh run of the editor and returns, per edit,
// an empty text when the control shows what was entered, or what it shows instead.
std::vector<QString> CheckEdits(QDialog* dialog, const std::vector<FieldEdit>& edits);

// What a control shows, in the form FieldEdit::shown uses.
QString Shown(QWidget* control);

}  // namespace testing_ui
