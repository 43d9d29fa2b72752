#include "editors/scenario/scenario_message_page.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cstring>
#include <string>

#include "core/bytes.h"
#include "core/layout/field_place.h"
#include "core/layout/list_fields.h"
#include "core/layout/pilots.h"
#include "core/layout/scenario.h"
#include "core/layout/units.h"
#include "core/regions.h"
#include "core/text_codec.h"
#include "editors/common/find_box.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/services.h"
#include "ui/text.h"

namespace {

namespace mr = tsumugi::layout::message_record;

QString S(const char16_t* text) { return QString::fromUtf16(text); }

constexpr int kPilotCount = tsumugi::layout::pilot_record::kCount;
constexpr int kWindowCount = 3;
constexpr int kKindCount = 4;  // the kinds 0-3; the item after them stands for 0xFF

// The pages of the stack beside "座標".
constexpr int kShowTarget = 0, kShowPoint = 1, kShowNothing = 2;

constexpr int kNumberWidth = 70;  // pixels: room for five digits

// "%02X: name" for every record of a name table.
QStringList NumberedItems(tsumugi::CTextCodec& codec, tsumugi::NameKind kind) {
    QStringList items = editors::NameItems(codec, kind);
    for (int i = 0; i < items.size(); ++i) items[i] = QString::asprintf("%02X: ", i) + items[i];
    return items;
}

QString TableNote(bool pastImage) {
    return pastImage ? S(u"セリフデータがROMの終わりを越えているため表示できません。")
                     : S(u"セリフデータがシナリオデータの領域外にあるため編集できません。");
}

}  // namespace

CScenarioMessagePage::CScenarioMessagePage(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : QWidget(parent), m_pRom(rom), m_nRomSize(rom == nullptr ? 0 : romSize) {
    CreateControls();
    connect(m_pList, &ui::ListBox::SelChange, this, &CScenarioMessagePage::OnSelChange);
    connect(m_kind.Combo(), &ui::ComboBox::SelChange, this, &CScenarioMessagePage::OnPositionKindChange);
    SetFieldsEnabled(false);
    m_pText->setEnabled(false);
}

void CScenarioMessagePage::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_pilotItems = NumberedItems(codec, tsumugi::NameKind::Pilot);
    m_unitItems = NumberedItems(codec, tsumugi::NameKind::Unit);

    // Controls join the page in reading order, which is also the order the Tab key visits.
    auto* page = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    page->addLayout(top, 1);
    // The list joins the page after its find box, which goes before it in Tab order.
    m_pList = new ui::ListBox(S(u"セリフ"));
    m_pList->setMinimumWidth(260);
    auto* left = new QVBoxLayout;
    top->addLayout(left, 1);
    auto* find = new editors::FindBox(m_pList, this);
    left->addLayout(find->MakeRow());
    left->addWidget(m_pList, 1);

    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    QFormLayout* form = editors::MakeForm();
    right->addLayout(form);

    // A row whose label names buddy; field is buddy or the widget holding it.
    auto addRow = [&](QWidget* buddy, QWidget* field) {
        field->setParent(this);
        form->addRow(ui::MakeLabel(buddy->accessibleName(), buddy, this), field);
    };
    m_pProgress = new ui::Edit(S(u"進行度？"));
    m_pProgress->setFixedWidth(kNumberWidth);
    addRow(m_pProgress, m_pProgress);

    auto* window = new ui::ComboBox(S(u"ウィンドウの位置"));
    window->SetItems({S(u"上"), S(u"下"), S(u"中央顔無し")});
    m_window = editors::ValueCombo(window, {kWindowCount, std::nullopt});
    addRow(window, window);

    auto* face = new ui::ComboBox(S(u"顔"));
    face->SetItems(m_pilotItems + QStringList{S(u"無し(0xFF)")});
    editors::SetContentsLength(face, 18);
    m_face = editors::ValueCombo(face, {kPilotCount, editors::kNone8});
    addRow(face, face);

    m_pExpression = new ui::Edit(S(u"表情"));
    m_pExpression->setFixedWidth(kNumberWidth);
    addRow(m_pExpression, m_pExpression);

    auto* kind = new ui::ComboBox(S(u"座標"));
    kind->SetItems({S(u"キャラ指定"), S(u"ユニット指定"), S(u"？"), S(u"座標指定"), S(u"顔と同じ(0xFF)")});
    m_kind = editors::ValueCombo(kind, {kKindCount, editors::kNone8});
    auto* position = new QWidget;
    auto* positionRow = new QHBoxLayout(position);
    positionRow->setContentsMargins(0, 0, 0, 0);
    positionRow->addWidget(kind);
    m_pPosition = new QStackedWidget;
    positionRow->addWidget(m_pPosition, 1);
    addRow(kind, position);

    m_pTarget = new ui::ComboBox(S(u"対象"));
    m_pTarget->SetItems(m_pilotItems);
    editors::SetContentsLength(m_pTarget, 18);
    editors::SetTipPart(m_pTarget, editors::TipPart::About, S(u"ウィンドウが指すキャラまたはユニット"));
    m_pPosition->addWidget(m_pTarget);

    auto* point = new QWidget;
    auto* pointRow = new QHBoxLayout(point);
    pointRow->setContentsMargins(0, 0, 0, 0);
    m_pX = new ui::Edit(S(u"X"));
    m_pY = new ui::Edit(S(u"Y"));
    for (ui::Edit* edit : {m_pX, m_pY}) {
        edit->setFixedWidth(kNumberWidth);
        pointRow->addWidget(ui::MakeLabel(edit->accessibleName(), edit));
        pointRow->addWidget(edit);
    }
    pointRow->addStretch();
    m_pPosition->addWidget(point);
    m_pPosition->addWidget(new QWidget);

    m_pText = new ui::MultiEdit(S(u"テキスト"), this);
    right->addWidget(m_pText, 1);

    auto* limitForm = editors::MakeForm();
    m_pLimit = new ui::Edit(S(u"限界文字数"), this);
    m_pLimit->setReadOnly(true);
    m_pLimit->setFixedWidth(kNumberWidth);
    limitForm->addRow(ui::MakeLabel(m_pLimit->accessibleName(), m_pLimit, this), m_pLimit);
    right->addLayout(limitForm);

    // One line under both columns: why the page shows less than the table holds.
    m_pNote = new ui::Edit(S(u"注意"), this);
    m_pNote->setReadOnly(true);
    m_pNote->setFrame(false);
    m_pNote->setVisible(false);
    page->addWidget(m_pNote);

    // Opening: each list on its first item.
    window->SetCurSel(0);
    face->SetCurSel(0);
    kind->SetCurSel(0);
    m_pTarget->SetCurSel(0);
    m_pPosition->setCurrentIndex(kShowTarget);
    m_pTips = std::make_unique<editors::FieldTips>(this, tsumugi::layout::MessageFields());
    m_pTips->ShowAt(std::nullopt);
}

