#pragma once
// The one seam where text crosses between cp932 (the codec's display text) and QString.
#include <QString>
#include <cstdint>
#include <string>

namespace tsumugi {
class CTextCodec;
}
class QWidget;

namespace ui {

// cp932 display text to QString (CR LF stays CR LF; invalid bytes become U+FFFD).
QString FromCp932(const std::string& cp932);

// QString to cp932. False when a character has no cp932 form; errorPos is then its
// position in cp932 bytes and errorChar the character.
bool ToCp932(const QString& text, std::string& out, int* errorPos = nullptr,
             QString* errorChar = nullptr);

// Decodes game text through the codec and converts it for display.
QString Decode(tsumugi::CTextCodec& codec, const uint8_t* bytes, int limit);

// Encodes a field's text into bytes (limit bytes, terminator included). On failure, from
// the cp932 conversion or from the codec, shows failureFormat (for example
// "名前の変換に失敗しました。\n位置：%1byte\n文字：%2", %1 the position, %2 the character)
// and returns false. Plain '\n' line breaks in text are sent as CR LF.
bool EncodeField(tsumugi::CTextCodec& codec, QWidget* owner, const QString& text, uint8_t* bytes,
                 int limit, const QString& failureFormat);

// The conversion-failure messages of the fields.
inline QString NameFailure() { return QStringLiteral("名前の変換に失敗しました。\n位置：%1byte\n文字：%2"); }
inline QString CharFailure() { return QStringLiteral("文字の変換に失敗しました。\n位置：%1byte\n文字：%2"); }
inline QString DescriptionFailure() { return QStringLiteral("説明の変換に失敗しました。\n位置：%1byte\n文字：%2"); }
inline QString DescriptionTextFailure() { return QStringLiteral("説明文の変換に失敗しました。\n位置：%1byte\n文字：%2"); }

// The character-table failure shown by the main window and editors; when no table file
// was found, followed by the places it was looked for.
QString TableFailure();

}  // namespace ui
