#include "core/workspace.h"

#include "core/bytes.h"
#include "core/file_io.h"
#include "core/file_patcher.h"

namespace tsumugi {

namespace {
constexpr uint32_t kCodeBytes = 2;  // every code is one 16-bit word

bool Fits(uint32_t offset, uint32_t size) {
    return static_cast<uint64_t>(offset) + kCodeBytes <= size;
}
}  // namespace

bool Workspace::LoadRom(const std::string& path, WorkspaceQuestions& q) {
    m_codes.Clear();
    m_original.clear();
    if (!m_rom.Load(path, [&q] { return q.AcceptWrongTitle(); })) return false;
    m_original.assign(m_rom.m_pData, m_rom.m_pData + m_rom.m_nSize);
    return true;
}

LoadCodesResult Workspace::LoadCodes(const std::string& path, WorkspaceQuestions& q) {
    const std::optional<PatchCodeList> read = ReadCodeFile(path);
    if (!read) return LoadCodesResult::Unreadable;
    return ApplyCodes(*read, q);
}

LoadCodesResult Workspace::ApplyCodes(const PatchCodeList& loaded, WorkspaceQuestions& q) {
    if (loaded.Empty()) return LoadCodesResult::Applied;
    // Without an image every code lies past its end; the callers ask for a ROM first.
    if (!m_rom.IsLoaded()) return LoadCodesResult::PastEnd;

    const uint32_t maxOffset = loaded.MaxOffset();
    if (!Fits(maxOffset, m_rom.m_nSize)) {
        // Lengthen exactly far enough to hold the last word: the file on disk first, then
        // the image the same way. The image is not read back from disk, so the codes the
        // user kept and the edits not yet written stay, and no title question comes again.
        const uint32_t newSize = maxOffset + kCodeBytes;
        if (!q.AcceptExtend(newSize)) return LoadCodesResult::ExtendDeclined;
        const std::optional<uint64_t> before = FileLength(m_rom.m_szPath);
        if (!before) return LoadCodesResult::ExtendFailed;
        if (!m_rom.ExtendFile(newSize)) return LoadCodesResult::ExtendFailed;
        // A file changed on disk behind our back (shortened, say) is lengthened from its own
        // end and can still be too short for the codes: apply nothing then.
        const std::optional<uint64_t> onDisk = FileLength(m_rom.m_szPath);
        if (!onDisk || *onDisk < newSize) return LoadCodesResult::PastEnd;
        if (!m_rom.ExtendImage(newSize)) {
            // The image could not follow: the file goes back to its old length.
            ResizeFile(m_rom.m_szPath, *before);
            return LoadCodesResult::ExtendFailed;
        }
    }

    for (const auto& [offset, value] : loaded) {
        Write16(m_rom.m_pData + offset, value);
        m_codes.Record(offset, value);
    }
    return LoadCodesResult::Applied;
}

RewriteResult Workspace::Rewrite(size_t* skipped, ApplyReport* report) const {
    if (skipped) *skipped = 0;
    if (report) *report = ApplyReport{};
    if (!m_rom.IsLoaded()) return RewriteResult::NoRom;
    if (m_codes.Empty()) return RewriteResult::NoCodes;
    FilePatcher patcher;
    for (const auto& [offset, value] : m_codes) patcher.AddEntry(offset, value, kCodeBytes);
    return patcher.Apply(m_rom.m_szPath, skipped, report) ? RewriteResult::Written : RewriteResult::Failed;
}

size_t Workspace::Apply(const PatchCodeList& codes) {
    size_t notFitting = 0;
    for (const auto& [offset, value] : codes) {
        if (!m_rom.IsLoaded() || !Fits(offset, m_rom.m_nSize)) {
            ++notFitting;
            continue;
        }
        Write16(m_rom.m_pData + offset, value);
    }
    return notFitting;
}

}  // namespace tsumugi
