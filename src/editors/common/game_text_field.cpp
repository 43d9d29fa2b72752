#include "editors/common/game_text_field.h"

#include <QVariant>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/text_codec.h"
#include "editors/common/field_tips.h"
#include "ui/controls.h"
#include "ui/text.h"

namespace editors {

namespace {

// The box's text as ShowGameText left it.
constexpr char kShownProperty[] = "tsumugiShownGameText";

QString S(const char16_t* text) { return QString::fromUtf16(text); }

// The display text as EncodeField sends it to the codec: line breaks as CR LF.
QString AsStored(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

template <typename EditT>
bool ShowIn(tsumugi::CTextCodec& codec, EditT* edit, const uint8_t* bytes, int limit) {
    std::string text;
    const bool decoded = codec.Decode(text, bytes, limit) != 0 && codec.m_nStatus != 1;
    edit->SetText(ui::FromCp932(text));
    // What the box holds may differ from what it was given (a one-line box keeps no line
    // break): the round trip below and the untouched test both start from the box.
    const QString shown = edit->GetText();
    edit->setProperty(kShownProperty, shown);
    const QString reason = LockReason(codec, shown, bytes, decoded);
    edit->setEnabled(reason.isEmpty());
    SetTipPart(edit, TipPart::Lock, reason);
    return reason.isEmpty();
}

template <typename EditT>
bool AsShown(const EditT* edit) {
    const QVariant shown = edit->property(kShownProperty);
    return shown.isValid() && shown.toString() == edit->GetText();
}

bool Store(tsumugi::CTextCodec& codec, QWidget* owner, const QString& text, bool untouched,
           QWidget* edit, uint8_t* field, int limit, const QString& failureFormat, bool* changed) {
    if (changed != nullptr) *changed = false;
    if (untouched || limit <= 0) return true;
    std::vector<uint8_t> scratch(static_cast<size_t>(limit), 0x00);
    if (!ui::EncodeField(codec, owner, text, scratch.data(), limit, failureFormat)) {
        edit->setFocus();
        return false;
    }
    const bool differs = std::memcmp(field, scratch.data(), scratch.size()) != 0;
    if (differs) std::memcpy(field, scratch.data(), scratch.size());
    if (changed != nullptr) *changed = differs;
    return true;
}

}  // namespace

QString LockReason(tsumugi::CTextCodec& codec, const QString& shown, const uint8_t* bytes,
                   bool decoded) {
    if (!decoded) return S(u"文字テーブルにない文字コードを含むため編集できません。");
    const QString cp932Less = S(u"シフトJISで表せない文字を含むため編集できません。");
    if (shown.contains(QChar(u'\uFFFD'))) return cp932Less;
    std::string cp932;
    if (!ui::ToCp932(AsStored(shown), cp932)) return cp932Less;

    // Decode just measured the text: its bytes up to the terminator, plus one. A text that
    // fills its field has no terminator there; only its codes have to come back.
    const int length = codec.m_nLength;
    std::vector<uint8_t> again(static_cast<size_t>(std::max(length, 0)) + 1, 0x00);
    const bool encoded = codec.Encode(cp932, again.data(), static_cast<int>(again.size())) != 0 &&
                         codec.m_nStatus == 0;
    if (!encoded || codec.m_nLength != length ||
        std::memcmp(again.data(), bytes, static_cast<size_t>(std::max(length - 1, 0))) != 0) {
        return S(u"保存すると元と違うバイト列になるため編集できません（同じ文字に複数の文字コードがあります）。");
    }
    return {};
}

bool ShowGameText(tsumugi::CTextCodec& codec, ui::Edit* edit, const uint8_t* bytes, int limit) {
    return ShowIn(codec, edit, bytes, limit);
}

bool ShowGameText(tsumugi::CTextCodec& codec, ui::MultiEdit* edit, const uint8_t* bytes, int limit) {
    return ShowIn(codec, edit, bytes, limit);
}

bool IsAsShown(const ui::Edit* edit) { return AsShown(edit); }
bool IsAsShown(const ui::MultiEdit* edit) { return AsShown(edit); }

bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::Edit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, bool* changed) {
    return Store(codec, owner, edit->GetText(), IsAsShown(edit), edit, field, limit, failureFormat,
                 changed);
}

bool StoreGameText(tsumugi::CTextCodec& codec, QWidget* owner, ui::MultiEdit* edit, uint8_t* field,
                   int limit, const QString& failureFormat, bool* changed) {
    return Store(codec, owner, edit->GetText(), IsAsShown(edit), edit, field, limit, failureFormat,
                 changed);
}

}  // namespace editors
