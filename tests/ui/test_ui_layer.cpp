#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>
#include <QTimer>
#include <set>

#include "core/temp_dir.h"
#include "scripted_services.h"
#include "ui/controls.h"
#include "ui/dialog.h"
#include "ui/number.h"
#include "ui/text.h"

namespace {

TEST(UiControls, SelectionFromCodeNeverFiresHandlers) {
    ui::ListBox list(QStringLiteral("ユニット"));
    ui::ComboBox combo(QStringLiteral("空"));
    ui::TabCtrl tabs(QStringLiteral("データ"));
    QSignalSpy listSpy(&list, &ui::ListBox::SelChange);
    QSignalSpy comboSpy(&combo, &ui::ComboBox::SelChange);
    QSignalSpy tabSpy(&tabs, &ui::TabCtrl::SelChange);

    list.SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.SetCurSel(1);
    list.DeleteString(1);
    list.InsertString(1, QStringLiteral("B"));
    list.SetCurSel(-1);
    combo.SetItems({QStringLiteral("S"), QStringLiteral("A")});
    combo.SetCurSel(1);
    tabs.InsertItem(0, new QWidget, QStringLiteral("基本"));
    tabs.InsertItem(1, new QWidget, QStringLiteral("機体"));
    tabs.SetCurSel(1);

    EXPECT_EQ(listSpy.count(), 0);
    EXPECT_EQ(comboSpy.count(), 0);
    EXPECT_EQ(tabSpy.count(), 0);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.GetText(1), QStringLiteral("B"));
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(tabs.GetCurSel(), 1);
}

