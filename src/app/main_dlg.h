#pragma once
// The program's one top-level window: the ROM commands, the category list with the edit
// dispatch, the code commands and the string tool.
#include <QString>
#include <optional>
#include <vector>

#include "app/editor_factory.h"
#include "core/regions.h"
#include "core/session.h"
#include "core/workspace.h"
#include "ui/dialog.h"

class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QLayout;
class QPushButton;

namespace ui {
class Button;
class ListBox;
}  // namespace ui

namespace tsumugi::layout {
struct Table;
}

namespace app {

class CMainDlg : public ui::Dialog {
    Q_OBJECT
public:
    explicit CMainDlg(QWidget* parent = nullptr);

    // The run's ROM image and patch codes live in the workspace; where each category's
    // data lies is the core's region table (tsumugi::kRegionTable), read by the edit guard.
    tsumugi::Workspace m_workspace;
    tsumugi::RomImage& m_rom = m_workspace.m_rom;
    tsumugi::PatchCodeList& m_codes = m_workspace.m_codes;
    // The history of the loaded ROM and its crash journal.
    tsumugi::Session m_session{m_workspace};

    // Replaces the editor factory (tests inject their own editors).
    void SetEditorFactory(EditorFactory factory) { m_factory = std::move(factory); }

    // Runs the category's editor guarded by scratch copies. True when an editor ran.
    bool EditCategory(int category);

    // Loads the ROM at path as "開く" does after the chooser, storing its folder in
    // option.ini. Used by "開く", the command line and a dropped file.
    bool OpenRom(const QString& path);

    // The window's commands.
    void OnOpenRom();
    void OnRewrite();
    void OnSaveAs();
    void OnEdit();
    void OnSaveCodes();
    void OnLoadCodes();
    void OnChangeList();
    void OnExportPatch();
    void OnExportTable();
    void OnImportTable();
    void OnStringTool();
    void OnAbout();
    void OnUndo();
    void OnRedo();

protected:
    void OnCancel() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    // Shows which ROM is loaded and how many codes the run holds.
    void RefreshStatus();
    // main_dlg_history.cpp: the undo and redo buttons and keys, their state, the question
    // for a session left behind, a failed journal write, the quit question's text.
    void CreateHistoryControls(QLayout* layout);
    void RefreshHistory();
    void StartSession();
    void ReportJournal();
    QString QuitQuestion() const;
    QPushButton* m_pUndo = nullptr;
    QPushButton* m_pRedo = nullptr;
    // The fixed-record table of the selected category, or null.
    const tsumugi::layout::Table* SelectedTable() const;
    // Whether a ROM is loaded and its text can be read (the character table loads and the
    // first unit name decodes); says why not.
    bool MayReadText();
    // Whether the table can be read: text as above and a ROM that holds it; says why not.
    bool MayUseTable(const tsumugi::layout::Table& table);
    // The CSV file chosen for the table (save: to write), remembered; nothing when cancelled.
    std::optional<QString> ChooseCsv(const tsumugi::layout::Table& table, bool save);
    ui::ListBox* m_pCategoryList = nullptr;
    QLabel* m_pStatus = nullptr;
    EditorFactory m_factory = CreateEditor;
};

}  // namespace app
