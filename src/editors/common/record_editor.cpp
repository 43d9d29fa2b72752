#include "editors/common/record_editor.h"

#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <limits>

#include "core/bytes.h"
#include "core/text_codec.h"
#include "editors/common/find_box.h"
#include "ui/controls.h"
#include "ui/number.h"
#include "ui/text.h"

namespace editors {
namespace {

uint32_t MaxOfWidth(int width) {
    return width == 1 ? 0xFFu : width == 2 ? 0xFFFFu : std::numeric_limits<uint32_t>::max();
}

}  // namespace

uint8_t* RecordAt(uint8_t* rom, uint32_t romSize, uint32_t base, uint32_t size, int count,
                  int index) {
    if (rom == nullptr || index < 0 || index >= count) return nullptr;
    const uint64_t start = base + static_cast<uint64_t>(size) * static_cast<uint32_t>(index);
    if (start + size > romSize) return nullptr;
    return rom + start;
}

QFormLayout* MakeForm() {
    constexpr int kLabelSpacing = 6;
    auto* form = new QFormLayout;
    form->setHorizontalSpacing(kLabelSpacing);
    return form;
}

void AddNumberRows(std::span<const NumberRow> rows, std::span<NumberField> fields,
                   QFormLayout* form, int pixelWidth) {
    for (size_t i = 0; i < rows.size() && i < fields.size(); ++i) {
        const QString label = QString::fromUtf16(rows[i].label);
        auto* edit = new ui::Edit(label);
        edit->setFixedWidth(pixelWidth);
        fields[i] = {edit, rows[i].offset, rows[i].width};
        form->addRow(ui::MakeLabel(label, edit), edit);
    }
}

void LoadNumbers(std::span<const NumberField> fields, const uint8_t* record) {
    for (const NumberField& f : fields) {
        const uint8_t* p = record + f.offset;
        const uint32_t value = f.width == 1   ? p[0]
                               : f.width == 2 ? tsumugi::Read16(p)
                                              : tsumugi::Read32(p);
        ui::SetUInt(f.edit, value);
    }
}

bool ReadNumbers(std::span<const NumberField> fields, std::vector<uint32_t>& values) {
    values.assign(fields.size(), 0);
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!ui::ReadUInt(fields[i].edit, 0, MaxOfWidth(fields[i].width), values[i])) return false;
    }
    return true;
}

void WriteNumbers(std::span<const NumberField> fields, const std::vector<uint32_t>& values,
                  uint8_t* record) {
    for (size_t i = 0; i < fields.size() && i < values.size(); ++i) {
        uint8_t* p = record + fields[i].offset;
        if (fields[i].width == 1) {
            p[0] = static_cast<uint8_t>(values[i]);
        } else if (fields[i].width == 2) {
            tsumugi::Write16(p, static_cast<uint16_t>(values[i]));
        } else {
            tsumugi::Write32(p, values[i]);
        }
    }
}

QString OneLineItem(const std::string& cp932) {
    return ui::FromCp932(cp932).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

QStringList NameItems(tsumugi::CTextCodec& codec, tsumugi::NameKind kind) {
    QStringList items;
    for (const std::string& name : tsumugi::NameList(codec, kind)) items << OneLineItem(name);
    return items;
}

QStringList TextTableItems(tsumugi::CTextCodec& codec, uint32_t base, uint32_t stride, int length,
                           int count) {
    QStringList items;
    for (int i = 0; i < count; ++i) {
        const uint64_t at = base + static_cast<uint64_t>(stride) * static_cast<uint32_t>(i);
        if (codec.m_pRom == nullptr || length < 0 || at + static_cast<uint32_t>(length) > codec.m_nRomSize) {
            items << QStringLiteral("Error");
        } else {
            items << ui::Decode(codec, codec.m_pRom + at, length);
        }
    }
    return items;
}

QStringList NumberItems(int first, int last) {
    QStringList items;
    for (int i = first; i <= last; ++i) items << QString::number(i);
    return items;
}

QStringList TextItems(std::span<const char* const> texts) {
    QStringList items;
    for (const char* text : texts) items << QString::fromUtf8(text);
    return items;
}

void SetContentsLength(ui::ComboBox* combo, int characters) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(characters);
}

ui::TabCtrl* MakePageStrip(const QString& label, std::span<const char16_t* const> titles) {
    auto* strip = new ui::TabCtrl(label);
    for (size_t page = 0; page < titles.size(); ++page) {
        auto* empty = new QWidget;
        empty->setFixedHeight(0);
        strip->InsertItem(static_cast<int>(page), empty, QString::fromUtf16(titles[page]));
    }
    strip->setDocumentMode(true);
    strip->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return strip;
}

std::pair<ui::Button*, ui::Button*> LayOutRecordEditor(QDialog* dialog, const QString& listTitle,
                                                       ui::ListBox* list, QWidget* data) {
    auto* listLayout = new QVBoxLayout;
    listLayout->addLayout((new FindBox(list, dialog))->MakeRow());
    listLayout->addWidget(list);
    auto* ok = new ui::Button(QStringLiteral("OK"));
    auto* cancel = new ui::Button(QStringLiteral("ｷｬﾝｾﾙ"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* body = new QHBoxLayout;
    body->addWidget(ui::MakeGroup(listTitle, listLayout, dialog));
    body->addWidget(data, 1);
    auto* top = new QVBoxLayout(dialog);
    top->addLayout(body, 1);
    top->addLayout(buttons);
    return {ok, cancel};
}

std::optional<int> StoreAndMove(ui::ListBox* list, int shown, const std::function<bool()>& store) {
    const int selected = list->GetCurSel();
    if (selected < 0 || selected == shown) return std::nullopt;
    if (shown >= 0 && !store()) {
        list->SetCurSel(shown);
        return std::nullopt;
    }
    return selected;
}

}  // namespace editors
