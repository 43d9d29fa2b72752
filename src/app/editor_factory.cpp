#include "app/editor_factory.h"

#include "ui/dialog.h"

namespace app {

std::unique_ptr<ui::Dialog> CreateEditor(int category, uint8_t* rom, uint32_t romSize) {
    (void)rom;
    (void)romSize;
    switch (category) {
        default:
            return nullptr;
    }
}

}  // namespace app
