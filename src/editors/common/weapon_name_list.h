#pragma once
// The weapon names as the editors show them: the weapon editor lists them, and every combo
// that refers to a weapon record (the unit editor's weapon slots) offers them followed by
// "無し(0xFFFF)". One place builds both, so the two can never disagree.
#include <QStringList>

#include "editors/common/value_combo.h"

class QObject;
class QStringListModel;

namespace tsumugi {
class CTextCodec;
}

namespace editors {

// One item per weapon record, in record order, so that an item's position is the record
// number.
QStringList WeaponNameItems(tsumugi::CTextCodec& codec);

// The items of a weapon-reference combo: every weapon name, then "無し(0xFFFF)". Combos of
// one window share the model (each keeps its own selection); parent owns it.
QStringListModel* NewWeaponChoiceModel(tsumugi::CTextCodec& codec, QObject* parent);
// How such a combo maps its items to a 16-bit weapon field.
ComboMapping WeaponChoiceMapping();

}  // namespace editors
