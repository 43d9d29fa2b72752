#pragma once
// The one owner of the run's ROM image and patch codes, so that loading a ROM clears the
// codes even when the file then fails to read. The main window holds one; the command
// line uses one too. Questions to the user arrive through WorkspaceQuestions.
#include <cstdint>
#include <string>
#include <vector>

#include "core/file_patcher.h"
#include "core/patch_code.h"
#include "core/rom_image.h"

namespace tsumugi {

struct WorkspaceQuestions {
    virtual ~WorkspaceQuestions() = default;
    // "ROMファイルが違いますが読み込みますか？"
    virtual bool AcceptWrongTitle() = 0;
    // "アドレスがROMのサイズを超えています。\nROMを0x%08Xbyteに拡張しますか？"
    virtual bool AcceptExtend(uint32_t newSize) = 0;
};

enum class LoadCodesResult {
    Applied,         // codes applied and recorded (possibly none)
    Unreadable,      // the file could not be opened or read: "ファイルの形式が違います。"
    ExtendDeclined,  // the user declined lengthening: nothing applied, no message
    ExtendFailed,    // lengthening the file or the image failed: "失敗しました。"
    PastEnd,         // the lengthened file is still too short: nothing applied, user is told
};

enum class RewriteResult { Written, NoRom, NoCodes, Failed };

class Workspace {
public:
    RomImage m_rom;
    PatchCodeList m_codes;
    // The image as LoadRom read it, before any edit or code: the old values a list of the
    // changes shows. Lengthening leaves it as it is (the bytes it lacks are 0xFF filler).
    std::vector<uint8_t> m_original;

    // Clears the codes first, then loads (title question through q) and keeps a copy of
    // the image in m_original (emptied when the load fails).
    bool LoadRom(const std::string& path, WorkspaceQuestions& q);

    // Reads a code file, lengthens the ROM on disk and in memory when a code lies past its
    // end (after asking), applies the codes to the image and records them. The caller asks
    // "現在のコードに追加しますか？" and clears m_codes beforehand; lengthening keeps the
    // codes and the image as they are. When it fails, image and codes are untouched.
    LoadCodesResult LoadCodes(const std::string& path, WorkspaceQuestions& q);
    // The same for codes already read.
    LoadCodesResult ApplyCodes(const PatchCodeList& loaded, WorkspaceQuestions& q);

    // Writes exactly the coded words into the loaded ROM file in place. `skipped`
    // receives the number of codes at or past the end of the file; `report` (filled when
    // the file was tried) which codes were written and which were not, by offset.
    RewriteResult Rewrite(size_t* skipped = nullptr, ApplyReport* report = nullptr) const;

    // Applies a code list to the image in memory. Codes past the end are not written;
    // returns their count.
    size_t Apply(const PatchCodeList& codes);
};

}  // namespace tsumugi
