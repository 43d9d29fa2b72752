// The main window's "変更一覧": the codes recorded so far, each named by its field, with
// the value the ROM had as it was loaded and the value it has now.
#include "app/change_list_dlg.h"
#include "app/main_dlg.h"
#include "app/main_support.h"
#include "core/change_explain.h"
#include "core/char_table.h"
#include "core/text_codec.h"
#include "ui/services.h"
#include "ui/text.h"

namespace app {

void CMainDlg::OnChangeList() {
    if (!m_rom.IsLoaded()) {
        ui::MessageBox(this, NoRomText());
        return;
    }
    // Names and texts are read through the character table.
    tsumugi::CTextCodec codec(m_rom.m_pData, m_rom.m_nSize);
    if (!tsumugi::CharTable::Instance().m_bLoaded && !codec.LoadTable()) {
        ui::MessageBox(this, ui::TableFailure());
        return;
    }
    const std::vector<uint8_t>& original = m_workspace.m_original;
    // Without the image as loaded (a ROM put in place by other means), the old values are
    // the current ones.
    const tsumugi::ImageView before = original.empty()
                                          ? tsumugi::ImageView{m_rom.m_pData, m_rom.m_nSize}
                                          : tsumugi::ImageView{original.data(), static_cast<uint32_t>(original.size())};
    CChangeListDlg list(tsumugi::ExplainCodes(before, {m_rom.m_pData, m_rom.m_nSize}, m_codes), this);
    list.DoModal();
}

}  // namespace app
