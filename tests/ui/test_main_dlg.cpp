#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "core/bytes.h"
#include "core/regions.h"
#include "main_dlg_fixture.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace testing_ui {
namespace {

using tsumugi::Read16;
using ui::MsgButtons;
using ui::MsgResult;

const QString kNoRom = QStringLiteral("Romファイルが読み込まれていません。");
const QString kTooShort = QStringLiteral("Romファイルが短すぎるため、このデータは編集できません。");

// ---- the window ----

TEST_F(MainDlgTest, WindowShowsTheCategoriesInOrderWithTheFirstSelected) {
    EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Tsumugi"));
    auto* list = m_dlg.findChild<ui::ListBox*>();
    ASSERT_NE(list, nullptr);
    const QStringList expected = {
        Q(u"ユニット"), Q(u"パイロットステータス"), Q(u"パイロット精神"), Q(u"パイロット技能"), Q(u"武器"),
        Q(u"信頼補正"), Q(u"精神"), Q(u"特殊技能"), Q(u"特殊技能分類"), Q(u"強化パーツ"),
        Q(u"強化パーツ分類"), Q(u"エースボーナス"), Q(u"フル改造ボーナス"), Q(u"バトルセリフ"), Q(u"シナリオデータ")};
    QStringList rows;
    for (int i = 0; i < list->GetCount(); ++i) rows << list->GetText(i);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(list->currentRow(), 0);

    QStringList groups;
    for (QGroupBox* g : m_dlg.findChildren<QGroupBox*>()) groups << g->title();
    groups.sort();
    EXPECT_EQ(groups, QStringList({Q(u"Romファイル"), Q(u"作成コード"), Q(u"改造")}));
    for (const char16_t* b : {u"開く", u"上書き保存", u"別名保存", u"編集", u"保存", u"読み込み", u"変更一覧", u"パッチ出力",
                              u"文字列ツール", u"終了"})
        EXPECT_NE(Button(Q(b)), nullptr);
    EXPECT_EQ(tsumugi::kRegionTable.size(), 16u);
    EXPECT_FALSE(m_dlg.m_rom.IsLoaded());
}

TEST_F(MainDlgTest, EveryControlNamesItselfWithoutMnemonicMarks) {
    int controls = 0;
    for (QWidget* w : m_dlg.findChildren<QWidget*>()) {
        if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<ui::ListBox*>(w)) continue;
        ++controls;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
        EXPECT_FALSE(w->accessibleName().contains(QLatin1Char('&'))) << w->accessibleName().toStdString();
    }
    EXPECT_EQ(controls, 16);  // fourteen buttons, the window menu and the category list
}

TEST_F(MainDlgTest, TabGoesDownTheLeftColumnThenThroughTheCategories) {
    m_dlg.show();
    QApplication::setActiveWindow(&m_dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dlg));
    Button(Q(u"開く"))->setFocus();
    QStringList order;
    for (int i = 0; i < 14; ++i) {
        QWidget* w = QApplication::focusWidget();
        order << (qobject_cast<ui::ListBox*>(w) ? Q(u"(一覧)") : w->accessibleName());
        QTest::keyClick(w, Qt::Key_Tab);
    }
    EXPECT_EQ(order.join(QLatin1Char(' ')),
              Q(u"開く 上書き保存 別名保存 保存 読み込み 変更一覧 パッチ出力 文字列ツール 終了 (一覧) CSV出力 CSV読込 編集 Tsumugi のﾊﾞｰｼﾞｮﾝ情報(A)..."));
}

TEST_F(MainDlgTest, EnterDoesNothingAndEveryWayOutAsksFirst) {
    LoadDemo();
    m_dlg.m_codes.Set(0xC38C4, 0x1234);
    m_dlg.show();
    QTest::keyClick(&m_dlg, Qt::Key_Return);
    EXPECT_TRUE(m_services.shown.empty());
    EXPECT_TRUE(m_dlg.isVisible());

    m_services.answers = {MsgResult::Cancel, MsgResult::Cancel, MsgResult::Cancel};
    QTest::keyClick(&m_dlg, Qt::Key_Escape);
    m_dlg.close();
    Click(u"終了");
    ASSERT_EQ(m_services.shown.size(), 3u);
    for (const auto& s : m_services.shown) {
        EXPECT_EQ(s.text, QStringLiteral("終了しますか？\n保存していないコードが1個あります。（次回このROMを開いたときに復元できます）"));
        EXPECT_EQ(s.buttons, MsgButtons::OkCancel);
    }
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_TRUE(m_dlg.m_rom.IsLoaded());
    EXPECT_EQ(m_dlg.m_codes.Size(), 1u);

    m_services.answers = {MsgResult::Ok};
    Click(u"終了");
    EXPECT_FALSE(m_dlg.isVisible());
}

