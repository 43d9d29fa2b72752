#pragma once
// A fixture for the record editors: a fresh copy of the demo ROM per test, the demo's
// character table written to a temporary folder and loaded from there, scripted message
// boxes, and lookups of controls by their label.
#include <gtest/gtest.h>

#include <QLabel>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/demo_image.h"
#include "core/char_table.h"
#include "demo/rom.h"
#include "scripted_services.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace testing_ui {

class EditorFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        const std::string path = s_dir->filePath(QStringLiteral("string.txt")).toStdString();
        const std::string table = tsumugi::demo::StringTable();
        std::ofstream(path, std::ios::binary).write(table.data(), static_cast<std::streamsize>(table.size()));
        s_demo = new std::vector<uint8_t>(tsumugi::testing::DemoImage());
    }
    static void TearDownTestSuite() {
        delete s_demo;
        s_demo = nullptr;
        delete s_dir;
        s_dir = nullptr;
        tsumugi::CharTable::SetPath(std::string());
        tsumugi::CharTable::Instance().Reset();
    }
    void SetUp() override {
        tsumugi::CharTable::SetPath(s_dir->filePath(QStringLiteral("string.txt")).toStdString());
        tsumugi::CharTable::Instance().Reset();
        rom = *s_demo;
    }

    uint8_t* Rom() { return rom.data(); }
    uint32_t RomSize() const { return static_cast<uint32_t>(rom.size()); }

    // Game bytes of a display text through the demo table, terminator included.
    static std::vector<uint8_t> GameText(const QString& text) {
        std::string cp932;
        EXPECT_TRUE(ui::ToCp932(text, cp932));
        return tsumugi::demo::EncodeText(cp932);
    }
    // A name field as the editors store it: the codes, 0xFF, then 0x00 to its end.
    static std::vector<uint8_t> Field(const QString& text, size_t length) {
        std::vector<uint8_t> bytes = GameText(text);
        bytes.resize(length, 0x00);
        return bytes;
    }
    static std::vector<uint8_t> Bytes(const uint8_t* p, size_t length) {
        return std::vector<uint8_t>(p, p + length);
    }

    std::vector<uint8_t> rom;
    ScriptedServices services;

private:
    static inline QTemporaryDir* s_dir = nullptr;
    static inline std::vector<uint8_t>* s_demo = nullptr;
};

// The user's mouse click on row i of the dialog's record list (the dialog is shown).
void SelectRow(QWidget* dialog, int i);
// Clicks the button labelled label.
void Press(QWidget* dialog, const QString& label);

// The one control of type T below root whose label (accessible name) is name.
template <typename T>
T* Find(QWidget* root, const QString& name) {
    T* found = nullptr;
    int matches = 0;
    for (T* w : root->findChildren<T*>()) {
        if (w->accessibleName() == name) {
            found = w;
            ++matches;
        }
    }
    EXPECT_EQ(matches, 1) << "control " << name.toStdString();
    return found;
}

// The labels of the program's own controls in the order the Tab key visits them.
inline QStringList TabOrder(QWidget* window) {
    QStringList labels;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        const bool own = QLatin1String(w->metaObject()->className()).startsWith(QLatin1String("ui::"));
        if (own && (w->focusPolicy() & Qt::TabFocus)) labels << w->accessibleName();
    }
    return labels;
}

// Every control of window is named for assistive tools, and every label names its buddy.
inline void ExpectLabelledControls(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (QLatin1String(w->metaObject()->className()).startsWith(QLatin1String("ui::"))) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
        }
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
        EXPECT_EQ(label->buddy()->accessibleName(), label->text());
    }
}

// A user's click on row i of the list, scrolled into sight first.
inline void ClickRow(ui::ListBox* list, int i) {
    ASSERT_NE(list, nullptr);
    const QModelIndex row = list->Row(i);
    ASSERT_TRUE(row.isValid()) << "row " << i;
    list->scrollTo(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
}

inline void SelectRow(QWidget* dialog, int i) {
    auto* list = dialog->findChild<ui::ListBox*>();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    ClickRow(list, i);
}

inline void Press(QWidget* dialog, const QString& label) {
    if (auto* button = Find<ui::Button>(dialog, label)) button->click();
}

}  // namespace testing_ui
