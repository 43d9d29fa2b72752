#pragma once
// A main window over the demo files, with the program's folder in a fresh temporary
// folder (so option.ini starts missing), scripted services and a scripted editor.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSettings>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/main_dlg.h"
#include "core/settings.h"
#include "demo_files.h"
#include "scripted_services.h"
#include "ui/app_settings.h"
#include "ui/dialog.h"

namespace testing_ui {

class MainDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseDemoTable();
        tsumugi::SetProgramFolder(m_program.Path());
        // Each test keeps its journals to itself.
        m_dlg.m_session.SetFolder(m_program.File("state"));
        // No folder remembered by an earlier test.
        if (const auto settings = ui::OpenSettings()) settings->clear();
    }
    void TearDown() override {
        tsumugi::SetProgramFolder(std::string());
        ForgetTable();
    }

    const DemoFiles& Demo() const { return DemoFiles::Get(); }

    // Loads a ROM as "開く" does after the chooser.
    void Load(const std::string& path) { ASSERT_TRUE(m_dlg.OpenRom(QString::fromStdString(path))); }
    void LoadDemo() { Load(Demo().rom); }
    // A ROM file of its own (for commands that change the file on disk).
    std::string OwnRom(const std::vector<uint8_t>& bytes, const std::string& name = "rom.gba") {
        return m_files.Write(name, bytes);
    }

    // Every editor is a plain dialog whose modal run calls body with the ROM buffer and
    // returns its result.
    void ScriptEditor(std::function<int(uint8_t* rom)> body) {
        m_dlg.SetEditorFactory([this](int category, uint8_t* rom, uint32_t size) {
            m_created.push_back(category);
            EXPECT_EQ(rom, m_dlg.m_rom.m_pData);
            EXPECT_EQ(size, m_dlg.m_rom.m_nSize);
            return std::make_unique<ui::Dialog>();
        });
        m_services.modal = [this, body](QDialog*) { return body(m_dlg.m_rom.m_pData); };
    }

    QPushButton* Button(const QString& text) {
        for (QPushButton* b : m_dlg.findChildren<QPushButton*>())
            if (b->text() == text) return b;
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    void Click(const char16_t* text) {
        if (QPushButton* b = Button(QString::fromUtf16(text))) b->click();
    }

    bool RomEquals(const std::vector<uint8_t>& bytes) const {
        return m_dlg.m_rom.m_nSize == bytes.size() &&
               std::equal(bytes.begin(), bytes.end(), m_dlg.m_rom.m_pData);
    }

    tsumugi::testing::TempDir m_program;
    tsumugi::testing::TempDir m_files;
    ScriptedServices m_services;
    app::CMainDlg m_dlg;
    std::vector<int> m_created;
};

inline QString Q(const char16_t* text) { return QString::fromUtf16(text); }

// A file chooser was opened with this title, filter and default suffix.
inline void ExpectChooser(const ui::FileDialogOptions& o, const char16_t* title, const char16_t* filterText,
                          const char16_t* pattern, const char16_t* suffix = u"") {
    EXPECT_EQ(o.title, Q(title));
    EXPECT_EQ(o.filterText, Q(filterText));
    EXPECT_EQ(o.filterPattern, Q(pattern));
    EXPECT_EQ(o.defaultSuffix, Q(suffix));
}

}  // namespace testing_ui
