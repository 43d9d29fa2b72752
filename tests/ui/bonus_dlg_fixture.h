#pragma once
// A fixture for the bonus editors: the editor opened on a fresh copy of the demo ROM, its
// records and its controls found by label; and the runs the ace bonus and full-upgrade
// bonus editors share.
#include <QLabel>
#include <QString>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "ability_dlg_support.h"
#include "demo/data.h"
#include "editor_fixture.h"
#include "ui/controls.h"
#include "ui/number.h"

namespace testing_ui {

inline QString S(const char16_t* text) { return QString::fromUtf16(text); }

// Every label of the shown window is as wide as its text.
inline void ExpectUnclippedLabels(QWidget* window) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
    }
}

template <typename Dlg>
class BonusDlgTest : public EditorFixture {
protected:
    // base, size: where the editor's table lies.
    BonusDlgTest(uint32_t base, uint32_t size) : m_nBase(base), m_nSize(size) {}

    uint8_t* At(int i) { return Rom() + m_nBase + m_nSize * static_cast<uint32_t>(i); }
    std::vector<uint8_t> Record(int i) { return Bytes(At(i), m_nSize); }
    std::vector<uint8_t> Record(const std::vector<uint8_t>& image, int i) const {
        const auto first = image.begin() + m_nBase + m_nSize * static_cast<uint32_t>(i);
        return std::vector<uint8_t>(first, first + m_nSize);
    }

    std::unique_ptr<Dlg> Open() {
        auto dlg = std::make_unique<Dlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(Dlg& d) { return d.template findChild<ui::ListBox*>(); }
    static ui::Edit* Edit(Dlg& d, const char16_t* label) { return Find<ui::Edit>(&d, S(label)); }
    static ui::ComboBox* Combo(Dlg& d, const char16_t* label) {
        return Find<ui::ComboBox>(&d, S(label));
    }
    static ui::CheckBox* Check(Dlg& d, const char16_t* label) {
        return Find<ui::CheckBox>(&d, S(label));
    }

private:
    uint32_t m_nBase;
    uint32_t m_nSize;
};

// Where a bonus table lies and where its records keep their names.
struct BonusTable {
    uint32_t base, size;
    int count;
    uint32_t name;
    int nameLength;
};

// The ace bonus and full-upgrade bonus editors: number boxes, a few choices and a name
// shown in a box of class NameBox.
template <typename Dlg, typename NameBox>
class NamedBonusDlgTest : public BonusDlgTest<Dlg> {
protected:
    using Base = BonusDlgTest<Dlg>;
    using Base::At;
    using Base::Edit;
    using Base::List;
    using Base::Open;
    using Base::Record;
    using Base::rom;
    using Base::services;

    explicit NamedBonusDlgTest(BonusTable table) : Base(table.base, table.size), m_table(table) {}

    static NameBox* Name(Dlg& d) { return Find<NameBox>(&d, S(u"名前")); }

    // Browsing every record and back to the first, then OK, closes the window with no
    // message and no byte changed since before.
    void ExpectBrowseAndOkChangeNoByte(Dlg& d, const std::vector<uint8_t>& before) {
        EXPECT_LE(d.sizeHint().width(), 1280);
        EXPECT_LE(d.sizeHint().height(), 760);
        for (int i = 1; i < m_table.count; ++i) SelectRow(&d, i);
        SelectRow(&d, 0);
        Press(&d, S(u"OK"));
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_TRUE(services.shown.empty());
        EXPECT_TRUE(rom == before);
    }

    // Every record gets distinct bytes at the offsets loose (which no control shows) and
    // 0x44 after its name's terminator; setting box (at offset) to 3 in every record and
    // pressing OK changes that byte alone.
    void ExpectLooseBytesSurviveEveryStore(std::initializer_list<uint32_t> loose,
                                           const char16_t* box, uint32_t offset) {
        const uint32_t nameEnd = m_table.name + static_cast<uint32_t>(m_table.nameLength);
        for (int i = 0; i < m_table.count; ++i) {
            uint8_t* p = At(i);
            for (uint32_t off : loose) p[off] = static_cast<uint8_t>(0xA0 + i + off);
            uint8_t* end = std::find(p + m_table.name, p + nameEnd, 0xFF);
            ASSERT_LT(end + 1, p + nameEnd);
            std::fill(end + 1, p + nameEnd, 0x44);
        }
        const std::vector<uint8_t> before = rom;
        auto d = Open();
        for (int i = 0; i < m_table.count; ++i) {
            if (i > 0) SelectRow(d.get(), i);
            Edit(*d, box)->SetText(QStringLiteral("3"));
        }
        Press(d.get(), S(u"OK"));
        EXPECT_TRUE(services.shown.empty());
        for (int i = 0; i < m_table.count; ++i) {
            std::vector<uint8_t> expected = Record(before, i);
            expected[offset] = 3;
            EXPECT_EQ(Record(i), expected) << i;
        }
    }

