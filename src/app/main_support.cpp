#include "app/main_support.h"

#include <QFile>

#include "core/char_table.h"
#include "core/text_codec.h"
#include "ui/services.h"

namespace app {

bool DialogQuestions::AcceptWrongTitle() {
    return ui::services().Message(m_pOwner, QStringLiteral("ROMファイルが違いますが読み込みますか？"),
                                  ui::MsgButtons::YesNo) == ui::MsgResult::Yes;
}

bool DialogQuestions::AcceptExtend(uint32_t newSize) {
    const QString text = QStringLiteral("アドレスがROMのサイズを超えています。\nROMを0x%1byteに拡張しますか？")
                             .arg(QString::asprintf("%08X", newSize));
    return ui::services().Message(m_pOwner, text, ui::MsgButtons::OkCancel) == ui::MsgResult::Ok;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromLocalPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QString NoRomText() { return QStringLiteral("Romファイルが読み込まれていません。"); }

QString TooShortText() { return QStringLiteral("Romファイルが短すぎるため、このデータは編集できません。"); }

TextCheck CheckText(const tsumugi::RomImage& rom) {
    tsumugi::CTextCodec codec(rom.m_pData, rom.m_nSize);
    if (!tsumugi::CharTable::Instance().m_bLoaded && !codec.LoadTable()) return TextCheck::NoTable;
    std::string name;
    return codec.GetUnitName(0, name) ? TextCheck::Ok : TextCheck::RomTooShort;
}

}  // namespace app