uint8_t* CScenarioMessagePage::Record(int k) const {
    return m_pRom + m_nOffset + mr::kSize * static_cast<uint32_t>(k);
}

void CScenarioMessagePage::SetFieldsEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_pProgress, m_window.Combo(), m_face.Combo(),
                                                      m_pExpression, m_kind.Combo(), m_pTarget, m_pX, m_pY}) {
        w->setEnabled(on);
    }
}

void CScenarioMessagePage::ShowNote(const QString& messageNote) {
    const QString note = m_tableNote.isEmpty() ? messageNote : m_tableNote;
    m_pNote->SetText(note);
    m_pNote->setCursorPosition(0);
    m_pNote->setVisible(!note.isEmpty());
}

void CScenarioMessagePage::BuildList() {
    m_pList->ResetContent();
    m_textLimits.clear();
    m_tableNote.clear();
    m_bTableWritable = false;
    if (m_nOffset == 0 || m_pRom == nullptr) return;

    const tsumugi::MessageScan scan = tsumugi::ScanMessageTable(m_pRom, m_nRomSize, m_nOffset);
    if (scan.pastImage) {
        m_tableNote = TableNote(true);
        return;
    }
    const int count = scan.count;
    m_bTableWritable = tsumugi::WritableFor(tsumugi::category::kScenario, m_nOffset,
                                            mr::kSize * static_cast<uint32_t>(count), m_nRomSize);
    if (!m_bTableWritable) m_tableNote = TableNote(false);

    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    std::vector<uint32_t> pointers(static_cast<size_t>(count));
    std::vector<int> lengths(static_cast<size_t>(count), 0);
    QStringList items;
    items.reserve(count);
    for (int k = 0; k < count; ++k) {
        pointers[static_cast<size_t>(k)] = tsumugi::Read32(Record(k) + mr::kText);
        const std::optional<uint32_t> at = tsumugi::MessageTextOffset(pointers[static_cast<size_t>(k)]);
        if (!at || *at >= m_nRomSize) {
            items << QStringLiteral("Error");
            continue;
        }
        std::string text;
        codec.Decode(text, m_pRom + *at, tsumugi::kMessageTextLimit);
        lengths[static_cast<size_t>(k)] = codec.m_nLength;
        items << editors::OneLineItem(text);
    }
    m_textLimits = tsumugi::MessageTextRooms(pointers, m_nOffset, m_nRomSize,
                                             [&](size_t k) { return lengths[k]; });
    m_pList->SetItems(items);
}

