#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <string>
#include <vector>

#include "core/text_codec.h"
#include "demo_files.h"
#include "editors/strings/string_tool_dlg.h"
#include "scripted_services.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace testing_ui {
namespace {

const QString kInvalid = QStringLiteral("無効なアドレスです。");

// Game bytes of a display text through the demo's table, terminator included.
std::vector<uint8_t> Game(const QString& text) {
    std::string cp932;
    EXPECT_TRUE(ui::ToCp932(text, cp932));
    return tsumugi::demo::EncodeText(cp932);
}

class StringToolTest : public ::testing::Test {
protected:
    void SetUp() override { UseDemoTable(); }
    void TearDown() override { ForgetTable(); }

    // A tool over rom, which must outlive it.
    void Open(const std::vector<uint8_t>& rom) {
        m_tool = std::make_unique<editors::CStringToolDlg>(rom.data(), static_cast<uint32_t>(rom.size()));
    }
    void Read(const QString& address) {
        m_tool->m_pAddress->SetText(address);
        m_tool->OnRead();
    }
    QString Text() const { return m_tool->m_pText->GetText(); }
    QString Address() const { return m_tool->m_pAddress->GetText(); }

    static QString UnitZero(const std::vector<uint8_t>& rom) {
        tsumugi::CTextCodec codec(rom.data(), static_cast<uint32_t>(rom.size()));
        std::string name;
        EXPECT_TRUE(codec.GetUnitName(0, name));
        return ui::FromCp932(name);
    }

