// The main window's history: the buttons and keys follow every step and name it, undo and
// redo move the image, the codes and the status line together, and the quit question
// tells of codes not yet saved.
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "core/bytes.h"
#include "core/regions.h"
#include "demo/rom.h"
#include "main_dlg_fixture.h"

namespace testing_ui {
namespace {

class MainHistoryTest : public MainDlgTest {
protected:
    std::vector<uint8_t> Image() const { return {m_dlg.m_rom.m_pData, m_dlg.m_rom.m_pData + m_dlg.m_rom.m_nSize}; }
    QString Status() const { return m_dlg.findChild<QLabel*>()->text(); }
    void ExpectButtons(const QString& undo, const QString& redo) {
        for (auto [label, text] : {std::pair{u"元に戻す", undo}, std::pair{u"やり直し", redo}}) {
            QPushButton* b = Button(Q(label));
            EXPECT_EQ(b->isEnabled(), !text.isEmpty()) << b->text().toStdString();
            EXPECT_EQ(b->toolTip(), text);
            EXPECT_EQ(b->accessibleDescription(), text);
        }
    }
    // Weapon records: three words of the first record, as an editor closed with OK leaves them.
    void EditWeapons(uint16_t base = 0x4321) {
        ScriptEditor([base](uint8_t* rom) {
            for (uint32_t w = 0; w < 3; ++w) tsumugi::Write16(rom + 0xD7CA0 + 2 * w, static_cast<uint16_t>(base + w));
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(m_dlg.EditCategory(tsumugi::category::kWeapon));
    }
};

TEST_F(MainHistoryTest, ButtonsAndKeysUndoAndRedoEveryStepByName) {
    Load(OwnRom(Demo().bytes));
    ExpectButtons({}, {});
    const std::vector<uint8_t> loaded = Image();
    EditWeapons();
    const std::vector<uint8_t> edited = Image();
    ExpectButtons(Q(u"武器 (3語)"), {});
    m_services.files = {QString::fromStdString(m_files.Write("codes.txt", std::string("080C38C4:ABCD\r\n080C38C6:0102\r\n")))};
    m_services.answers = {ui::MsgResult::Yes};
    Click(u"読み込み");
    const std::vector<uint8_t> both = Image();
    ExpectButtons(Q(u"コード読み込み codes.txt (2語)"), {});
    EXPECT_TRUE(Status().endsWith(Q(u"コード: 5")));
    m_dlg.show();
    QApplication::setActiveWindow(&m_dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dlg));
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ControlModifier | Qt::ShiftModifier;
    const char16_t *edit = u"武器 (3語)", *load = u"コード読み込み codes.txt (2語)";
    const struct {
        Qt::KeyboardModifiers mods;
        Qt::Key key;
        const std::vector<uint8_t>* image;
        int codes;
        const char16_t *undo, *redo;
    } keys[] = {{ctrl, Qt::Key_Z, &edited, 3, edit, load}, {ctrl, Qt::Key_Z, &loaded, 0, u"", edit},
                {ctrl, Qt::Key_Z, &loaded, 0, u"", edit},      {ctrl, Qt::Key_Y, &edited, 3, edit, load},
                {shift, Qt::Key_Z, &both, 5, load, u""},       {ctrl, Qt::Key_Y, &both, 5, load, u""}};
    for (const auto& k : keys) {
        QTest::keyClick(&m_dlg, k.key, k.mods);
        EXPECT_TRUE(Image() == *k.image) << k.codes;
        EXPECT_EQ(m_dlg.m_codes.Size(), size_t(k.codes));
        EXPECT_TRUE(Status().endsWith(QStringLiteral("コード: %1").arg(k.codes))) << Status().toStdString();
        ExpectButtons(Q(k.undo), Q(k.redo));
    }
    // An OK that changes nothing is no step; a new step after an undo drops what could
    // have been redone.
    Click(u"元に戻す");
    EditWeapons();
    ExpectButtons(Q(u"武器 (3語)"), Q(u"コード読み込み codes.txt (2語)"));
    EditWeapons(0x1234);
    ExpectButtons(Q(u"武器 (3語)"), {});
}

TEST_F(MainHistoryTest, QuitTellsOfUnsavedCodesAndKeepsTheirJournal) {
    const std::string rom = OwnRom(Demo().bytes);
    struct Case {
        bool edit, save;
        const char16_t* question;
        bool journalKept;
    } cases[] = {
        {false, false, u"終了しますか？", false},
        {true, false, u"終了しますか？\n保存していないコードが3個あります。（次回このROMを開いたときに復元できます）", true},
        {true, true, u"終了しますか？", false},
    };
    for (const Case& c : cases) {
        Load(rom);
        if (c.edit) EditWeapons();
        if (c.save) m_services.files = {QString::fromStdString(m_files.File("saved.txt"))};
        if (c.save) Click(u"保存");
        m_services.answers = {ui::MsgResult::Ok};
        Click(u"終了");
        EXPECT_EQ(m_services.Last(), Q(c.question));
        bool kept = false;
        for (const auto& entry : std::filesystem::directory_iterator(m_program.File("state")))
            kept = kept || entry.path().extension() == ".journal";
        EXPECT_EQ(kept, c.journalKept) << c.edit << c.save;
        // The next run on the same ROM offers what was kept; No drops it.
        if (c.journalKept) m_services.answers = {ui::MsgResult::No};
        Load(rom);
        EXPECT_EQ(m_services.Last(), c.journalKept ? Q(u"前回の作業が残っています。復元しますか？") : Q(c.question));
        EXPECT_TRUE(m_dlg.m_codes.Empty());
    }
}

// The real window in a process of its own, killed with SIGKILL right after an OK; the next
// run on the same ROM, answering Yes, has the image and the codes as they were.
TEST(SessionCrashTest, KilledRightAfterOkRecoversImageAndCodes) {
    tsumugi::testing::TempDir dir;
    ASSERT_TRUE(tsumugi::demo::WriteDemo(dir.Path()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(dir.File("state")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    auto start = [&](const char* mode, QProcess& p) {
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(TSUMUGI_SESSION_PROBE), {QString::fromLatin1(mode), QString::fromStdString(dir.Path())});
    };
    QProcess edit, recover;
    start("edit", edit);
    QByteArray before;
    while (!before.contains("ready\n") && edit.waitForReadyRead(60000)) before += edit.readAll();
    ASSERT_TRUE(before.contains("ready\n")) << before.toStdString();
    edit.kill();  // SIGKILL
    ASSERT_TRUE(edit.waitForFinished(30000));
    EXPECT_EQ(edit.exitStatus(), QProcess::CrashExit);

    start("recover", recover);
    ASSERT_TRUE(recover.waitForFinished(60000));
    const QByteArray after = recover.readAll();
    const QByteArray state = before.left(before.indexOf("ready\n"));
    EXPECT_TRUE(state.contains("codes 080"));
    EXPECT_EQ(after.toStdString(), "question: 前回の作業が残っています。復元しますか？\n" + state.toStdString());
}

}  // namespace
}  // namespace testing_ui
