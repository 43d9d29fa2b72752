#include "editors/strings/string_tool_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "core/address.h"
#include "core/text_codec.h"
#include "ui/controls.h"
#include "ui/services.h"
#include "ui/text.h"

namespace editors {
namespace {

constexpr int kReadLimit = 256;  // bytes decoded by "読み出し"
constexpr int kHexLimit = 128;   // bytes encoded by "16進変換", terminator included
// The address edit takes bus addresses up to 0x09FFFFFF, file offset 0x1FFFFFF: "次" in a
// longer ROM treats this as the end, where a string found later could not be typed back.
constexpr uint32_t kAddressableEnd = 0x2000000;

}  // namespace

CStringToolDlg::CStringToolDlg(const uint8_t* rom, uint32_t romSize, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nSize(rom ? romSize : 0) {
    setWindowTitle(QStringLiteral("文字列ツール"));
    CreateControls();
}

void CStringToolDlg::CreateControls() {
    auto button = [this](const QString& label, void (CStringToolDlg::*handler)()) {
        auto* b = new ui::Button(label, this);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    m_pAddress = new ui::Edit(QStringLiteral("アドレス(16進)"), this);
    m_pAddress->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0x080C390C")) + 24);
    ui::Button* read = button(QStringLiteral("読み出し"), &CStringToolDlg::OnRead);
    SetDefaultButton(read);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(ui::MakeLabel(QStringLiteral("アドレス(16進)"), m_pAddress, this));
    addressRow->addWidget(m_pAddress, 1);
    addressRow->addWidget(read);
    addressRow->addSpacing(8);
    addressRow->addWidget(button(QStringLiteral("前"), &CStringToolDlg::OnPrev));
    addressRow->addWidget(button(QStringLiteral("次"), &CStringToolDlg::OnNext));

    m_pText = new ui::MultiEdit(QStringLiteral("文字列"), this);
    m_pText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pText->setMinimumSize(fontMetrics().horizontalAdvance(QString(24, QChar(0x3042))),
                            fontMetrics().lineSpacing() * 8);

    m_pHex = new ui::Edit(QStringLiteral("16進"), this);
    auto* hexRow = new QHBoxLayout;
    hexRow->addWidget(m_pHex, 1);
    hexRow->addWidget(button(QStringLiteral("16進変換"), &CStringToolDlg::OnToHex));

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(button(QStringLiteral("閉じる"), &CStringToolDlg::OnCancel));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(addressRow);
    layout->addWidget(m_pText, 1);
    layout->addLayout(hexRow);
    layout->addLayout(closeRow);
}

void CStringToolDlg::InvalidAddress() { ui::MessageBox(this, QStringLiteral("無効なアドレスです。")); }

std::optional<uint32_t> CStringToolDlg::ParseAddress() {
    // A character outside Latin-1 becomes "?", which is no hexadecimal digit either.
    const QByteArray text = m_pAddress->GetText().left(static_cast<int>(tsumugi::kAddressFieldLength)).toLatin1();
    const std::optional<uint32_t> offset = tsumugi::ParseAddress(text.toStdString());
    if (!offset || *offset >= m_nSize) {
        InvalidAddress();
        return std::nullopt;
    }
    return offset;
}

void CStringToolDlg::MoveTo(std::optional<uint32_t> offset) {
    if (!offset) {
        InvalidAddress();
        return;
    }
    m_pAddress->SetText(QString::fromStdString(tsumugi::AddressText(*offset)));
    OnRead();
}

void CStringToolDlg::OnRead() {
    const std::optional<uint32_t> offset = ParseAddress();
    if (!offset) return;
    const int limit = static_cast<int>(std::min<uint32_t>(kReadLimit, m_nSize - *offset));
    tsumugi::CTextCodec codec(m_pRom, m_nSize);
    m_pText->SetText(ui::Decode(codec, m_pRom + *offset, limit));
}

void CStringToolDlg::OnNext() {
    const std::optional<uint32_t> offset = ParseAddress();
    if (offset) MoveTo(tsumugi::FindNextString(m_pRom, std::min(m_nSize, kAddressableEnd), *offset));
}

void CStringToolDlg::OnPrev() {
    const std::optional<uint32_t> offset = ParseAddress();
    if (offset && *offset > 1) MoveTo(tsumugi::FindPrevString(m_pRom, m_nSize, *offset));
}

void CStringToolDlg::OnToHex() {
    uint8_t bytes[kHexLimit] = {};
    tsumugi::CTextCodec codec(m_pRom, m_nSize);
    if (!ui::EncodeField(codec, this, m_pText->GetText(), bytes, kHexLimit,
                         QStringLiteral("変換に失敗\n位置：%1byte\n文字：%2"))) {
        return;
    }
    QString hex;
    for (uint8_t b : bytes) {
        if (b == 0x00 || b == 0xFF) break;
        hex += QString::asprintf("%02X ", b);
    }
    m_pHex->SetText(hex);
}

}  // namespace editors
