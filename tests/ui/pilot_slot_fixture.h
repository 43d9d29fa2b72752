#pragma once
// The scenarios the pilot slot editors (spirit commands, skills) share, run through the
// real dialog over the demo ROM. Controls are found by the labels of the table descriptor,
// so every field is reached by the name the descriptor gives it.
#include <QTest>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "core/layout/descriptor.h"
#include "core/name_list.h"
#include "core/text_codec.h"
#include "editor_fixture.h"
#include "editors/common/find_box.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/number.h"

namespace testing_ui {

struct SlotEditor {
    const char* table;      // descriptor name
    const char16_t* title;  // window title
    tsumugi::NameKind names;
    std::vector<QString> headers;  // the visible texts, in order
};

// A slot byte, the item it shows (-1: none) and the byte an untouched store writes back.
struct SlotCase {
    uint8_t byte;
    int item;
    uint8_t stored;
};

// A bad entry in the box labelled box.
struct BadEntry {
    const char16_t* box;
    const char16_t* text;
};

template <typename Dlg>
class PilotSlotTest : public EditorFixture {
protected:
    using Field = tsumugi::layout::Field;
    using FieldKind = tsumugi::layout::FieldKind;

    explicit PilotSlotTest(SlotEditor editor)
        : m_editor(std::move(editor)), m_table(*tsumugi::layout::FindTable(m_editor.table)) {}

    uint8_t* Record(int i) {
        return Rom() + m_table.base + m_table.size * static_cast<uint32_t>(i);
    }
    std::vector<uint8_t> RecordBytes(int i) { return Bytes(Record(i), m_table.size); }

