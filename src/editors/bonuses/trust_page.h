#pragma once
// The six choices of one page of a trust bonus: the correction type, the effect and the
// four partners. One set of controls serves all four pages; the tab strip above them
// says which page they show.
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>

#include "core/layout/bonuses.h"
#include "editors/common/value_combo.h"

class QStringListModel;

namespace ui {
class ComboBox;
}

class CTrustPage : public QWidget {
    Q_OBJECT
public:
    // pilots: one name per pilot record; types: the names of the correction types.
    CTrustPage(const QStringList& pilots, const QStringList& types, QWidget* parent = nullptr);

    // Shows the 12 bytes of a page.
    void Load(const uint8_t* page);
    // Writes the 12 bytes of a page from the choices. An empty combo writes 0xFFFF.
    void Store(uint8_t* page) const;

private:
    editors::ValueCombo m_type;
    ui::ComboBox* m_pEffect = nullptr;
    QStringListModel* m_pPartnerModel = nullptr;
    std::array<editors::ValueCombo, tsumugi::layout::trust_record::kPartners> m_partners;
};
