#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>

#include "core/bytes.h"
#include "core/layout/units.h"
#include "editor_fixture.h"
#include "editors/abilities/skill_class_dlg.h"
#include "editors/abilities/skill_dlg.h"
#include "editors/battle/battle_line_dlg.h"
#include "editors/bonuses/trust_dlg.h"
#include "editors/common/find_box.h"
#include "editors/pilots/pilot_skill_dlg.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/scenario/scenario_dlg.h"
#include "editors/units/unit_dlg.h"
#include "editors/weapons/weapon_dlg.h"
#include "ui/controls.h"
#include "ui/find_text.h"
#include "ui/number.h"

namespace {

using namespace testing_ui;
namespace wr = tsumugi::layout::weapon_record;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

// ---- matching

TEST(FindRecordTest, MatchesCaseAndWidthAlikeKanaAsWrittenAndWrapsRound) {
    const QStringList items{S(u"ガンダム"), S(u"Ｚガンダム"), S(u"ｶﾞﾝﾀﾞﾑ試作"),
                            S(u"GM Sniper"), S(u"gm command"), S(u"ゲルググ")};
    struct Case {
        const char16_t* text;
        int from;
        bool backwards;
        int expected;
    };
    const Case cases[] = {
        {u"gm", 0, false, 3},         // case
        {u"GM", 4, false, 4},         // from the record itself
        {u"ｇｍ　ｃ", 0, false, 4},   // full-width letters and blank
        {u"z", 0, false, 1},          // full-width item, half-width text
        {u"ガンダム", 2, false, 2},   // half-width katakana item
        {u"ｶﾞﾝﾀﾞﾑ", 1, false, 1},     // half-width katakana text
        {u"ガンダム", 3, false, 0},   // wraps to the top
        {u"ガンダム", 3, true, 2},    // backwards
        {u"gm", 2, true, 4},          // backwards, wrapping to the bottom
        {u"ガンダム", 0, true, 0},
        {u"がんだむ", 0, false, -1},  // hiragana does not match katakana
        {u"ズゴック", 0, false, -1},
        {u"", 0, false, -1},
        {u"z", -1, false, 1},         // no current record: from the top
        {u"g", -1, true, 4},          // ... or from the bottom
        {u"ガ", 99, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui::FindItem(items, S(c.text), c.from, c.backwards), c.expected)
            << QString::fromUtf16(c.text).toStdString() << " from " << c.from << (c.backwards ? " back" : "");
    }
    EXPECT_EQ(ui::FindItem({}, S(u"a"), 0, false), -1);
}

TEST(FindRecordTest, RecordNumbersAreDecimalOrHexadecimal) {
    const std::pair<const char16_t*, std::optional<int>> cases[] = {
        {u"#123", 123}, {u"#x7B", 123}, {u"#X7b", 123}, {u"＃１２３", 123}, {u"#0", 0},
        {u"#", std::nullopt}, {u"#x", std::nullopt}, {u"#12a", std::nullopt},
        {u"123", std::nullopt}, {u"#-1", std::nullopt}, {u"# 1", std::nullopt},
        {u"#+1", std::nullopt}, {u"#123456789", std::nullopt}, {u"#ガ", std::nullopt},
        {u"#x7FFFFFFF", 0x7FFFFFFF}, {u"#xFFFFFFFF", std::nullopt}, {u"#٣", std::nullopt},
        {u"#ｘ１Ｆ", 31},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(editors::RecordNumber(S(text)), expected) << QString::fromUtf16(text).toStdString();
    }
}

// ---- in the editors

class FindBoxTest : public EditorFixture {
protected:
    using Factory = std::function<std::unique_ptr<QDialog>(uint8_t*, uint32_t)>;
    template <typename Dlg>
    static Factory Make() {
        return [](uint8_t* rom, uint32_t size) { return std::unique_ptr<QDialog>(new Dlg(rom, size)); };
    }
    std::unique_ptr<QDialog> Open(const Factory& make) {
        auto d = make(Rom(), RomSize());
        d->show();
        return d;
    }
    static editors::FindBox* Box(QDialog& d) { return d.findChild<editors::FindBox*>(); }
    static ui::ListBox* List(QDialog& d) { return d.findChild<ui::ListBox*>(); }
    // Types text one key at a time (QTest::keyClicks knows only Latin-1 keys).
    static void Type(QDialog& d, const QString& text) {
        Box(d)->clear();
        for (const QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Box(d), &key);
        }
        EXPECT_EQ(Box(d)->text(), text);
    }
    // What the data controls show, to compare a find with a click.
    static QStringList Shown(QDialog& d) {
        QStringList shown;
        for (ui::Edit* e : d.findChildren<ui::Edit*>()) shown << e->accessibleName() + e->GetText();
        for (ui::ComboBox* c : d.findChildren<ui::ComboBox*>()) {
            shown << c->accessibleName() + QString::number(c->GetCurSel());
        }
        for (ui::CheckBox* c : d.findChildren<ui::CheckBox*>()) {
            shown << c->accessibleName() + QString::number(c->isChecked());
        }
        return shown;
    }
};

