#include "ui/text.h"

#include <QFile>
#include <QFileInfo>
#include <string>
#include <vector>

#include "core/char_table.h"
#include "core/cp932.h"
#include "core/text_codec.h"
#include "core/user_files.h"
#include "ui/services.h"

namespace ui {

QString FromCp932(const std::string& cp932) {
    const tsumugi::Cp932Result r = tsumugi::Cp932ToUtf8(cp932);
    if (r.ok) return QString::fromUtf8(r.text.data(), static_cast<qsizetype>(r.text.size()));
    // Convert piecewise so that one bad byte does not hide the rest of the text.
    QString out;
    size_t pos = 0;
    while (pos < cp932.size()) {
        const unsigned char c = static_cast<unsigned char>(cp932[pos]);
        const size_t width = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
        const std::string piece = cp932.substr(pos, width);
        const tsumugi::Cp932Result p = tsumugi::Cp932ToUtf8(piece);
        out += p.ok ? QString::fromUtf8(p.text.data(), static_cast<qsizetype>(p.text.size()))
                    : QString(QChar(0xFFFD));
        pos += width;
    }
    return out;
}

bool ToCp932(const QString& text, std::string& out, int* errorPos, QString* errorChar) {
    const QByteArray utf8 = text.toUtf8();
    const tsumugi::Cp932Result r =
        tsumugi::Utf8ToCp932(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    if (r.ok) {
        out = r.text;
        return true;
    }
    if (errorPos) *errorPos = static_cast<int>(r.errorPos);
    if (errorChar) *errorChar = QString::fromUtf8(r.errorChar.data(), static_cast<qsizetype>(r.errorChar.size()));
    return false;
}

QString Decode(tsumugi::CTextCodec& codec, const uint8_t* bytes, int limit) {
    std::string text;
    codec.Decode(text, bytes, limit);
    return FromCp932(text);
}

bool EncodeField(tsumugi::CTextCodec& codec, QWidget* owner, const QString& text, uint8_t* bytes,
                 int limit, const QString& failureFormat) {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    std::string cp932;
    int pos = 0;
    QString bad;
    if (!ToCp932(normalised, cp932, &pos, &bad)) {
        MessageBox(owner, failureFormat.arg(pos).arg(bad));
        return false;
    }
    if (codec.Encode(cp932, bytes, limit) == 0) {
        std::string badChar(codec.m_szErrorText);
        MessageBox(owner, failureFormat.arg(codec.m_nErrorPos).arg(FromCp932(badChar)));
        return false;
    }
    return true;
}

QString TableFailure() {
    QString text = QStringLiteral("文字データにエラーがありました。\nstring.txtのフォーマットを確認して下さい。");
    const std::string path = tsumugi::CharTable::Path();
    if (QFileInfo::exists(QFile::decodeName(QByteArray::fromStdString(path)))) return text;
    // The same places the table is looked for, unless a test or an option named one file.
    const std::vector<std::string> places =
        path == tsumugi::CharTableFile() ? tsumugi::CharTablePlaces() : std::vector<std::string>{path};
    text += QStringLiteral("\n\nstring.txtが見つかりません。探した場所：");
    for (const std::string& place : places) text += QLatin1Char('\n') + QFile::decodeName(QByteArray::fromStdString(place));
    return text;
}

}  // namespace ui
