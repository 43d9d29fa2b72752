#pragma once
// Creates the editor of a category. One table maps each category to its editor class;
// a category without an editor yet gives null.
#include <cstdint>
#include <functional>
#include <memory>

namespace ui {
class Dialog;
}

namespace app {

// An editor is created with the ROM buffer and its length (the length keeps every read
// inside the image), run modally once and destroyed.
using EditorFactory = std::function<std::unique_ptr<ui::Dialog>(int category, uint8_t* rom, uint32_t romSize)>;

// The editors of this program.
std::unique_ptr<ui::Dialog> CreateEditor(int category, uint8_t* rom, uint32_t romSize);

}  // namespace app