// In one editor of each family the box sits labelled over the list, first in Tab order,
// and a find loads the record exactly as a click on its row does.
TEST_F(FindBoxTest, AFindInEveryFamilyLoadsTheRecordAsAClickDoes) {
    const std::pair<const char*, Factory> editors[] = {
        {"weapon", Make<CWeaponDlg>()},       {"unit", Make<CUnitDlg>()},
        {"pilot status", Make<CPilotStatusDlg>()}, {"pilot skill", Make<CPilotSkillDlg>()},
        {"skill", Make<CSkillDlg>()},         {"trust", Make<CTrustDlg>()},
    };
    for (const auto& [name, make] : editors) {
        SCOPED_TRACE(name);
        auto found = Open(make);
        auto clicked = Open(make);
        editors::FindBox* box = Box(*found);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->accessibleName(), S(u"検索"));
        QLabel* label = nullptr;
        for (QLabel* l : found->findChildren<QLabel*>()) {
            if (l->buddy() == box) label = l;
        }
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), S(u"検索"));
        QWidget* next = box->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        EXPECT_EQ(next, List(*found));

        const int row = 3;
        Type(*found, QStringLiteral("#%1").arg(row));
        SelectRow(clicked.get(), row);
        EXPECT_EQ(List(*found)->GetCurSel(), row);
        EXPECT_FALSE(box->NotFound());
        EXPECT_EQ(Shown(*found), Shown(*clicked));
        // Its item text finds it too, from the top, and the item texts stay as they were.
        const QString text = List(*found)->GetText(row);
        SelectRow(found.get(), 0);
        Type(*found, text);
        EXPECT_EQ(List(*found)->GetText(List(*found)->GetCurSel()), text);
        EXPECT_LE(List(*found)->GetCurSel(), row);
        EXPECT_EQ(List(*found)->GetText(row), text);
    }
}

// Weapon list: typing, Enter, F3 and Shift+F3, numbers, and an input method's commit.
TEST_F(FindBoxTest, KeysMoveThroughTheMatchesOfTheWeaponList) {
    auto d = Open(Make<CWeaponDlg>());
    ui::ListBox* list = List(*d);
    editors::FindBox* box = Box(*d);
    QStringList items;
    for (int i = 0; i < list->GetCount(); ++i) items << list->GetText(i);
    // A text found in several records: the first character of one of the names.
    const QString text = items[5].left(1);
    const int first = ui::FindItem(items, text, 0, false);
    const int second = ui::FindItem(items, text, first + 1, false);
    ASSERT_GE(first, 0);
    ASSERT_NE(second, first) << "the demo needs two records sharing " << text.toStdString();

    Type(*d, text);
    EXPECT_EQ(list->GetCurSel(), first);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expected;
    };
    const Step steps[] = {
        {Qt::Key_Return, Qt::NoModifier, second},
        {Qt::Key_F3, Qt::ShiftModifier, first},
        {Qt::Key_F3, Qt::NoModifier, second},
        {Qt::Key_Enter, Qt::NoModifier, ui::FindItem(items, text, second + 1, false)},
    };
    for (const Step& s : steps) {
        QTest::keyClick(box, s.key, s.modifiers);
        EXPECT_EQ(list->GetCurSel(), s.expected) << s.key;
        EXPECT_TRUE(d->isVisible());
    }

    const std::pair<QString, int> numbers[] = {{QStringLiteral("#x0A"), 10}, {QStringLiteral("#12"), 12},
                                               {QStringLiteral("#0"), 0}};
    for (const auto& [number, row] : numbers) {
        Type(*d, number);
        EXPECT_EQ(list->GetCurSel(), row) << number.toStdString();
    }

    // Text an input method commits is searched like typed text.
    box->clear();
    QInputMethodEvent commit;
    commit.setCommitString(items[7]);
    QApplication::sendEvent(box, &commit);
    EXPECT_EQ(box->text(), items[7]);
    EXPECT_EQ(list->GetCurSel(), ui::FindItem(items, items[7], 0, false));
    EXPECT_TRUE(services.shown.empty());

    // Escape clears a search and keeps the editor; in the empty box it cancels the editor.
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(d->isVisible());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
}

