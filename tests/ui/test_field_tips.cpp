// Every field control of the record editors explains where its field lies, from the
// layouts, and follows the record shown.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QHash>
#include <QSet>
#include <cstdio>
#include <string>

#include "app/editor_factory.h"
#include "core/layout/descriptor.h"
#include "core/layout/field_place.h"
#include "core/regions.h"
#include "editor_fixture.h"
#include "editor_walk.h"
#include "ui/dialog.h"

namespace testing_ui {
namespace {

namespace layout = tsumugi::layout;

class FieldTipsTest : public EditorFixture {};

const layout::Table& TableOf(int category) {
    for (const layout::Table& table : layout::Tables())
        if (table.category == category) return table;
    ADD_FAILURE() << "no table for category " << category;
    return layout::Tables().front();
}

TEST_F(FieldTipsTest, EveryFieldOfARecordEditorShowsItsPlaceInTheRecordShown) {
    namespace c = tsumugi::category;
    const int record = 3;
    for (int category : {c::kUnit, c::kPilotStatus, c::kPilotSpirit, c::kPilotSkill, c::kWeapon, c::kTrust,
                         c::kSpirit, c::kSkill, c::kParts, c::kAceBonus, c::kFullBonus}) {
        SCOPED_TRACE(category);
        const layout::Table& table = TableOf(category);
        auto editor = app::CreateEditor(category, Rom(), RomSize());
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
                const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w) ||
                                     qobject_cast<QComboBox*>(w) || qobject_cast<QPlainTextEdit*>(w);
                if (!control || !labelOf.contains(w->toolTip())) continue;
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
    const layout::Table& units = *layout::FindTable("units");
    const layout::Field number{.label = "n", .offset = 0x0C, .width = 2};
    const layout::Field bit{.label = "b", .offset = 0x1A, .width = 1, .kind = layout::FieldKind::Flag,
                            .shift = 3, .bits = 1};
    const layout::Field text{.label = "t", .offset = 0x00, .width = 17, .kind = layout::FieldKind::Text};
    char bitTip[48];
    std::snprintf(bitTip, sizeof bitTip, "+0x1A (0x%08X) ビット3", 0x080C38C4 + 2 * units.size + 0x1A);
    const struct {
        const layout::Field& field;
        int record;
        std::string tip;
    } cases[] = {
        {number, 0, "+0x0C (0x080C38D0), 16ビット, 0～65535"},
        {bit, 2, bitTip},
        {text, -1, "+0x00, 17バイト"},
        {number, units.count, "+0x0C, 16ビット, 0～65535"},
    };
    for (const auto& c : cases) EXPECT_EQ(layout::FieldPlace(units, c.field, c.record), c.tip);
}

}  // namespace
}  // namespace testing_ui