    std::unique_ptr<Dlg> Open() {
        auto dlg = std::make_unique<Dlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(Dlg& d) { return d.template findChild<ui::ListBox*>(); }
    static ui::ComboBox* Combo(Dlg& d, const Field& f) {
        return Find<ui::ComboBox>(&d, QString::fromUtf8(f.label));
    }
    static ui::Edit* Box(Dlg& d, const QString& label) { return Find<ui::Edit>(&d, label); }
    static ui::Edit* Box(Dlg& d, const Field& f) { return Box(d, QString::fromUtf8(f.label)); }

    // The slot combos' fields (or the number boxes'), in record order.
    std::vector<Field> Fields(FieldKind kind) const {
        std::vector<Field> out;
        for (const Field& f : m_table.fields)
            if (f.kind == kind) out.push_back(f);
        return out;
    }
    std::vector<Field> SlotFields() const { return Fields(FieldKind::Reference); }
    std::vector<Field> NumberFields() const { return Fields(FieldKind::Number); }
    int NoneItem() const { return tsumugi::layout::CountOf(SlotFields().front().refers); }

    void ExpectOpenBrowseAndOkChangeNoByte() {
        const std::vector<uint8_t> before = rom;
        auto d = Open();
        EXPECT_EQ(d->windowTitle(), QString::fromUtf16(m_editor.title));
        ASSERT_EQ(List(*d)->GetCount(), m_table.count);
        EXPECT_EQ(List(*d)->GetCurSel(), 0);
        tsumugi::CTextCodec codec(Rom(), RomSize());
        const QStringList items = editors::NameItems(codec, m_editor.names)
                                  << QStringLiteral("無し(0xFF)");
        ASSERT_EQ(items.size(), NoneItem() + 1);
        const QAbstractItemModel* shared = Combo(*d, SlotFields().front())->model();
        for (const Field& f : SlotFields()) {
            ui::ComboBox* combo = Combo(*d, f);
            EXPECT_EQ(combo->model(), shared) << f.label;
            ASSERT_EQ(combo->GetCount(), items.size());
            for (int i = 0; i < combo->GetCount(); ++i) EXPECT_EQ(combo->GetLBText(i), items[i]);
        }
        for (int i = 1; i < m_table.count; ++i) SelectRow(d.get(), i);
        Press(d.get(), QStringLiteral("OK"));
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_TRUE(services.shown.empty());
        EXPECT_TRUE(rom == before);
    }

    // Puts value(k) into the control of the k-th field of pilot, moves on, and expects
    // exactly those bytes; the controls show them again on the way back.
    void ExpectEveryFieldStoredAndShownBack(int pilot,
                                            const std::function<uint32_t(int k)>& value) {
        auto d = Open();
        SelectRow(d.get(), pilot);
        std::vector<uint8_t> expected = RecordBytes(pilot);
        int k = 0;
        for (const Field& f : m_table.fields) {
            const uint32_t v = value(k++);
            if (f.kind == FieldKind::Reference) {
                Combo(*d, f)->SetCurSel(v == static_cast<uint32_t>(f.none) ? NoneItem()
                                                                           : static_cast<int>(v));
            } else {
                Box(*d, f)->SetText(QString::number(v));
            }
            tsumugi::layout::WriteField(f, expected.data(), v);
        }
        SelectRow(d.get(), pilot + 1);
        EXPECT_TRUE(services.shown.empty());
        EXPECT_EQ(RecordBytes(pilot), expected);

        SelectRow(d.get(), pilot);
        for (const Field& f : NumberFields()) {
            EXPECT_EQ(Box(*d, f)->GetText(), QString::number(expected[f.offset])) << f.label;
        }
        for (const Field& f : SlotFields()) {
            const int item = expected[f.offset] == f.none ? NoneItem() : expected[f.offset];
            EXPECT_EQ(Combo(*d, f)->GetCurSel(), item) << f.label;
        }
    }

    // Slot s of pilot holds cases[s].byte; then "無し(0xFF)" chosen over a number.
    void ExpectSlotBytesMapToItemsAndBack(int pilot, std::span<const SlotCase> cases) {
        const std::vector<Field> slotFields = SlotFields();
        ASSERT_EQ(cases.size(), slotFields.size());
        for (size_t s = 0; s < cases.size(); ++s)
            Record(pilot)[slotFields[s].offset] = cases[s].byte;
        auto d = Open();
        SelectRow(d.get(), pilot);
        for (size_t s = 0; s < cases.size(); ++s)
            EXPECT_EQ(Combo(*d, slotFields[s])->GetCurSel(), cases[s].item) << s;
        SelectRow(d.get(), pilot + 1);
        for (size_t s = 0; s < cases.size(); ++s)
            EXPECT_EQ(Record(pilot)[slotFields[s].offset], cases[s].stored) << s;

        SelectRow(d.get(), pilot);
        Combo(*d, slotFields[0])->SetCurSel(NoneItem());
        Press(d.get(), QStringLiteral("OK"));
        EXPECT_EQ(Record(pilot)[slotFields[0].offset], 0xFF);
    }

    // Each bad entry, beside changed combos and a good number, keeps the pilot selected
    // with the typing in place and the focus on the box, and so does OK; the record then
    // holds the changed combos when combosStayWritten, else nothing new.
    void ExpectRefusals(std::span<const BadEntry> cases, bool combosStayWritten) {
        const int pilot = 7;
        const Field slot2 = SlotFields()[1], slot5 = SlotFields()[4], good = NumberFields()[1];
        for (const BadEntry& c : cases) {
            SCOPED_TRACE(QString::fromUtf16(c.box).toStdString());
            services.shown.clear();
            std::vector<uint8_t> expected = RecordBytes(pilot);
            if (combosStayWritten) {
                expected[slot2.offset] = 0;
                expected[slot5.offset] = 0xFF;
            }
            auto d = Open();
            SelectRow(d.get(), pilot);
            Combo(*d, slot2)->SetCurSel(0);
            Combo(*d, slot5)->SetCurSel(NoneItem());
            Box(*d, good)->SetText(QString::number((expected[good.offset] + 1) % 256));
            ui::Edit* bad = Box(*d, QString::fromUtf16(c.box));
            bad->SetText(QString::fromUtf16(c.text));
            SelectRow(d.get(), pilot + 1);
            EXPECT_EQ(services.Texts(), std::vector<QString>{ui::RangeMessage(0, 255)});
            EXPECT_EQ(List(*d)->GetCurSel(), pilot);
            EXPECT_EQ(bad->GetText(), QString::fromUtf16(c.text));
            EXPECT_EQ(d->focusWidget(), bad);
            EXPECT_EQ(RecordBytes(pilot), expected);
            Press(d.get(), QStringLiteral("OK"));
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(RecordBytes(pilot), expected);
        }
    }

    void ExpectEnterDoesNothingAndCancelStoresNothing() {
        const std::vector<uint8_t> before = rom;
        auto d = Open();
        Box(*d, NumberFields().back())->SetText(QStringLiteral("12"));
        Combo(*d, SlotFields().back())->SetCurSel(0);
        QTest::keyClick(Box(*d, NumberFields().back()), Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        Press(d.get(), QStringLiteral("ｷｬﾝｾﾙ"));
        EXPECT_EQ(d->result(), QDialog::Rejected);
        EXPECT_TRUE(rom == before);
    }

    // Every control is named by its descriptor label (a combo's description too), the Tab
    // key visits them row by row as the descriptor lists them, and the only visible texts
    // besides the find box's label are the column headers, which label no single control.
    void ExpectControlsNamedAfterTheDescriptor() {
        auto d = Open();
        QStringList order{QStringLiteral("パイロット")};
        for (const Field& f : m_table.fields) order << QString::fromUtf8(f.label);
        order << QStringLiteral("OK") << QStringLiteral("ｷｬﾝｾﾙ");
        EXPECT_EQ(TabOrder(d.get()), order);
        for (ui::ComboBox* c : d->template findChildren<ui::ComboBox*>()) {
            EXPECT_EQ(c->accessibleDescription(), c->accessibleName());
        }
        std::vector<QString> texts;
        for (QLabel* label : d->template findChildren<QLabel*>()) {
            if (qobject_cast<editors::FindBox*>(label->buddy()) == nullptr) texts.push_back(label->text());
        }
        EXPECT_EQ(texts, m_editor.headers);
    }

private:
    SlotEditor m_editor;
    const tsumugi::layout::Table& m_table;
};

}  // namespace testing_ui