    ScriptedServices m_services;
    std::unique_ptr<editors::CStringToolDlg> m_tool;
};

// "あい" FF 00 00 "う" FF FF "え" FF: three strings and an empty one.
std::vector<uint8_t> SmallRom() {
    std::vector<uint8_t> rom = Game(QStringLiteral("あい"));
    rom.insert(rom.end(), {0x00, 0x00});
    for (const QString& s : {QStringLiteral("う"), QString(), QStringLiteral("え")}) {
        const std::vector<uint8_t> bytes = Game(s);
        rom.insert(rom.end(), bytes.begin(), bytes.end());
    }
    return rom;
}

TEST_F(StringToolTest, OffsetAndBusAddressesReadTheSameString) {
    const std::vector<uint8_t>& rom = DemoFiles::Get().bytes;
    Open(rom);
    const QString name = UnitZero(rom);
    ASSERT_FALSE(name.isEmpty());
    for (const QString& address : {QStringLiteral("0x080C390C"), QStringLiteral("080C390C"), QStringLiteral("C390C")}) {
        m_tool->m_pText->SetText(QString());
        Read(address);
        EXPECT_EQ(Text(), name) << address.toStdString();
    }
    EXPECT_TRUE(m_services.shown.empty());
    EXPECT_EQ(m_tool->windowTitle(), QStringLiteral("文字列ツール"));
}

TEST_F(StringToolTest, InvalidAddressesShowTheMessageAndChangeNothing) {
    const std::vector<uint8_t> rom(DemoFiles::Get().bytes.begin(),
                                   DemoFiles::Get().bytes.begin() + 0x1000000);  // exactly 16 MiB
    Open(rom);
    m_tool->m_pText->SetText(QStringLiteral("keep"));
    for (const QString& address : {QStringLiteral("0X080C390C"), QStringLiteral("0A000000"), QStringLiteral("1000000"),
                                   QStringLiteral("9000000"), QStringLiteral("C390C "), QStringLiteral("Ｃ390C")}) {
        Read(address);
        m_tool->OnNext();
        m_tool->OnPrev();
        EXPECT_EQ(Address(), address);
    }
    EXPECT_EQ(m_services.Texts(), std::vector<QString>(18, kInvalid));
    EXPECT_EQ(Text(), QStringLiteral("keep"));
}

TEST_F(StringToolTest, EmptyAddressReadsOffsetZeroAndBusAddressReachesTheExtension) {
    std::vector<uint8_t> rom(0x1000000, 0xFF);
    const std::vector<uint8_t> first = Game(QStringLiteral("はじめ"));
    std::copy(first.begin(), first.end(), rom.begin());
    const std::vector<uint8_t> moved = Game(QStringLiteral("おわり"));
    rom.insert(rom.end(), moved.begin(), moved.end());
    Open(rom);
    Read(QString());
    EXPECT_EQ(Text(), QStringLiteral("はじめ"));
    Read(QStringLiteral("9000000"));
    EXPECT_EQ(Text(), QStringLiteral("おわり"));
    EXPECT_TRUE(m_services.shown.empty());
}

TEST_F(StringToolTest, NextAndPrevStepThroughTextMovedPastSixteenMebibytes) {
    std::vector<uint8_t> rom(0x1000000, 0x00);
    for (const QString& s : {QStringLiteral("いち"), QStringLiteral("に"), QStringLiteral("さん")}) {
        const std::vector<uint8_t> bytes = Game(s);
        rom.insert(rom.end(), bytes.begin(), bytes.end());
    }
    Open(rom);
    Read(QStringLiteral("09000000"));
    m_tool->OnNext();
    EXPECT_EQ(Text(), QStringLiteral("に"));
    const QString second = Address();
    EXPECT_EQ(second, QString::asprintf("%08X", 0x09000000u + static_cast<uint32_t>(Game(QStringLiteral("いち")).size())));
    m_tool->OnNext();
    EXPECT_EQ(Text(), QStringLiteral("さん"));
    m_tool->OnPrev();
    EXPECT_EQ(Address(), second);
    EXPECT_EQ(Text(), QStringLiteral("に"));
    EXPECT_TRUE(m_services.shown.empty());
    m_tool->OnNext();
    m_tool->OnNext();  // the last string ends the image
    EXPECT_EQ(m_services.Texts(), std::vector<QString>(1, kInvalid));
}

TEST_F(StringToolTest, NextStopsAtTheLastAddressTheEditTakes) {
    // Past 32 MiB a string could be found but never typed back (0A000000 is no address).
    constexpr uint32_t kLastAddressable = 0x1FFFFFF;
    std::vector<uint8_t> rom(kLastAddressable - 0x20, 0x00);
    for (const QString& s : {QStringLiteral("いち"), QStringLiteral("に"), QStringLiteral("さん")}) {
        if (s == QStringLiteral("に")) rom.resize(kLastAddressable, 0x00);
        const std::vector<uint8_t> bytes = Game(s);
        rom.insert(rom.end(), bytes.begin(), bytes.end());
    }
    ASSERT_EQ(rom[kLastAddressable + 1], 0xFF);  // "に" is one code and its terminator
    Open(rom);
    Read(QStringLiteral("09FFFFDF"));
    ASSERT_EQ(Text(), QStringLiteral("いち"));
    m_tool->OnNext();
    EXPECT_EQ(Address(), QStringLiteral("09FFFFFF"));
    EXPECT_EQ(Text(), QStringLiteral("に"));
    EXPECT_TRUE(m_services.shown.empty());
    m_tool->OnNext();  // "さん" starts past the last address: the end, as at the image's end
    EXPECT_EQ(m_services.Texts(), std::vector<QString>(1, kInvalid));
    EXPECT_EQ(Address(), QStringLiteral("09FFFFFF"));
    EXPECT_EQ(Text(), QStringLiteral("に"));
}

TEST_F(StringToolTest, NextAndPrevStepBetweenStringsAndWriteEightDigits) {
    const std::vector<uint8_t> rom = SmallRom();
    Open(rom);
    const auto u = static_cast<uint32_t>(Game(QStringLiteral("あい")).size() + 2);  // start of "う"
    Read(QStringLiteral("0x08000000"));
    EXPECT_EQ(Text(), QStringLiteral("あい"));
    m_tool->OnNext();
    EXPECT_EQ(Address(), QString::asprintf("%08X", u));
    EXPECT_EQ(Text(), QStringLiteral("う"));
    m_tool->OnNext();  // the empty string
    EXPECT_EQ(Text(), QString());
    m_tool->OnNext();
    EXPECT_EQ(Text(), QStringLiteral("え"));
    m_tool->OnPrev();  // back over the empty string to its start
    EXPECT_EQ(Text(), QString());
    // From the terminator of "う" back over the filler after "あい" to the start of "う".
    const auto uEnd = static_cast<uint32_t>(u + Game(QStringLiteral("う")).size() - 1);
    m_tool->m_pAddress->SetText(QString::asprintf("%X", uEnd));
    m_tool->OnPrev();
    EXPECT_EQ(Address(), QString::asprintf("%08X", u));
    EXPECT_EQ(Text(), QStringLiteral("う"));
    EXPECT_TRUE(m_services.shown.empty());
}

TEST_F(StringToolTest, SearchesStopAtBothEndsOfTheImage) {
    std::vector<uint8_t> rom = SmallRom();
    rom.pop_back();  // "え" now runs to the end of the image without a terminator
    Open(rom);
    m_tool->m_pText->SetText(QStringLiteral("keep"));
    m_tool->m_pAddress->SetText(QStringLiteral("1"));
    m_tool->OnPrev();  // 0 and 1 do nothing at all
    m_tool->m_pAddress->SetText(QStringLiteral("0"));
    m_tool->OnPrev();
    EXPECT_TRUE(m_services.shown.empty());
    EXPECT_EQ(Address(), QStringLiteral("0"));

    m_tool->m_pAddress->SetText(QStringLiteral("2"));  // only one 0xFF before
    m_tool->OnPrev();
    m_tool->m_pAddress->SetText(QString::asprintf("%X", static_cast<unsigned>(rom.size() - 1)));
    m_tool->OnNext();  // no 0xFF up to the end
    EXPECT_EQ(m_services.Texts(), std::vector<QString>(2, kInvalid));
    EXPECT_EQ(Text(), QStringLiteral("keep"));

    m_tool->OnRead();  // the last byte alone: half a character at most, never past the end
    EXPECT_NE(Text(), QStringLiteral("keep"));
    Read(QString::asprintf("%X", static_cast<unsigned>(rom.size())));
    EXPECT_EQ(m_services.Last(), kInvalid);
}

TEST_F(StringToolTest, HexShowsTheBytesUpToTheTerminator) {
    const std::vector<uint8_t>& rom = DemoFiles::Get().bytes;
    Open(rom);
    m_tool->OnToHex();
    EXPECT_EQ(m_tool->m_pHex->GetText(), QString());

    Read(QStringLiteral("C390C"));
    m_tool->OnToHex();
    QString expected;
    for (uint32_t i = 0xC390C; rom[i] != 0xFF && rom[i] != 0x00; ++i) expected += QString::asprintf("%02X ", rom[i]);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(m_tool->m_pHex->GetText(), expected);

    m_tool->m_pText->SetText(QStringLiteral("あ\nい"));
    m_tool->OnToHex();
    const std::vector<uint8_t> a = Game(QStringLiteral("あ")), i = Game(QStringLiteral("い"));
    QString lines;
    for (size_t k = 0; k + 1 < a.size(); ++k) lines += QString::asprintf("%02X ", a[k]);
    lines += QStringLiteral("FE ");
    for (size_t k = 0; k + 1 < i.size(); ++k) lines += QString::asprintf("%02X ", i[k]);
    EXPECT_EQ(m_tool->m_pHex->GetText(), lines);
    EXPECT_TRUE(m_services.shown.empty());
}

TEST_F(StringToolTest, HexFailureNamesTheCharacterAndKeepsTheResult) {
    const std::vector<uint8_t> rom = SmallRom();
    Open(rom);
    m_tool->m_pHex->SetText(QStringLiteral("keep"));
    m_tool->m_pText->SetText(QStringLiteral("あ") + QChar(0x2603));
    m_tool->OnToHex();
    ASSERT_EQ(m_services.shown.size(), 1u);
    EXPECT_TRUE(m_services.Last().startsWith(QStringLiteral("変換に失敗\n位置：2byte\n文字："))) << m_services.Last().toStdString();
    EXPECT_EQ(m_tool->m_pHex->GetText(), QStringLiteral("keep"));
}

TEST_F(StringToolTest, ControlsAreNamedAndTheAddressLabelIsTheEditsBuddy) {
    const std::vector<uint8_t> rom = SmallRom();
    Open(rom);
    QStringList names;
    for (QWidget* w : m_tool->findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
            names << w->accessibleName();
    }
    names.sort();
    EXPECT_EQ(names, QStringList({QStringLiteral("16進"), QStringLiteral("16進変換"), QStringLiteral("アドレス(16進)"),
                                  QStringLiteral("前"), QStringLiteral("文字列"), QStringLiteral("次"),
                                  QStringLiteral("読み出し"), QStringLiteral("閉じる")}));
    const QList<QLabel*> labels = m_tool->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), QStringLiteral("アドレス(16進)"));
    EXPECT_EQ(labels[0]->buddy(), m_tool->m_pAddress);
}

TEST_F(StringToolTest, EnterReadsFromEitherOneLineEditAndBreaksLinesInTheText) {
    const std::vector<uint8_t> rom = SmallRom();
    Open(rom);
    m_tool->show();
    m_tool->m_pAddress->setFocus();
    QTest::keyClick(m_tool->m_pAddress, Qt::Key_Return);
    EXPECT_EQ(Text(), QStringLiteral("あい"));
    m_tool->m_pText->SetText(QString());
    m_tool->m_pHex->setFocus();
    QTest::keyClick(m_tool->m_pHex, Qt::Key_Return);
    EXPECT_EQ(Text(), QStringLiteral("あい"));

    m_tool->m_pText->setFocus();
    m_tool->m_pText->moveCursor(QTextCursor::End);
    QTest::keyClick(m_tool->m_pText, Qt::Key_Return);
    EXPECT_EQ(Text(), QStringLiteral("あい\n"));
    EXPECT_TRUE(m_tool->isVisible());
}

}  // namespace
}  // namespace testing_ui
