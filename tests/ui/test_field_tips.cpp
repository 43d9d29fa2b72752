// Every field control of the record editors explains where its field lies, from the
// layouts, and follows the record shown.
#include <QHash>
#include <QSet>
#include <string_view>

#include "app/editor_factory.h"
#include "core/layout/descriptor.h"
#include "core/layout/field_place.h"
#include "editor_fixture.h"
#include "editor_walk.h"
#include "ui/dialog.h"

namespace testing_ui {
namespace {

namespace layout = tsumugi::layout;

class FieldTipsTest : public EditorFixture {};

TEST_F(FieldTipsTest, EveryFieldOfARecordEditorShowsItsPlaceInTheRecordShown) {
    const int record = 3;
    for (const layout::Table& table : layout::Tables()) {
        // The classification editors show their entries as list rows, not as fields.
        if (std::string_view(table.name).ends_with("-classes")) continue;
        auto editor = app::CreateEditor(table.category, Rom(), RomSize());
        editor->show();
        ASSERT_TRUE(ChooseRow(editor->findChild<ui::ListBox*>(), record));
        // Each field's tip must show on some page, on a control whose label ends the field's.
        QSet<QString> missing;
        QHash<QString, QString> labelOf;
        for (const layout::Field& field : table.fields) {
            const QString tip = QString::fromUtf8(layout::FieldPlace(table, field, record));
            missing << tip;
            labelOf.insert(tip, QString::fromUtf8(field.label));
        }
        auto look = [&] {
            for (QWidget* w : editor->findChildren<QWidget*>()) {
                if (!labelOf.contains(w->toolTip())) continue;
                missing.remove(w->toolTip());
                EXPECT_TRUE(labelOf.value(w->toolTip()).endsWith(w->accessibleName())) << w->accessibleName().toStdString();
            }
        };
        look();
        for (QWidget* chooser : Choosers(editor.get())) {
            if (qobject_cast<ui::TabCtrl*>(chooser) == nullptr) continue;
            for (int page = 0; page < RowCount(chooser); ++page) {
                ASSERT_TRUE(Choose(chooser, page));
                look();
            }
        }
        EXPECT_TRUE(missing.isEmpty()) << table.name << ": " << QStringList(missing.values()).join(u'|').toStdString();
    }
}

TEST(FieldPlace, NamesOffsetBusAddressWidthAndValues) {
    const layout::Table& units = *layout::FindTable("units");  // 104-byte records from 0x0C38C4
    const layout::Field number{.label = "n", .offset = 0x0C, .width = 2};
    const layout::Field bit{.label = "b", .offset = 0x1A, .width = 1, .kind = layout::FieldKind::Flag, .shift = 3, .bits = 1};
    const layout::Field text{.label = "t", .offset = 0x00, .width = 17, .kind = layout::FieldKind::Text};
    EXPECT_EQ(layout::FieldPlace(units, number, 0), "+0x0C (0x080C38D0), 16ビット, 0～65535");
    EXPECT_EQ(layout::FieldPlace(units, bit, 2), "+0x1A (0x080C39AE) ビット3");
    EXPECT_EQ(layout::FieldPlace(units, text, -1), "+0x00, 17バイト");
    EXPECT_EQ(layout::FieldPlace(units, number, units.count), "+0x0C, 16ビット, 0～65535");
}

}  // namespace
}  // namespace testing_ui