// Nothing found, or a number past the end: nothing moves and the box says so until a
// find succeeds again.
TEST_F(FindBoxTest, NoMatchMovesNothingAndMarksTheBox) {
    auto d = Open(Make<CWeaponDlg>());
    SelectRow(d.get(), 4);
    editors::FindBox* box = Box(*d);
    const std::vector<uint8_t> before = rom;
    const QString missing[] = {S(u"該当なし☆"), QStringLiteral("#%1").arg(wr::kCount),
                               QStringLiteral("#x%1").arg(wr::kCount, 0, 16), QStringLiteral("#99999999"),
                               QStringLiteral("#xFFFFFFFF"), QStringLiteral("#-1"), QStringLiteral("#abc")};
    for (const QString& text : missing) {
        box->setText(text);  // pasted: typed, its first digits would find a record
        EXPECT_EQ(List(*d)->GetCurSel(), 4) << text.toStdString();
        EXPECT_TRUE(box->NotFound());
        EXPECT_EQ(box->property("notFound").toBool(), true);
        EXPECT_EQ(box->accessibleDescription(), S(u"見つかりません"));
        QTest::keyClick(box, Qt::Key_F3);
        EXPECT_EQ(List(*d)->GetCurSel(), 4);
    }
    EXPECT_TRUE(box->styleSheet().contains(QStringLiteral("notFound")));
    // The start of a record number is not yet a failed find.
    for (const QString& start : {QStringLiteral("#"), QStringLiteral("#x"), S(u"＃")}) {
        box->setText(start);
        EXPECT_FALSE(box->NotFound()) << start.toStdString();
        EXPECT_EQ(List(*d)->GetCurSel(), 4);
    }
    Type(*d, QStringLiteral("#%1").arg(wr::kCount - 1));
    EXPECT_EQ(List(*d)->GetCurSel(), wr::kCount - 1);
    EXPECT_FALSE(box->NotFound());
    EXPECT_TRUE(box->accessibleDescription().isEmpty());
    box->clear();
    EXPECT_FALSE(box->NotFound());
    EXPECT_TRUE(rom == before);
    EXPECT_TRUE(services.shown.empty());
}

// A record that cannot be stored keeps the user on it, exactly as with a click; once
// corrected, the find moves and the record is stored.
TEST_F(FindBoxTest, ARefusedStoreKeepsTheUserOnTheRecord) {
    auto d = Open(Make<CWeaponDlg>());
    SelectRow(d.get(), 2);
    ui::Edit* level = Find<ui::Edit>(d.get(), S(u"LV"));
    ui::Edit* attack = Find<ui::Edit>(d.get(), S(u"攻撃力"));
    const std::vector<uint8_t> before = rom;
    attack->SetText(QStringLiteral("4321"));
    level->SetText(QStringLiteral("256"));
    Type(*d, QStringLiteral("#9"));
    EXPECT_EQ(services.shown.size(), 1u);
    EXPECT_EQ(List(*d)->GetCurSel(), 2);
    EXPECT_EQ(attack->GetText(), QStringLiteral("4321"));
    EXPECT_TRUE(rom == before);

    level->SetText(QStringLiteral("1"));
    QTest::keyClick(Box(*d), Qt::Key_Return);
    EXPECT_EQ(List(*d)->GetCurSel(), 9);
    EXPECT_EQ(tsumugi::Read16(Rom() + wr::kBase + wr::kSize * 2 + wr::kAttack), 4321);
}