TEST_F(MainDlgTest, AboutEntryOpensTheVersionBox) {
    QAction* about = nullptr;
    for (QAction* a : m_dlg.findChildren<QAction*>())
        if (a->text() == QStringLiteral("Tsumugi のﾊﾞｰｼﾞｮﾝ情報(&A)...")) about = a;
    ASSERT_NE(about, nullptr);
    QStringList seen;
    int result = -1;
    m_services.modal = [&](QDialog* d) {
        seen << d->windowTitle();
        for (QLabel* l : d->findChildren<QLabel*>())
            if (!l->text().isEmpty()) seen << l->text();
        for (QPushButton* b : d->findChildren<QPushButton*>()) seen << b->text();
        d->show();
        QTest::keyClick(d, Qt::Key_Return);  // Enter closes no window but the string tool
        EXPECT_TRUE(d->isVisible());
        d->findChild<QPushButton*>()->click();
        EXPECT_FALSE(d->isVisible());
        return result = d->result();
    };
    about->trigger();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(seen, QStringList({Q(u"Tsumugiのﾊﾞｰｼﾞｮﾝ情報"), Q(u"Tsumugi Version 1.0"), Q(u"OK")}));
}

// ---- the edit dispatch ----

// A double click as the mouse sends it: a click, then the double-click press.
void DoubleClick(ui::ListBox* list, int row) {
    const QPoint at = list->visualRect(list->Row(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

TEST_F(MainDlgTest, EditWithoutRomShowsTheMessageAlsoOnDoubleClick) {
    ScriptEditor([](uint8_t*) { return int(QDialog::Accepted); });
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
    Click(u"編集");
    auto* list = m_dlg.findChild<ui::ListBox*>();
    DoubleClick(list, 2);
    EXPECT_FALSE(m_dlg.EditCategory(0));
    EXPECT_EQ(m_services.Texts(), std::vector<QString>(3, kNoRom));
    EXPECT_TRUE(m_created.empty());
}

TEST_F(MainDlgTest, DoubleClickEditsTheRowClicked) {
    LoadDemo();
    ScriptEditor([](uint8_t*) { return int(QDialog::Rejected); });
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
    auto* list = m_dlg.findChild<ui::ListBox*>();
    DoubleClick(list, 3);
    Click(u"編集");
    EXPECT_EQ(m_created, std::vector<int>({3, 3}));
    EXPECT_TRUE(m_services.shown.empty());
}

TEST_F(MainDlgTest, BrokenCharacterTableStopsEditorAndStringTool) {
    LoadDemo();
    ScriptEditor([](uint8_t*) { return int(QDialog::Accepted); });
    tsumugi::CharTable::SetPath(m_files.File("missing.txt"));
    tsumugi::CharTable::Instance().Reset();
    EXPECT_FALSE(m_dlg.EditCategory(0));
    Click(u"文字列ツール");
    EXPECT_EQ(m_services.Texts(), std::vector<QString>(2, ui::TableFailure()));
    EXPECT_TRUE(m_created.empty());
}

TEST_F(MainDlgTest, CategoryWithoutEditorChangesNothing) {
    LoadDemo();
    m_dlg.SetEditorFactory([](int, uint8_t*, uint32_t) { return std::unique_ptr<ui::Dialog>(); });
    EXPECT_FALSE(m_dlg.EditCategory(tsumugi::category::kScenario));
    EXPECT_EQ(m_services.Last(), QStringLiteral("このデータのエディタはまだありません。"));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(Demo().bytes));
}

TEST_F(MainDlgTest, OkWithoutChangeAddsNoCodeAndOkWithChangesCodesWholeWords) {
    LoadDemo();
    ScriptEditor([](uint8_t*) { return int(QDialog::Accepted); });
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kUnit));
    EXPECT_TRUE(m_dlg.m_codes.Empty());

    ScriptEditor([](uint8_t* rom) {
        rom[0xC38C5] ^= 0x5A;  // the high byte of the word at 0xC38C4
        rom[0xC7000] ^= 0x01;
        rom[0x200] ^= 0x01;    // outside every unit region: neither coded nor undone
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kUnit));
    ASSERT_EQ(m_dlg.m_codes.Size(), 2u);
    EXPECT_EQ(m_dlg.m_codes.Find(0xC38C4), Read16(m_dlg.m_rom.m_pData + 0xC38C4));
    EXPECT_EQ(m_dlg.m_codes.Find(0xC7000), Read16(m_dlg.m_rom.m_pData + 0xC7000));
    EXPECT_NE(m_dlg.m_rom.m_pData[0x200], Demo().bytes[0x200]);
}