bool CScenarioMessagePage::SetChapter(uint32_t offset) {
    if (m_nOffset != 0 && !StoreMessage()) return false;
    m_nOffset = offset;
    m_nCurrent = -1;
    BuildList();
    if (m_pList->GetCount() > 0) {
        m_pList->SetCurSel(0);
        m_nCurrent = 0;
        LoadMessage(0);
    } else {
        ClearMessage();
    }
    return true;
}

void CScenarioMessagePage::ShowNone(const QString& note) {
    m_nOffset = 0;
    m_nCurrent = -1;
    BuildList();
    ClearMessage();
    m_tableNote = note;
    ShowNote(QString());
}

void CScenarioMessagePage::ClearMessage() {
    for (ui::Edit* edit : {m_pProgress, m_pExpression, m_pX, m_pY, m_pLimit}) edit->SetText(QString());
    for (ui::ComboBox* combo : {m_window.Combo(), m_face.Combo(), m_kind.Combo(), m_pTarget}) combo->SetCurSel(-1);
    m_pPosition->setCurrentIndex(kShowNothing);
    m_pText->SetText(QString());
    m_pText->setEnabled(false);
    m_bStoreText = false;
    SetFieldsEnabled(false);
    ShowNote(QString());
    m_pTips->ShowAt(std::nullopt);
    editors::SetTipPart(m_pText, editors::TipPart::Place, QString());
}

void CScenarioMessagePage::OnSelChange() {
    if (m_nOffset == 0) return;
    const std::optional<int> next =
        editors::StoreAndMove(m_pList, m_nCurrent, [this] { return StoreMessage(); });
    if (!next) return;
    m_nCurrent = *next;
    LoadMessage(*next);
}

void CScenarioMessagePage::LoadMessage(int k) {
    const uint8_t* r = Record(k);
    SetFieldsEnabled(m_bTableWritable);
    ui::SetUInt(m_pProgress, tsumugi::Read16(r + mr::kProgress));
    ui::SetUInt(m_pExpression, r[mr::kExpression]);
    ui::SetUInt(m_pX, r[mr::kTarget]);
    ui::SetUInt(m_pY, r[mr::kY]);
    m_face.Load(r[mr::kFace]);
    m_window.Load(r[mr::kWindow]);
    m_kind.Load(r[mr::kPositionKind]);
    ShowPositionControls();
    m_nLoadedTarget = r[mr::kTarget];
    m_pTarget->SetCurSel(m_nLoadedTarget < m_pTarget->GetCount() ? m_nLoadedTarget : -1);

    const tsumugi::MessageTextRoom& room = m_textLimits[static_cast<size_t>(k)];
    const uint32_t record = m_nOffset + mr::kSize * static_cast<uint32_t>(k);
    m_pTips->ShowAt(record);
    QString textPlace;
    if (room.place == tsumugi::MessageTextPlace::Inside || room.place == tsumugi::MessageTextPlace::OnTable) {
        namespace layout = tsumugi::layout;
        const layout::Field* pointer = layout::FieldAtOffset(layout::MessageFields(), mr::kText);
        textPlace = QString::fromUtf8(layout::PointedTextPlace(*pointer, record, room.offset, room.limit));
    }
    editors::SetTipPart(m_pText, editors::TipPart::Place, textPlace);
    m_bStoreText = false;
    QString note;
    ui::SetUInt(m_pLimit, room.limit);
    if (room.place == tsumugi::MessageTextPlace::Inside || room.place == tsumugi::MessageTextPlace::OnTable) {
        tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
        const bool decoded =
            editors::ShowGameText(codec, m_pText, m_pRom + room.offset, tsumugi::kMessageTextLimit);
        const bool writable = room.place == tsumugi::MessageTextPlace::Inside &&
                              tsumugi::WritableFor(tsumugi::category::kScenario, room.offset,
                                                   room.limit, m_nRomSize);
        if (room.place == tsumugi::MessageTextPlace::OnTable) {
            note = S(u"テキストがセリフデータと重なっているため編集できません。");
        } else if (!writable) {
            note = S(u"テキストがシナリオデータの領域外にあるため編集できません。");
        }
        m_bStoreText = decoded && writable && m_bTableWritable;
    } else {
        m_pText->SetText(QString());
        if (room.place == tsumugi::MessageTextPlace::PastImage)
            note = S(u"テキストがROMの終わりを越えているため表示できません。");
    }
    m_pText->setEnabled(m_bStoreText);
    ShowNote(note);
}