    struct RefusedNumber {
        const char16_t* box;
        QString text;
    };
    // On record 7, for each case: change sets some other inputs, the name becomes
    // "新ボーナス" and the box holds the text. Moving on and OK both show the range message,
    // keep the record, the window and the input, and write nothing.
    void ExpectRefusedNumbersWriteNothing(std::span<const RefusedNumber> cases,
                                          const std::function<void(Dlg&)>& change) {
        const std::vector<uint8_t> before = rom;
        auto d = Open();
        SelectRow(d.get(), 7);
        for (const RefusedNumber& c : cases) {
            SCOPED_TRACE(QString::fromUtf16(c.box).toStdString());
            change(*d);
            Name(*d)->SetText(S(u"新ボーナス"));
            Edit(*d, c.box)->SetText(c.text);
            services.shown.clear();
            SelectRow(d.get(), 8);
            EXPECT_EQ(List(*d)->GetCurSel(), 7);
            EXPECT_EQ(d->focusWidget(), Edit(*d, c.box));
            Press(d.get(), S(u"OK"));
            EXPECT_EQ(services.Texts(), std::vector<QString>(2, ui::RangeMessage(0, 255)));
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(Name(*d)->GetText(), S(u"新ボーナス")) << "the input stays";
            EXPECT_TRUE(rom == before);
            Edit(*d, c.box)->SetText(QStringLiteral("0"));
        }
    }

    // After OK met a name that cannot be converted on record row: the message shows, the
    // window stays open, the record holds expected, its item is still item, and moving on
    // fails the same way.
    void ExpectNameRefused(Dlg& d, int row, const QString& message,
                           const std::vector<uint8_t>& expected, const QString& item) {
        EXPECT_EQ(services.Texts(), std::vector<QString>{message});
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Record(row), expected);
        EXPECT_EQ(List(d)->GetText(row), item);

        SelectRow(&d, row + 1);
        EXPECT_EQ(List(d)->GetCurSel(), row) << "the same failure keeps the record selected";
    }

    // Writes text as the name of record row with a code the character table lacks put
    // before character position at, filled up with 0x33; returns the name's bytes.
    std::vector<uint8_t> PlantUnlistedName(int row, const QString& text, int at) {
        std::vector<uint8_t> name = EditorFixture::GameText(text);
        name.insert(name.begin() + at,
                    {tsumugi::demo::detail::kUnlistedLead, tsumugi::demo::detail::kUnlistedTrail});
        name.resize(static_cast<size_t>(m_table.nameLength), 0x33);
        std::copy(name.begin(), name.end(), At(row) + m_table.name);
        return name;
    }
    // With the locked name of record row shown: 42 typed into box (at offset) is stored on
    // moving on, the name's bytes and item stay, and the next name is editable again.
    void ExpectLockedNameKept(Dlg& d, int row, const std::vector<uint8_t>& name,
                              const QString& item, const char16_t* box, uint32_t offset) {
        Edit(d, box)->SetText(QStringLiteral("42"));
        SelectRow(&d, row + 1);
        EXPECT_TRUE(Name(d)->isEnabled()) << "the next record's name is editable again";
        EXPECT_EQ(
            EditorFixture::Bytes(At(row) + m_table.name, static_cast<size_t>(m_table.nameLength)),
            name);
        EXPECT_EQ(At(row)[offset], 42);
        EXPECT_EQ(List(d)->GetText(row), item);
        EXPECT_TRUE(services.shown.empty());
    }

    // Enter in box does nothing; ｷｬﾝｾﾙ closes the window and leaves the ROM as before.
    void ExpectEnterIgnoredAndCancelLeavesTheRom(Dlg& d, QWidget* box,
                                                 const std::vector<uint8_t>& before) {
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible()) << "Enter does nothing";
        Press(&d, S(u"ｷｬﾝｾﾙ"));
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_TRUE(rom == before);
    }

private:
    BonusTable m_table;
};

// A bonus editor run from the main window.
class BonusEndToEndTest : public AbilityEndToEndTest {
protected:
    // 5 typed into box of the first record, a move to the next (which stores the first
    // into the ROM buffer), then ｷｬﾝｾﾙ: no code is kept and the ROM is the demo's again.
    void ExpectCancelAfterMovingOnUndoes(int category, const char16_t* box) {
        LoadDemo();
        m_services.modal = [box](QDialog* d) {
            d->show();
            Find<ui::Edit>(d, Q(box))->SetText(QStringLiteral("5"));
            SelectRow(d, 1);
            Press(d, Q(u"ｷｬﾝｾﾙ"));
            return d->result();
        };
        ASSERT_TRUE(m_dlg.EditCategory(category));
        EXPECT_TRUE(m_dlg.m_codes.Empty());
        EXPECT_TRUE(RomEquals(Demo().bytes));
    }
};

}  // namespace testing_ui