TEST_F(MainDlgTest, EditorsOfTheProgramClosedWithOkUntouchedAddNoCode) {
    LoadDemo();
    m_dlg.SetEditorFactory(app::CreateEditor);
    std::vector<int> results;
    m_services.modal = [&](QDialog* d) {
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("OK")) b->click();
        results.push_back(d->result());
        return d->result();
    };
    for (int category = 0; category < tsumugi::kCategoryCount; ++category) {
        if (!app::CreateEditor(category, m_dlg.m_rom.m_pData, m_dlg.m_rom.m_nSize)) continue;
        EXPECT_TRUE(m_dlg.EditCategory(category)) << category;
    }
    EXPECT_FALSE(results.empty());
    EXPECT_EQ(results, std::vector<int>(results.size(), QDialog::Accepted));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(RomEquals(Demo().bytes));
    EXPECT_TRUE(m_services.shown.empty());
}

TEST_F(MainDlgTest, CancelLeavesTheBufferByteIdenticalIncludingTheExtension) {
    std::vector<uint8_t> bytes = Demo().bytes;
    bytes.push_back(0x12);
    bytes.push_back(0x34);
    Load(OwnRom(bytes));
    m_dlg.m_codes.Set(0x100, 0xBEEF);
    ScriptEditor([](uint8_t* rom) {
        rom[0x26B840] ^= 0xFF;                   // first byte of the scenario data
        rom[0x26B840 + 1614935] ^= 0xFF;         // its last byte
        rom[0x1000000] = rom[0x1000001] = 0x00;  // the extension area
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kScenario));
    EXPECT_TRUE(RomEquals(bytes));
    EXPECT_EQ(m_dlg.m_codes.Size(), 1u);
}

TEST_F(MainDlgTest, ExtensionAreaIsGuardedOnlyPastSixteenMebibytes) {
    std::vector<uint8_t> bytes(Demo().bytes.begin(), Demo().bytes.begin() + 0x1000000);
    bytes.push_back(0x12);
    bytes.push_back(0x34);
    Load(OwnRom(bytes));
    ScriptEditor([](uint8_t* rom) {
        rom[0x1000001] = 0x56;
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kSpirit));
    ASSERT_EQ(m_dlg.m_codes.Size(), 1u);
    EXPECT_EQ(m_dlg.m_codes.Find(0x1000000), 0x5612);

    // Exactly 16 MiB: the last region word is coded, nothing past it is looked at.
    Load(OwnRom(std::vector<uint8_t>(Demo().bytes.begin(), Demo().bytes.begin() + 0x1000000), "game.gba"));
    ScriptEditor([](uint8_t* rom) {
        rom[0xF2115C + 50278] ^= 0x01;
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kBattleLine));
    EXPECT_EQ(m_dlg.m_codes.Size(), 1u);
    EXPECT_TRUE(m_dlg.m_codes.Find(0xF2115C + 50278).has_value());
}

