#pragma once
// Shared steps of the ability and bonus editor tests: typing a new value into the control of every
// field a table descriptor lists, and following an edit from the main window through
// "保存" and "上書き保存" to the files on disk.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QTabBar>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "core/temp_dir.h"
#include "demo/rom.h"
#include "main_dlg_fixture.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace testing_ui {

// A text field as the editors store it: the codes, 0xFF, then 0x00 to its end (cut to
// length bytes).
inline std::vector<uint8_t> FieldBytes(const QString& text, size_t length) {
    std::string cp932;
    EXPECT_TRUE(ui::ToCp932(text, cp932));
    std::vector<uint8_t> bytes = tsumugi::demo::EncodeText(cp932);
    bytes.resize(length, 0x00);
    return bytes;
}

// The user's click on the tab titled text of the dialog's tab strip. False when there is
// no such tab.
inline bool ClickTab(QWidget* dialog, const QString& text) {
    for (QTabBar* bar : dialog->findChildren<QTabBar*>()) {
        for (int i = 0; i < bar->count(); ++i) {
            if (bar->tabText(i) != text) continue;
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            return true;
        }
    }
    return false;
}

// The control named name whose class is T, inside the group titled group when given.
template <typename T>
T* FindIn(QWidget* dialog, const QString& name, const QString& group) {
    for (T* w : dialog->findChildren<T*>()) {
        if (w->accessibleName() != name) continue;
        if (group.isEmpty()) return w;
        for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
            if (auto* box = qobject_cast<QGroupBox*>(p); box != nullptr && box->title() == group) return w;
        }
    }
    return nullptr;
}

// Gives every field of table a new value through its control, the way a user would, and
// puts into record the bytes a store should leave there. A control is found by the
// field's label; a label "A B" names control B on the tab A (which is clicked first) or
// inside the group A. Texts come from texts, by control name.
inline void TypeEveryField(QWidget* dialog, const tsumugi::layout::Table& table,
                           const std::map<QString, QString>& texts, std::vector<uint8_t>& record) {
    namespace layout = tsumugi::layout;
    uint32_t step = 0;
    for (const layout::Field& f : table.fields) {
        const QString label = QString::fromUtf8(f.label);
        SCOPED_TRACE(label.toStdString());
        const qsizetype space = label.lastIndexOf(QLatin1Char(' '));
        const QString name = space < 0 ? label : label.mid(space + 1);
        QString group = space < 0 ? QString() : label.left(space);
        if (!group.isEmpty() && ClickTab(dialog, group)) group.clear();
        uint8_t* at = record.data();
        switch (f.kind) {
        case layout::FieldKind::Number: {
            auto* edit = FindIn<ui::Edit>(dialog, name, group);
            ASSERT_NE(edit, nullptr);
            const uint32_t value = layout::MaxOf(f) - step++;
            edit->SetText(QString::number(value));
            layout::WriteField(f, at, value);
            break;
        }
        case layout::FieldKind::Choice:
        case layout::FieldKind::Reference: {
            auto* combo = FindIn<ui::ComboBox>(dialog, name, group);
            ASSERT_NE(combo, nullptr);
            const int last = combo->GetCount() - 1;
            ASSERT_NE(combo->GetCurSel(), last) << "pick a record whose value differs";
            combo->SetCurSel(last);
            // A record-number combo with a none value ends with the item standing for it.
            const bool none = f.kind == layout::FieldKind::Reference && f.none >= 0;
            layout::WriteField(f, at, none ? static_cast<uint32_t>(f.none) : static_cast<uint32_t>(last));
            break;
        }
        case layout::FieldKind::Flag: {
            auto* box = FindIn<ui::CheckBox>(dialog, name, group);
            ASSERT_NE(box, nullptr);
            box->SetCheck(!box->GetCheck());
            layout::WriteField(f, at, box->GetCheck() ? 1 : 0);
            break;
        }
        case layout::FieldKind::Text: {
            const auto text = texts.find(label);
            ASSERT_NE(text, texts.end()) << "no text for this field";
            if (auto* edit = FindIn<ui::Edit>(dialog, name, group)) {
                edit->SetText(text->second);
            } else if (auto* multi = FindIn<ui::MultiEdit>(dialog, name, group)) {
                multi->SetText(text->second);
            } else {
                FAIL() << "no text box";
            }
            const std::vector<uint8_t> bytes = FieldBytes(text->second, f.width);
            std::copy(bytes.begin(), bytes.end(), at + f.offset);
            break;
        }
        case layout::FieldKind::Rank:
            FAIL() << "no rank fields here";
        }
    }
}

// A main window over a ROM file of its own, checking an editor's edit on its way to disk.
class AbilityEndToEndTest : public MainDlgTest {
protected:
    // The codes of the run are exactly the words of the category's regions that differ
    // between before and after (which differ nowhere else); "保存" writes them as the
    // code file and "上書き保存" writes them into the ROM file, which then equals after.
    void ExpectSavedCodes(const std::string& romPath, int category, const std::vector<uint8_t>& before,
                          const std::vector<uint8_t>& after) {
        std::vector<std::pair<size_t, size_t>> spans;
        for (const tsumugi::DataRegion& region : tsumugi::RegionsOf(category)) {
            spans.emplace_back(region.offset, size_t{region.offset} + region.length);
        }
        ExpectSavedCodesIn(spans, romPath, before, after);
    }
    // The same, looking for changed words over the whole image.
    void ExpectSavedCodes(const std::string& romPath, const std::vector<uint8_t>& before,
                          const std::vector<uint8_t>& after) {
        ExpectSavedCodesIn({{0, after.size()}}, romPath, before, after);
    }

private:
    void ExpectSavedCodesIn(const std::vector<std::pair<size_t, size_t>>& spans, const std::string& romPath,
                            const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
        ASSERT_EQ(before.size(), after.size());
        std::vector<uint8_t> outside = after;
        std::map<size_t, uint16_t> words;  // the code file lists them by offset
        for (const auto& [start, end] : spans) {
            for (size_t off = start; off + 1 < end && off + 1 < after.size(); off += 2) {
                outside[off] = before[off];
                outside[off + 1] = before[off + 1];
                const uint16_t word = static_cast<uint16_t>(after[off] | after[off + 1] << 8);
                if (word != static_cast<uint16_t>(before[off] | before[off + 1] << 8)) words[off] = word;
            }
        }
        std::string lines;
        for (const auto& [off, word] : words) {
            EXPECT_EQ(m_dlg.m_codes.Find(static_cast<uint32_t>(off)), std::optional<uint16_t>(word)) << off;
            char line[32];
            std::snprintf(line, sizeof line, "%08X:%04X\r\n", static_cast<unsigned>(off + 0x08000000u), word);
            lines += line;
        }
        const size_t changed = words.size();
        ASSERT_TRUE(outside == before) << "the test changes only the category's regions";
        ASSERT_GT(changed, 0u);
        EXPECT_EQ(m_dlg.m_codes.Size(), changed);

        const std::string codeFile = m_files.File("codes.txt");
        m_services.files = {QString::fromStdString(codeFile)};
        Click(u"保存");
        EXPECT_EQ(tsumugi::testing::ReadText(codeFile), lines);

        m_services.answers = {ui::MsgResult::Yes};
        Click(u"上書き保存");
        EXPECT_EQ(m_services.Last(), Q(u"書き換えに成功しました。"));
        EXPECT_TRUE(tsumugi::testing::ReadBytes(romPath) == after) << "only the coded words change on disk";
    }
};

}  // namespace testing_ui