void CScenarioMessagePage::ShowPositionControls() {
    const int kind = m_kind.Combo()->GetCurSel();
    if (kind == mr::kKindPilot || kind == mr::kKindUnit) {
        const Targets wanted = kind == mr::kKindPilot ? Targets::Pilots : Targets::Units;
        if (m_targets != wanted) {
            m_pTarget->SetItems(wanted == Targets::Pilots ? m_pilotItems : m_unitItems);
            m_targets = wanted;
        }
        m_pTarget->SetCurSel(0);
        m_pPosition->setCurrentIndex(kShowTarget);
    } else if (kind == mr::kKindUnknown || kind == mr::kKindPoint) {
        m_pPosition->setCurrentIndex(kShowPoint);
    } else {
        // "顔と同じ(0xFF)", and a kind the list lacks: neither a target nor a place to show.
        m_pPosition->setCurrentIndex(kShowNothing);
    }
}

void CScenarioMessagePage::OnPositionKindChange() { ShowPositionControls(); }

bool CScenarioMessagePage::StoreMessage() {
    if (m_nOffset == 0 || m_nCurrent < 0 || !m_bTableWritable) return true;
    const int kind = m_kind.Combo()->GetCurSel();
    const bool usesPoint = kind == mr::kKindUnknown || kind == mr::kKindPoint;
    uint32_t progress = 0, expression = 0, x = 0, y = 0;
    if (!ui::ReadUInt(m_pProgress, 0, 0xFFFF, progress)) return false;
    if (!ui::ReadUInt(m_pExpression, 0, 0xFF, expression)) return false;
    if (usesPoint && (!ui::ReadUInt(m_pX, 0, 0xFF, x) || !ui::ReadUInt(m_pY, 0, 0xFF, y))) return false;

    uint8_t* r = Record(m_nCurrent);
    tsumugi::Write16(r + mr::kProgress, static_cast<uint16_t>(progress));
    r[mr::kExpression] = static_cast<uint8_t>(expression);
    if (kind == mr::kKindPilot || kind == mr::kKindUnit) {
        const int target = m_pTarget->GetCurSel();
        r[mr::kTarget] = target >= 0 ? static_cast<uint8_t>(target) : m_nLoadedTarget;
        r[mr::kY] = 0;
        r[mr::kPositionKind] = static_cast<uint8_t>(kind);
    } else if (usesPoint) {
        r[mr::kTarget] = static_cast<uint8_t>(x);
        r[mr::kY] = static_cast<uint8_t>(y);
        r[mr::kPositionKind] = static_cast<uint8_t>(kind);
    } else if (kind == kKindCount) {
        r[mr::kTarget] = 0;
        r[mr::kY] = 0;
        r[mr::kPositionKind] = mr::kKindFace;
    }
    r[mr::kFace] = static_cast<uint8_t>(m_face.Store());
    r[mr::kWindow] = static_cast<uint8_t>(m_window.Store());
    return StoreText();
}

bool CScenarioMessagePage::StoreText() {
    // An untouched text keeps its bytes, even one that runs on past its room.
    if (!m_bStoreText || editors::IsAsShown(m_pText)) return true;
    const tsumugi::MessageTextRoom& room = m_textLimits[static_cast<size_t>(m_nCurrent)];
    const QString text = m_pText->GetText();
    // Room for any text the box can hold, so that an over-long text is measured in full
    // instead of being cut: one UTF-16 unit becomes at most four bytes of game text.
    const int size = tsumugi::kMessageTextLimit + 4 * static_cast<int>(text.size());
    std::vector<uint8_t> bytes(static_cast<size_t>(size), 0x00);
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    if (!ui::EncodeField(codec, this, text, bytes.data(), size, ui::CharFailure())) {
        m_pText->setFocus();
        return false;
    }
    const int length = codec.m_nLength;
    if (length > static_cast<int>(room.limit)) {
        ui::MessageBox(this, S(u"%1byteオーバー").arg(length - static_cast<int>(room.limit)));
        m_pText->setFocus();
        return false;
    }
    uint8_t* at = m_pRom + room.offset;
    if (std::memcmp(at, bytes.data(), static_cast<size_t>(length)) != 0) {
        std::memcpy(at, bytes.data(), static_cast<size_t>(length));
        m_pList->SetText(m_nCurrent, QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
    return true;
}