// Ctrl+F goes to the box of the list on show; a hidden page's box takes no keys.
TEST_F(FindBoxTest, CtrlFPutsTheFocusInTheBox) {
    const std::pair<const char*, Factory> editors[] = {
        {"weapon", Make<CWeaponDlg>()}, {"scenario", Make<CScenarioDlg>()}};
    for (const auto& [name, make] : editors) {
        SCOPED_TRACE(name);
        auto d = Open(make);
        QApplication::setActiveWindow(d.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        ui::ListBox* list = nullptr;
        for (ui::ListBox* l : d->findChildren<ui::ListBox*>()) {
            if (list == nullptr && l->isVisible()) list = l;
        }
        ASSERT_NE(list, nullptr);
        list->setFocus();
        ASSERT_TRUE(list->hasFocus());
        QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
        QWidget* focus = QApplication::focusWidget();
        auto* box = qobject_cast<editors::FindBox*>(focus);
        ASSERT_NE(box, nullptr) << (focus ? focus->metaObject()->className() : "no focus");
        EXPECT_EQ(box->List(), list);
    }
}

// The other record lists: the class editor's source list, both scenario pages and the
// battle line editor's pilots. Each box stands labelled before its list in Tab order and
// moves it as a click would.
TEST_F(FindBoxTest, TheOtherListsFindToo) {
    struct Case {
        const char* name;
        Factory make;
        const char16_t* list;
        int tab;  // the scenario page to show
    };
    const Case cases[] = {
        {"class", Make<CSkillClassDlg>(), nullptr, -1},
        {"deployments", Make<CScenarioDlg>(), u"配置", 0},
        {"messages", Make<CScenarioDlg>(), u"セリフ", 1},
        {"battle", Make<CBattleLineDlg>(), u"パイロット", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = Open(c.make);
        if (c.tab >= 0) d->findChild<ui::TabCtrl*>()->setCurrentIndex(c.tab);
        editors::FindBox* box = nullptr;
        for (editors::FindBox* b : d->findChildren<editors::FindBox*>()) {
            if (c.list == nullptr ? b->List()->objectName() == QStringLiteral("source")
                                  : b->List()->accessibleName() == S(c.list)) {
                box = b;
            }
        }
        ASSERT_NE(box, nullptr);
        ui::ListBox* list = box->List();
        ASSERT_GE(list->GetCount(), 3);
        bool labelled = false;
        for (QLabel* l : d->findChildren<QLabel*>()) labelled |= l->buddy() == box && l->text() == S(u"検索");
        EXPECT_TRUE(labelled);
        QWidget* next = box->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        EXPECT_EQ(next, list) << next->metaObject()->className() << next->accessibleName().toStdString();

        const QString text = list->GetText(2);
        const QStringList before = [&] {
            QStringList items;
            for (int i = 0; i < list->GetCount(); ++i) items << list->GetText(i);
            return items;
        }();
        box->setText(QStringLiteral("#1"));
        EXPECT_EQ(list->GetCurSel(), 1);
        box->setText(text);
        EXPECT_EQ(list->GetCurSel(), ui::FindItem(before, text, 1, false));
        EXPECT_EQ(list->GetText(list->GetCurSel()), text);
        box->setText(QStringLiteral("#%1").arg(list->GetCount()));
        EXPECT_TRUE(box->NotFound());
        EXPECT_EQ(list->GetText(list->GetCurSel()), text);
        EXPECT_TRUE(services.shown.empty());
    }
}

}  // namespace

namespace {

// A big combo's open list finds typed text anywhere in its items, keys and input-method
// text alike; Enter then chooses the item as a click would.
TEST_F(FindBoxTest, AnOpenBigComboFindsTypedTextAnywhereInItsItems) {
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(600000);  // every key of a test extends the text
    const std::pair<const char*, Factory> editors[] = {
        {"unit", Make<CUnitDlg>()}, {"scenario", Make<CScenarioDlg>()}};
    for (const auto& [name, make] : editors) {
        SCOPED_TRACE(name);
        auto d = Open(make);
        ui::ComboBox* combo = nullptr;
        for (ui::ComboBox* c : d->findChildren<ui::ComboBox*>()) {
            if (!combo && c->GetCount() >= 100) combo = c;
        }
        ASSERT_NE(combo, nullptr);
        // Its page shown, as a user would have it.
        for (QWidget* w = combo; w; w = w->parentWidget()) {
            if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
                tabs->setCurrentWidget(w);
        }
        ASSERT_TRUE(combo->isVisible());
        QStringList items;
        for (int i = 0; i < combo->GetCount(); ++i) items << combo->GetLBText(i);
        // The end of an item's text, which Qt's own prefix search would not find.
        const QString wanted = items[combo->GetCount() / 2].right(2);
        const int expected = ui::FindItem(items, wanted, combo->GetCurSel() + 1, false);
        ASSERT_GE(expected, 0);
        QSignalSpy chosen(combo, &ui::ComboBox::SelChange);
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        // One key, then the rest as an input method commits it.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, wanted.left(1));
        QApplication::sendEvent(view, &key);
        QInputMethodEvent commit;
        commit.setCommitString(wanted.mid(1));
        QApplication::sendEvent(view, &commit);
        EXPECT_EQ(view->currentIndex().row(), expected);
        // Text no item holds leaves the list where it is.
        QKeyEvent stray(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u9F98"));
        QApplication::sendEvent(view, &stray);
        EXPECT_EQ(view->currentIndex().row(), expected);
        QTest::keyClick(view, Qt::Key_Return);
        EXPECT_EQ(combo->GetCurSel(), expected);
        EXPECT_EQ(chosen.count(), 1);
    }
    QApplication::setKeyboardInputInterval(interval);
}

}  // namespace