TEST_F(MainDlgTest, BattleDialogueGuardsBothOfItsRegions) {
    LoadDemo();
    auto change = [](uint8_t* rom) {
        rom[0x9DBD4C] ^= 0x01;
        rom[0xF2115C + 2] ^= 0x01;
    };
    ScriptEditor([&](uint8_t* rom) {
        change(rom);
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kBattleLine));
    EXPECT_TRUE(RomEquals(Demo().bytes));

    ScriptEditor([&](uint8_t* rom) {
        change(rom);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kBattleLine));
    std::vector<uint32_t> offsets;
    for (const auto& [offset, value] : m_dlg.m_codes) offsets.push_back(offset);
    EXPECT_EQ(offsets, std::vector<uint32_t>({0x9DBD4C, 0xF2115E}));
}

TEST_F(MainDlgTest, RomEndingBeforeTheDataIsRefused) {
    ScriptEditor([](uint8_t*) { return int(QDialog::Accepted); });
    // Holds the unit names but ends before the weapons.
    const std::vector<uint8_t> head(Demo().bytes.begin(), Demo().bytes.begin() + 0xCA000);
    Load(OwnRom(head));
    EXPECT_FALSE(m_dlg.EditCategory(tsumugi::category::kWeapon));
    // Too short even for the name of unit 0.
    Load(OwnRom(std::vector<uint8_t>(head.begin(), head.begin() + 0x1000), "tiny.gba"));
    EXPECT_FALSE(m_dlg.EditCategory(tsumugi::category::kSpirit));
    EXPECT_EQ(m_services.Texts(), std::vector<QString>(2, kTooShort));
    EXPECT_TRUE(m_created.empty());
}

// ---- opening a ROM ----

TEST_F(MainDlgTest, FirstOpenStoresTheFolderAndASecondFromThereRewritesNothing) {
    const std::string ini = m_program.File("option.ini");
    m_services.files = {QString::fromStdString(Demo().rom)};
    Click(u"開く");
    ASSERT_EQ(m_services.fileRequests.size(), 1u);
    ExpectChooser(m_services.fileRequests[0], u"ファイルを開く", u"GBAﾌｧｲﾙ(*.gba)", u"*.gba");
    EXPECT_TRUE(m_services.fileRequests[0].initialFolder.isEmpty());
    EXPECT_TRUE(m_dlg.m_rom.IsLoaded());
    EXPECT_EQ(m_dlg.m_rom.m_szPath, Demo().rom);
    EXPECT_EQ(tsumugi::ReadRomFolder(), Demo().dir.Path());

    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(ini, old);
    m_services.files = {QString::fromStdString(Demo().rom)};
    Click(u"開く");
    EXPECT_EQ(m_services.fileRequests[1].initialFolder, QString::fromStdString(Demo().dir.Path()));
    EXPECT_EQ(std::filesystem::last_write_time(ini), old);
    EXPECT_TRUE(m_services.shown.empty());
}

