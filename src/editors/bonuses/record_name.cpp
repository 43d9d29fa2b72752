#include "editors/bonuses/record_name.h"

#include <string>

#include "core/text_codec.h"
#include "editors/common/game_text_field.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace editors {
namespace {

template <typename EditT>
bool StoreName(tsumugi::CTextCodec& codec, QWidget* owner, EditT* edit, uint8_t* field, int limit,
               ui::ListBox* list, int index) {
    // An untouched name is never written, so whatever follows its terminator stays.
    bool changed = false;
    if (!StoreGameText(codec, owner, edit, field, limit, ui::NameFailure(), &changed)) {
        return false;
    }
    if (changed) {
        // The item shows what was stored, on one line, as the list showed it when filled.
        std::string stored;
        codec.Decode(stored, field, limit);
        list->SetText(index, OneLineItem(stored));
    }
    return true;
}

}  // namespace

bool StoreRecordName(tsumugi::CTextCodec& codec, QWidget* owner, ui::Edit* edit, uint8_t* field,
                     int limit, ui::ListBox* list, int index) {
    return StoreName(codec, owner, edit, field, limit, list, index);
}

bool StoreRecordName(tsumugi::CTextCodec& codec, QWidget* owner, ui::MultiEdit* edit,
                     uint8_t* field, int limit, ui::ListBox* list, int index) {
    return StoreName(codec, owner, edit, field, limit, list, index);
}

}  // namespace editors
