#include "editors/common/weapon_name_list.h"

#include <QStringListModel>

#include "core/layout/units.h"
#include "core/name_list.h"
#include "editors/common/record_editor.h"

namespace editors {

QStringList WeaponNameItems(tsumugi::CTextCodec& codec) {
    return NameItems(codec, tsumugi::NameKind::Weapon);
}

QStringListModel* NewWeaponChoiceModel(tsumugi::CTextCodec& codec, QObject* parent) {
    QStringList items = WeaponNameItems(codec);
    items << QStringLiteral("無し(0xFFFF)");
    return new QStringListModel(items, parent);
}

ComboMapping WeaponChoiceMapping() {
    return ComboMapping{tsumugi::layout::weapon_record::kCount, kNone16};
}

}  // namespace editors
