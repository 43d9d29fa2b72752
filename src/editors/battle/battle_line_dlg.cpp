#include "editors/battle/battle_line_dlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <array>
#include <cstring>
#include <string>

#include "core/layout/battle.h"
#include "core/layout/field_place.h"
#include "core/layout/list_fields.h"
#include "core/regions.h"
#include "core/text_codec.h"
#include "editors/common/find_box.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/services.h"
#include "ui/text.h"

namespace {

namespace line_record = tsumugi::layout::battle_line_record;
constexpr int kPilotCount = tsumugi::layout::battle_tables::kPilotCount;
constexpr int kTextLimit = 256;  // bytes of a text read and encoded at most
constexpr int kMaxExpression = 15;

// Notes under the line list: why the pilot lists nothing, or why the line is read-only.
QString BadPointerNote() { return QStringLiteral("このパイロットのセリフのポインタが無効です。"); }
QString PastImageNote() { return QStringLiteral("このパイロットのセリフはROMの範囲外にあります。"); }
QString LockedNote() { return QStringLiteral("表示できない文字を含むため、このセリフは変更できません。"); }
QString OutsideNote() { return QStringLiteral("このセリフは編集範囲の外にあるため変更できません。"); }
QString TextOutsideNote() { return QStringLiteral("このセリフの文章は編集範囲の外にあるため変更できません。"); }
QString CappedNote() {
    return QStringLiteral("セリフの表が長すぎるため、最初の%1行だけを表示します。").arg(tsumugi::kMaxBattleLines);
}
QString NoRoomNote() { return QStringLiteral("このセリフの文章は長さが分からないため変更できません。"); }
QString TooLongMessage() { return QStringLiteral("元の文字数を超えてはいけません。"); }

QString Hex(int value, int digits) {
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

// A list item has one line: line breaks show as blanks.
QString OneLine(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// A row of the line list: the line's number and its text.
QString LineItem(int line, const QString& text) {
    return QString::number(line, 16).toUpper() + QStringLiteral(": ") + OneLine(text);
}

// Left, top, right and bottom edges in the client area.
QRect Edges(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace

CBattleLineDlg::CBattleLineDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize) {
    setWindowTitle(QStringLiteral("バトルセリフ"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    CreateControls();
    setMinimumSize(480, 400);
    resize(720, 560);
    LayOut(width(), height());
    m_pPilotList->SetCurSel(0);
    m_speaker.Combo()->SetCurSel(0);
    SelectPilot();
}

CBattleLineDlg::~CBattleLineDlg() = default;

void CBattleLineDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    const QStringList names = editors::NameItems(codec, tsumugi::NameKind::Pilot);
    QStringList pilots;
    for (int p = 0; p < kPilotCount; ++p)
        pilots << Hex(p, 2) + QStringLiteral(": ") + (p < names.size() ? names[p] : QString());
    QStringList speakers = pilots;
    speakers << QStringLiteral("FF: デフォルト");

    // Groups first, so that the controls placed over them stay on top.
    m_pPilotGroup = new QGroupBox(QStringLiteral("パイロット"), this);
    m_pLineGroup = new QGroupBox(QStringLiteral("セリフ"), this);
    m_pContentsGroup = new QGroupBox(QStringLiteral("内容"), this);
    for (QGroupBox* group : {m_pPilotGroup, m_pLineGroup, m_pContentsGroup})
        group->setAccessibleName(group->title());

    m_pPilotList = new ui::ListBox(QStringLiteral("パイロット"), this);
    m_pPilotList->SetItems(pilots);
    m_pFind = new editors::FindBox(m_pPilotList, this);
    m_pFind->setParent(this);
    m_pFindLabel = ui::MakeLabel(QStringLiteral("検索"), m_pFind, this);
    m_pLineList = new ui::ListBox(QStringLiteral("セリフ"), this);
    m_pNote = new QLabel(this);
    m_pNote->setObjectName(QStringLiteral("note"));
    auto* speaker = new ui::ComboBox(QStringLiteral("セリフキャラ"), this);
    speaker->SetItems(speakers);
    editors::SetContentsLength(speaker, 10);
    m_speaker = editors::ValueCombo(speaker, {kPilotCount, line_record::kDefaultSpeaker});
    m_pSpeakerLabel = ui::MakeLabel(QStringLiteral("セリフキャラ"), speaker, this);
    m_pExpression = new ui::Edit(QStringLiteral("表情"), this);
    m_pExpressionLabel = ui::MakeLabel(QStringLiteral("表情"), m_pExpression, this);
    m_pText = new ui::MultiEdit(QStringLiteral("内容"), this);
    m_pText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pOk = new ui::Button(QStringLiteral("OK"), this);
    m_pCancel = new ui::Button(QStringLiteral("ｷｬﾝｾﾙ"), this);
    SetContentsEnabled(false, false);

    QWidget::setTabOrder(m_pFind, m_pPilotList);
    QWidget::setTabOrder(m_pPilotList, m_pLineList);
    QWidget::setTabOrder(m_pLineList, speaker);
    QWidget::setTabOrder(speaker, m_pExpression);
    QWidget::setTabOrder(m_pExpression, m_pText);
    QWidget::setTabOrder(m_pText, m_pOk);
    QWidget::setTabOrder(m_pOk, m_pCancel);

    connect(m_pPilotList, &ui::ListBox::SelChange, this, [this] { SelectPilot(); });
    connect(m_pLineList, &ui::ListBox::SelChange, this, [this] { LoadLine(); });
    connect(m_pOk, &QPushButton::clicked, this, &CBattleLineDlg::OnOkButton);
    connect(m_pCancel, &QPushButton::clicked, this, &CBattleLineDlg::OnCancel);
    m_pTips = std::make_unique<editors::FieldTips>(this, tsumugi::layout::LineFields());
    m_pTips->ShowAt(std::nullopt);
}

void CBattleLineDlg::LayOut(int w, int h) {
    // The bottom block keeps its distance from the bottom edge; the lists and the text
    // grow with the window. The note takes the foot of the line group; the buttons are
    // as wide as the room right of the contents, so that their labels fit.
    const std::array<std::pair<QWidget*, QRect>, 15> places = {{
        {m_pPilotGroup, Edges(8, 8, 160, h - 152)},
        {m_pPilotList, Edges(16, 52, 152, h - 160)},
        {m_pFindLabel, Edges(16, 24, 46, 46)},
        {m_pFind, Edges(48, 24, 152, 46)},
        {m_pLineGroup, Edges(168, 8, w - 8, h - 152)},
        {m_pLineList, Edges(174, 24, w - 16, h - 184)},
        {m_pNote, Edges(174, h - 180, w - 16, h - 158)},
        {m_pContentsGroup, Edges(8, h - 144, w - 96, h - 8)},
        {m_pSpeakerLabel, Edges(16, h - 120, 100, h - 98)},
        {m_speaker.Combo(), Edges(104, h - 120, 260, h - 98)},
        {m_pExpressionLabel, Edges(268, h - 120, 320, h - 98)},
        {m_pExpression, Edges(322, h - 120, 360, h - 98)},
        {m_pText, Edges(16, h - 94, w - 104, h - 16)},
        {m_pOk, Edges(w - 88, h - 64, w - 8, h - 40)},
        {m_pCancel, Edges(w - 88, h - 32, w - 8, h - 8)},
    }};
    // Sizes reported while the controls are being created place only those that exist.
    for (const auto& [control, rect] : places) {
        if (control == nullptr) break;
        control->setGeometry(rect);
    }
}

void CBattleLineDlg::resizeEvent(QResizeEvent* event) {
    ui::Dialog::resizeEvent(event);
    LayOut(event->size().width(), event->size().height());
}

void CBattleLineDlg::ShowListNote() {
    if (m_pilot.capped) {
        m_pNote->setText(CappedNote());
    } else {
        m_pNote->clear();
    }
}

void CBattleLineDlg::SetContentsEnabled(bool speaker, bool text) {
    m_speaker.Combo()->setEnabled(speaker);
    m_pExpression->setEnabled(speaker);
    m_pText->setEnabled(text);
}

void CBattleLineDlg::SelectPilot() {
    const int selected = m_pPilotList->GetCurSel();
    if (m_nPilot >= 0 && !StoreLine()) {
        m_pPilotList->SetCurSel(m_nPilot);
        return;
    }
    if (selected < 0 || selected == m_nPilot) return;
    m_nPilot = selected;
    m_pLineList->ResetContent();
    m_nLine = -1;
    m_bStoreRecord = m_bStoreText = false;
    // The contents keep showing the last line but take no input: nothing is stored from
    // them until a line is chosen.
    SetContentsEnabled(false, false);
    m_pTips->ShowAt(std::nullopt);
    editors::SetTipPart(m_pText, editors::TipPart::Place, QString());

    m_pilot = tsumugi::ReadBattlePilot(m_pRom, m_nRomSize, selected);
    switch (m_pilot.fault) {
        case tsumugi::BattleFault::BadPointer: m_pNote->setText(BadPointerNote()); return;
        case tsumugi::BattleFault::PastImage: m_pNote->setText(PastImageNote()); return;
        case tsumugi::BattleFault::None: ShowListNote(); break;
    }
    // A pilot may have tens of thousands of lines: each is decoded when it comes into sight.
    m_pLineList->SetItemSource(m_pilot.lineCount, [rom = m_pRom, size = m_nRomSize, pilot = m_pilot](int j) {
        tsumugi::CTextCodec codec(rom, size);
        return LineItem(j, ui::Decode(codec, rom + tsumugi::LineText(rom, pilot, j), kTextLimit));
    });
    m_pLineList->SetCurSel(-1);
}

void CBattleLineDlg::LoadLine() {
    const std::optional<int> next =
        editors::StoreAndMove(m_pLineList, m_nLine, [this] { return StoreLine(); });
    if (!next || *next >= m_pilot.lineCount) return;
    m_nLine = *next;
    ShowLine(*next);
}

void CBattleLineDlg::ShowLine(int line) {
    const uint32_t record = m_pilot.Record(line);
    const uint32_t text = tsumugi::LineText(m_pRom, m_pilot, line);
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    const bool decoded = editors::ShowGameText(codec, m_pText, m_pRom + text, kTextLimit);
    m_speaker.Load(m_pRom[record + line_record::kSpeaker]);
    ui::SetUInt(m_pExpression, m_pRom[record + line_record::kExpression] & 0x0F);

    // Only what the main window can record and undo is written.
    constexpr int kCategory = tsumugi::category::kBattleLine;
    const bool recordInside =
        tsumugi::WritableFor(kCategory, record, line_record::kSize, m_nRomSize);
    const std::optional<uint32_t> room = tsumugi::LineRoom(m_pRom, m_pilot, line);
    namespace layout = tsumugi::layout;
    m_pTips->ShowAt(record);
    const layout::Field* offset = layout::FieldAtOffset(layout::LineFields(), line_record::kTextOffset);
    editors::SetTipPart(m_pText, editors::TipPart::Place,
                        QString::fromUtf8(layout::PointedTextPlace(*offset, record, text, room)));
    const bool textInside = room && tsumugi::WritableFor(kCategory, text, *room, m_nRomSize);
    m_bStoreRecord = decoded && recordInside;
    m_bStoreText = m_bStoreRecord && textInside;
    SetContentsEnabled(m_bStoreRecord, m_bStoreText);
    if (!decoded) {
        m_pNote->setText(LockedNote());
    } else if (!recordInside) {
        m_pNote->setText(OutsideNote());
    } else if (!room) {
        m_pNote->setText(NoRoomNote());
    } else if (!textInside) {
        m_pNote->setText(TextOutsideNote());
    } else {
        ShowListNote();
    }
}

bool CBattleLineDlg::StoreLine() {
    if (m_nLine < 0 || !m_bStoreRecord) return true;
    uint32_t expression = 0;
    if (!ui::ReadUInt(m_pExpression, 0, kMaxExpression, expression)) return false;
    uint8_t* record = m_pRom + m_pilot.Record(m_nLine);
    record[line_record::kSpeaker] = static_cast<uint8_t>(m_speaker.Store());
    record[line_record::kExpression] =
        static_cast<uint8_t>((record[line_record::kExpression] & 0xF0) | expression);
    return !m_bStoreText || StoreText(m_nLine);
}

bool CBattleLineDlg::StoreText(int line) {
    const std::optional<uint32_t> room = tsumugi::LineRoom(m_pRom, m_pilot, line);
    const uint32_t text = tsumugi::LineText(m_pRom, m_pilot, line);
    if (!room || !tsumugi::WritableFor(tsumugi::category::kBattleLine, text, *room, m_nRomSize)) {
        return true;
    }
    // An untouched text keeps its bytes, even one that runs on past its room.
    if (editors::IsAsShown(m_pText)) return true;
    std::array<uint8_t, kTextLimit> scratch{};
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    if (!ui::EncodeField(codec, this, m_pText->GetText(), scratch.data(), static_cast<int>(*room) + 1,
                         ui::CharFailure())) {
        m_pText->setFocus();
        return false;
    }
    const auto length = static_cast<uint32_t>(codec.m_nLength);
    if (length > *room) {
        ui::MessageBox(this, TooLongMessage());
        m_pText->setFocus();
        return false;
    }
    // The new bytes and their terminator only: what follows keeps its old bytes.
    if (std::memcmp(m_pRom + text, scratch.data(), length) != 0) {
        std::memcpy(m_pRom + text, scratch.data(), length);
        m_pLineList->SetText(line, LineItem(line, m_pText->GetText()));
    }
    return true;
}

void CBattleLineDlg::OnOkButton() {
    if (m_nLine < 0 || StoreLine()) {
        EndDialog(QDialog::Accepted);
    } else {
        m_pLineList->SetCurSel(m_nLine);
    }
}
