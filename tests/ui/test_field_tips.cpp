// Every field control of the record editors explains where its field lies, from the
// layouts, and follows the record shown.
#include <QHash>
#include <QSet>
#include <string_view>

#include "app/editor_factory.h"
#include "core/layout/descriptor.h"
#include "core/battle_lines.h"
#include "core/layout/field_place.h"
#include "core/layout/list_fields.h"
#include "core/layout/scenario.h"
#include "core/regions.h"
#include "core/scenario_lists.h"
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

// The lists the pointers reach: every field of the record shown explains itself on a
// control, the pointers to texts on the text box.
TEST_F(FieldTipsTest, EveryFieldOfAListRecordShowsItsPlaceInTheRecordShown) {
    namespace cat = tsumugi::category;
    uint32_t deployPointer = 0, messagePointer = 0;
    ASSERT_TRUE(tsumugi::ReadChapterPointers(Rom(), RomSize(), 0, deployPointer, messagePointer));
    const uint32_t deploys = tsumugi::ConvertChapterPointer(deployPointer, layout::deploy_record::kSize, RomSize()).offset;
    const uint32_t messages = tsumugi::ConvertChapterPointer(messagePointer, layout::message_record::kSize, RomSize()).offset;
    const tsumugi::BattlePilot pilot = tsumugi::ReadBattlePilot(Rom(), RomSize(), 1);
    ASSERT_GT(pilot.lineCount, 1);
    struct Case {
        int category, page;  // page: the tab page, or the pilot
        const char* list;
        std::span<const layout::Field> fields;
        uint32_t record;  // of row 1
        uint32_t textPointer;
    };
    const Case cases[] = {
        {cat::kScenario, 0, "配置", layout::DeployFields(), deploys + layout::deploy_record::kSize, ~0u},
        {cat::kScenario, 1, "セリフ", layout::MessageFields(), messages + layout::message_record::kSize,
         layout::message_record::kText},
        {cat::kBattleLine, 1, "セリフ", layout::LineFields(), pilot.Record(1), layout::battle_line_record::kTextOffset},
    };
    for (const Case& c : cases) {
        auto editor = app::CreateEditor(c.category, Rom(), RomSize());
        editor->show();
        if (auto* tabs = editor->findChild<ui::TabCtrl*>()) { ASSERT_TRUE(ChoosePage(tabs, c.page)); }
        if (c.category == cat::kBattleLine) { ASSERT_TRUE(ChooseRow(Named<ui::ListBox>(editor.get(), QStringLiteral("パイロット")), c.page)); }
        ui::ListBox* list = nullptr;
        for (auto* l : editor->findChildren<ui::ListBox*>()) {
            if (l->accessibleName() == QString::fromUtf8(c.list) && l->isVisible()) list = l;
        }
        ASSERT_TRUE(list != nullptr && ChooseRow(list, 1)) << c.list;
        QStringList lines;
        for (QWidget* w : editor->findChildren<QWidget*>()) lines << w->toolTip().split(u'\n');
        const auto shown = [&](const layout::Field& field) {  // a control of the field in sight
            const QStringList names = QString::fromUtf8(field.label).section(u' ', -1).split(u'/');
            const QList<QWidget*> all = editor->findChildren<QWidget*>();
            return std::any_of(all.begin(), all.end(), [&](QWidget* w) { return w->isVisible() && names.contains(w->accessibleName()); });
        };
        for (const layout::Field& field : c.fields) {
            if (field.offset != c.textPointer && !shown(field)) continue;
            const QString place = QString::fromUtf8(layout::FieldPlace(field, c.record));
            // A pointer's place leads the text box's tip, which goes on to the text's own.
            const QString wanted = field.offset == c.textPointer ? place.left(place.indexOf(u')') + 1) + QStringLiteral(" → ") : place;
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(wanted); }))
                << c.list << ": " << field.label << " " << wanted.toStdString();
        }
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
