#pragma once
// A fixture for the ace bonus and full-upgrade bonus editors: the editor opened on a
// fresh copy of the demo ROM, its records and its controls found by label.
#include <QLabel>
#include <QString>
#include <memory>
#include <vector>

#include "editor_fixture.h"
#include "ui/controls.h"

namespace testing_ui {

inline QString S(const char16_t* text) { return QString::fromUtf16(text); }

// Every label of the shown window is as wide as its text.
inline void ExpectUnclippedLabels(QWidget* window) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
    }
}

template <typename Dlg>
class BonusDlgTest : public EditorFixture {
protected:
    // base, size: where the editor's table lies.
    BonusDlgTest(uint32_t base, uint32_t size) : m_nBase(base), m_nSize(size) {}

    uint8_t* At(int i) { return Rom() + m_nBase + m_nSize * static_cast<uint32_t>(i); }
    std::vector<uint8_t> Record(int i) { return Bytes(At(i), m_nSize); }
    std::vector<uint8_t> Record(const std::vector<uint8_t>& image, int i) const {
        const auto first = image.begin() + m_nBase + m_nSize * static_cast<uint32_t>(i);
        return std::vector<uint8_t>(first, first + m_nSize);
    }

    std::unique_ptr<Dlg> Open() {
        auto dlg = std::make_unique<Dlg>(Rom(), RomSize());
        dlg->show();
        return dlg;
    }
    static ui::ListBox* List(Dlg& d) { return d.template findChild<ui::ListBox*>(); }
    static ui::Edit* Edit(Dlg& d, const char16_t* label) { return Find<ui::Edit>(&d, S(label)); }
    static ui::ComboBox* Combo(Dlg& d, const char16_t* label) {
        return Find<ui::ComboBox>(&d, S(label));
    }
    static ui::CheckBox* Check(Dlg& d, const char16_t* label) {
        return Find<ui::CheckBox>(&d, S(label));
    }

private:
    uint32_t m_nBase;
    uint32_t m_nSize;
};

}  // namespace testing_ui
