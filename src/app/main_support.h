#pragma once
// Pieces the main window's command files share: the questions the workspace asks, the
// path conversion and the texts used by more than one command.
#include <QString>
#include <string>

#include "core/workspace.h"

class QWidget;

namespace app {

// Asks the workspace's questions through the message service, owned by a window.
class DialogQuestions : public tsumugi::WorkspaceQuestions {
public:
    explicit DialogQuestions(QWidget* owner) : m_pOwner(owner) {}
    bool AcceptWrongTitle() override;
    bool AcceptExtend(uint32_t newSize) override;

private:
    QWidget* m_pOwner;
};

// File names cross to the core in the platform's file-name encoding.
std::string LocalPath(const QString& path);
QString FromLocalPath(const std::string& path);

// "Romファイルが読み込まれていません。"
QString NoRomText();
// "Romファイルが短すぎるため、このデータは編集できません。"
QString TooShortText();

enum class TextCheck { Ok, NoTable, RomTooShort };

// The test decode before an editor or the string tool runs: the character table must load
// and the name of unit 0 must decode. With the table loaded, the name fails only because
// the ROM ends before it.
TextCheck CheckText(const tsumugi::RomImage& rom);

}  // namespace app