TEST(UiControls, UserClickOnListFiresSelChange) {
    ui::ListBox list(QStringLiteral("list"));
    list.SetItems({QStringLiteral("a"), QStringLiteral("b")});
    list.resize(200, 200);
    list.show();
    // The handler must already see the row the user clicked.
    std::vector<int> seen;
    QObject::connect(&list, &ui::ListBox::SelChange, [&] { seen.push_back(list.GetCurSel()); });
    const QRect r = list.visualRect(list.Row(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(seen, std::vector<int>{1});
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

TEST(UiControls, UserCannotClearTheListSelection) {
    ui::ListBox list(QStringLiteral("list"));
    list.SetItems({QStringLiteral("a"), QStringLiteral("b")});
    list.resize(200, 200);
    list.show();
    list.SetCurSel(1);
    QSignalSpy spy(&list, &ui::ListBox::SelChange);
    const QRect row = list.visualRect(list.Row(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(row.center().x(), row.bottom() + 40));
    EXPECT_EQ(list.GetCurSel(), 1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
    EXPECT_EQ(list.GetCurSel(), 1);
    QTest::keyClick(list.viewport(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, list.visualRect(list.Row(0)).center());
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(spy.count(), 1);
}

// A list of a hundred thousand rows asks its source only for the rows shown or read, and a
// text set from code stays, without a notification.
TEST(UiControls, ALongListAsksItsSourceOnlyForRowsShownOrRead) {
    ui::ListBox list(QStringLiteral("list"));
    list.resize(200, 200);
    std::set<int> asked;
    list.SetItemSource(100000, [&](int row) {
        asked.insert(row);
        return QString::number(row);
    });
    QSignalSpy spy(&list, &ui::ListBox::SelChange);
    list.SetCurSel(99999);
    list.grab();
    EXPECT_EQ(list.GetCount(), 100000);
    EXPECT_EQ(list.GetCurSel(), 99999);
    EXPECT_LT(asked.size(), 100u);
    EXPECT_EQ(list.GetText(70000), QStringLiteral("70000"));
    list.SetText(99999, QStringLiteral("x"));
    EXPECT_EQ(list.GetText(99999), QStringLiteral("x"));
    EXPECT_EQ(list.GetCurSel(), 99999);
    EXPECT_EQ(spy.count(), 0);
}

TEST(UiControls, LabelsAreAccessibleNamesAndComboDescriptions) {
    ui::ComboBox combo(QStringLiteral("サイズ"));
    ui::Edit edit(QStringLiteral("最大HP"));
    EXPECT_EQ(combo.accessibleName(), QStringLiteral("サイズ"));
    EXPECT_EQ(combo.accessibleDescription(), QStringLiteral("サイズ"));
    EXPECT_EQ(edit.accessibleName(), QStringLiteral("最大HP"));
}

TEST(UiControls, AddingToAComboNeverSelects) {
    ui::ComboBox combo(QStringLiteral("地形"));
    QSignalSpy spy(&combo, &ui::ComboBox::SelChange);
    EXPECT_EQ(combo.AddString(QStringLiteral("S")), 0);
    EXPECT_EQ(combo.AddString(QStringLiteral("A")), 1);
    EXPECT_EQ(combo.GetCurSel(), -1);
    combo.SetCurSel(1);
    combo.AddString(QStringLiteral("B"));
    EXPECT_EQ(combo.GetCurSel(), 1);
    combo.ResetContent();
    combo.AddString(QStringLiteral("C"));
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(spy.count(), 0);
}

TEST(UiControls, OutOfRangeComboSelectionShowsNothing) {
    QStringListModel model(QStringList{QStringLiteral("x"), QStringLiteral("y")});
    ui::ComboBox a(QStringLiteral("a")), b(QStringLiteral("b"));
    a.ShareModel(&model);
    b.ShareModel(&model);
    a.SetCurSel(1);
    b.SetCurSel(7);
    EXPECT_EQ(a.GetCurSel(), 1);
    EXPECT_EQ(b.GetCurSel(), -1);
}

TEST(UiNumber, ParsesUnsignedDecimalWithinRange) {
    EXPECT_EQ(ui::ParseUInt(QStringLiteral("4294967295"), 0, 0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(ui::ParseUInt(QStringLiteral(" 12 "), 0, 255), 12u);
    EXPECT_FALSE(ui::ParseUInt(QStringLiteral("4294967296"), 0, 0xFFFFFFFFu));
    EXPECT_FALSE(ui::ParseUInt(QStringLiteral("99999999999999999999999"), 0, 0xFFFFFFFFu));
    EXPECT_EQ(ui::ParseUInt(QStringLiteral("000000000000255"), 0, 255), 255u);
    EXPECT_FALSE(ui::ParseUInt(QStringLiteral("0"), 1, 255));
    EXPECT_FALSE(ui::ParseUInt(QStringLiteral("256"), 0, 255));
    EXPECT_FALSE(ui::ParseUInt(QStringLiteral("-1"), 0, 255));
    EXPECT_FALSE(ui::ParseUInt(QStringLiteral("1e3"), 0, 65535));
    EXPECT_FALSE(ui::ParseUInt(QString(), 0, 255));
    EXPECT_FALSE(ui::ParseUInt(QStringLiteral("１２"), 0, 255));  // full-width digits
}

TEST(UiNumber, BadEntryNamesRangeAndFocusesTheBox) {
    testing_ui::ScriptedServices s;
    QWidget window;
    auto* edit = new ui::Edit(QStringLiteral("乗り換え"), &window);
    window.show();
    edit->setText(QStringLiteral("256"));
    uint32_t v = 7;
    EXPECT_FALSE(ui::ReadUInt(edit, 0, 255, v));
    EXPECT_EQ(v, 7u);
    EXPECT_EQ(s.Last(), QStringLiteral("0 から 255 までの整数を入力してください。"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("256"));
}

// Asks through the real message service and answers by clicking the button named answer
// once the box is up; a box nobody answers is closed by a watchdog.
struct RealQuestion {
    QString title;
    QStringList buttons;
    ui::MsgResult result;
};
RealQuestion AskForReal(ui::MsgButtons buttons, const QString& answer) {
    RealQuestion q;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        press.stop();
        q.title = box->windowTitle();
        for (QAbstractButton* b : box->buttons()) q.buttons << b->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == answer) b->click();
    });
    press.start(10);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    watchdog.start(5000);
    q.result = ui::services().Message(nullptr, QStringLiteral("終了しますか？"), buttons);
    q.buttons.sort();
    return q;
}

TEST(UiServices, MessageBoxesAnswerInJapaneseUnderTheProgramsTitle) {
    const RealQuestion yesNoCancel = AskForReal(ui::MsgButtons::YesNoCancel, QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(yesNoCancel.title, ui::AppTitle());
    EXPECT_EQ(yesNoCancel.buttons,
              QStringList({QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)"), QStringLiteral("キャンセル")}));
    EXPECT_EQ(yesNoCancel.result, ui::MsgResult::No);

    const RealQuestion okCancel = AskForReal(ui::MsgButtons::OkCancel, QStringLiteral("キャンセル"));
    EXPECT_EQ(okCancel.buttons, QStringList({QStringLiteral("OK"), QStringLiteral("キャンセル")}));
    EXPECT_EQ(okCancel.result, ui::MsgResult::Cancel);

    EXPECT_EQ(AskForReal(ui::MsgButtons::YesNo, QStringLiteral("はい(&Y)")).result, ui::MsgResult::Yes);
    EXPECT_EQ(AskForReal(ui::MsgButtons::Ok, QStringLiteral("OK")).result, ui::MsgResult::Ok);
}

TEST(UiNumber, BadEntryOnAHiddenPageShowsThatPageWithoutAHandler) {
    testing_ui::ScriptedServices s;
    QWidget window;
    auto* tabs = new ui::TabCtrl(QStringLiteral("データ"), &window);
    auto* second = new QWidget;
    auto* edit = new ui::Edit(QStringLiteral("移動力"), second);
    tabs->InsertItem(0, new QWidget, QStringLiteral("基本"));
    tabs->InsertItem(1, second, QStringLiteral("機体"));
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy spy(tabs, &ui::TabCtrl::SelChange);
    edit->setText(QStringLiteral("x"));
    uint32_t v = 0;
    EXPECT_FALSE(ui::ReadUInt(edit, 0, 255, v));
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), QStringLiteral("x"));
    EXPECT_EQ(spy.count(), 0);
}

class KeyDialog : public ui::Dialog {
public:
    int oks = 0, cancels = 0;

protected:
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
};

TEST(UiDialog, EnterDoesNothingAndEscapeOrCloseBoxCancel) {
    KeyDialog d;
    auto* edit = new ui::Edit(QStringLiteral("e"), &d);
    d.show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(d.oks, 1);
    EXPECT_EQ(d.cancels, 0);
    EXPECT_TRUE(d.isVisible());
    QTest::keyClick(&d, Qt::Key_Escape);
    d.close();
    EXPECT_EQ(d.cancels, 2);
}

TEST(UiText, EncodeFieldRefusesCharactersCp932Lacks) {
    testing_ui::ScriptedServices s;
    std::string out;
    int pos = -1;
    QString bad;
    EXPECT_TRUE(ui::ToCp932(QStringLiteral("表・①"), out, &pos, &bad));
    EXPECT_EQ(out, std::string("\x95\x5C\x81\x45\x87\x40"));
    EXPECT_FALSE(ui::ToCp932(QStringLiteral("あé"), out, &pos, &bad));
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(bad, QStringLiteral("é"));
    EXPECT_EQ(ui::FromCp932(std::string("\x95\x5C\x0D\x0A")), QStringLiteral("表\r\n"));
}

// A name typed without a suffix takes the suffix of the filter the user selected.
TEST(UiServices, SavedNameTakesTheSelectedFiltersSuffix) {
    tsumugi::testing::TempDir dir;
    for (const int filter : {0, 1}) {
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* types = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
            auto* name = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
            if (types == nullptr || name == nullptr) return;
            answer.stop();
            types->setCurrentIndex(filter);
            emit types->activated(filter);
            emit types->textActivated(types->currentText());
            name->setText(QStringLiteral("out"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        answer.start(10);
        ui::FileDialogOptions options;
        options.filterText = QStringLiteral("BPSパッチ(*.bps);;IPSパッチ(*.ips)");
        options.filterPattern = QStringLiteral("*.bps");
        options.defaultSuffix = QStringLiteral("bps");
        options.initialFolder = QString::fromStdString(dir.Path());
        const std::optional<QString> path = ui::services().SaveFile(nullptr, options);
        ASSERT_TRUE(path.has_value());
        EXPECT_TRUE(path->endsWith(filter == 0 ? QStringLiteral("/out.bps") : QStringLiteral("/out.ips")))
            << path->toStdString();
    }
}

}  // namespace
