#pragma once
// A thin style over the application's, set on the program's lists and drop-downs: a
// drop-down opens as a list of at most its maxVisibleItems rows (some styles open it to
// the screen's height), and a list with the keyboard focus wears a frame in the
// highlight colour.
class QStyle;

namespace ui {

// One shared instance, owned by the application.
QStyle* ControlStyle();

}  // namespace ui