TEST_F(MainDlgTest, CancelOrDeclineLeavesNoRomNoCodesAndNoSettings) {
    const std::string ini = m_program.File("option.ini");
    m_services.files = {std::nullopt};
    Click(u"開く");
    EXPECT_FALSE(m_dlg.m_rom.IsLoaded());

    LoadDemo();
    std::filesystem::remove(ini);
    m_dlg.m_codes.Set(0x100, 1);
    std::vector<uint8_t> other = Demo().bytes;
    other[0xA0] = 'X';
    const std::string otherPath = OwnRom(other);
    m_services.files = {QString::fromStdString(otherPath)};
    m_services.answers = {MsgResult::No};
    Click(u"開く");
    ASSERT_EQ(m_services.shown.size(), 1u);
    EXPECT_EQ(m_services.shown[0].text, QStringLiteral("ROMファイルが違いますが読み込みますか？"));
    EXPECT_EQ(m_services.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_FALSE(m_dlg.m_rom.IsLoaded());
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_FALSE(std::filesystem::exists(ini));

    m_services.files = {QString::fromStdString(otherPath)};
    m_services.answers = {MsgResult::Yes};
    Click(u"開く");
    EXPECT_TRUE(m_dlg.m_rom.IsLoaded());
    EXPECT_EQ(tsumugi::ReadRomFolder(), m_files.Path());
}

// Delivers a drag-and-drop step straight to the window (no drag is in progress).
bool Deliver(QWidget& window, QDropEvent& event) {
    static_cast<QObject&>(window).event(&event);
    return event.isAccepted();
}

TEST_F(MainDlgTest, DroppedRomOpensLikeOpen) {
    m_dlg.m_codes.Set(0x100, 1);
    QMimeData rom;
    rom.setUrls({QUrl::fromLocalFile(QString::fromStdString(Demo().rom))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &rom, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    EXPECT_TRUE(Deliver(m_dlg, enter));
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &rom, Qt::LeftButton, Qt::NoModifier);
    Deliver(m_dlg, drop);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_dlg.m_rom.IsLoaded());
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_EQ(tsumugi::ReadRomFolder(), Demo().dir.Path());

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(QString::fromStdString(m_files.Write("codes.txt", std::string("x"))))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    EXPECT_FALSE(Deliver(m_dlg, refused));
    QDropEvent other(QPointF(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    Deliver(m_dlg, other);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dlg.m_rom.m_szPath, Demo().rom);
}

TEST_F(MainDlgTest, DroppedRomAsksItsQuestionOnlyOnceTheDropIsOver) {
    std::vector<uint8_t> other = Demo().bytes;
    other[0xA0] = 'X';
    QMimeData rom;
    rom.setUrls({QUrl::fromLocalFile(QString::fromStdString(OwnRom(other)))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &rom, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(Deliver(m_dlg, drop));
    // The source of the drag waits for the drop to finish: no question may hold it up.
    EXPECT_TRUE(m_services.shown.empty());
    m_services.answers = {MsgResult::Yes};
    QCoreApplication::processEvents();
    ASSERT_EQ(m_services.shown.size(), 1u);
    EXPECT_EQ(m_services.shown[0].text, QStringLiteral("ROMファイルが違いますが読み込みますか？"));
    EXPECT_TRUE(m_dlg.m_rom.IsLoaded());
}

TEST_F(MainDlgTest, DropLandingWhileAnEditorRunsLeavesItsBufferAlone) {
    LoadDemo();
    QMimeData rom;
    rom.setUrls({QUrl::fromLocalFile(QString::fromStdString(OwnRom(Demo().bytes)))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &rom, Qt::LeftButton, Qt::NoModifier);
    ScriptEditor([&](uint8_t* buffer) {
        // The editor's own modal loop runs the deferred open.
        QDialog editor;
        editor.setModal(true);
        editor.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(m_dlg.m_rom.m_pData, buffer);
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(Deliver(m_dlg, drop));
    EXPECT_TRUE(m_dlg.EditCategory(tsumugi::category::kUnit));
    EXPECT_EQ(m_dlg.m_rom.m_szPath, Demo().rom);
}

TEST_F(MainDlgTest, FolderWithJapaneseNameIsStoredWhole) {
    // File names here are UTF-8: three bytes per kana, so an odd count of them ends on a
    // byte that a two-byte reading would pair with the separator after it.
    for (const char* name : {"ゲーム", "ロム", "ゲ/ーム"}) {
        const std::string folder = m_files.File(name);
        std::filesystem::create_directories(folder);
        const std::string rom = folder + "/rom.gba";
        std::filesystem::copy_file(Demo().rom, rom);
        Load(rom);
        EXPECT_EQ(tsumugi::ReadRomFolder(), folder) << name;
    }
}

TEST_F(MainDlgTest, RelativePathStoresAnAbsoluteFolder) {
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(Demo().dir.Path()));
    const bool loaded = m_dlg.OpenRom(QStringLiteral("demo.gba"));
    QDir::setCurrent(cwd);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(tsumugi::ReadRomFolder(), Demo().dir.Path());
}

// ---- the string tool ----

TEST_F(MainDlgTest, StringToolNeedsARomAndMakesNoCodes) {
    Click(u"文字列ツール");
    EXPECT_TRUE(m_services.shown.empty());

    LoadDemo();
    QString title;
    m_services.modal = [&](QDialog* d) {
        title = d->windowTitle();
        return int(QDialog::Rejected);
    };
    Click(u"文字列ツール");
    EXPECT_EQ(title, QStringLiteral("文字列ツール"));
    EXPECT_TRUE(m_dlg.m_codes.Empty());
    EXPECT_TRUE(m_services.shown.empty());
}

}  // namespace
}  // namespace testing_ui
