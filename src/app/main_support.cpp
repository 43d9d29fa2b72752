#include "app/main_support.h"

#include <QFile>

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

}  // namespace app
