#pragma once
// Tooltips that say where each field of a record editor lies: the controls are bound to
// the table's descriptor fields by the labels they carry, qualified by their group or by
// the tab page they show ("その１ 説明"), and the tips follow the record shown.
#include <QHash>
#include <QList>
#include <QTabWidget>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

class QWidget;

namespace tsumugi::layout {
struct Field;
struct Table;
}  // namespace tsumugi::layout

namespace editors {

// A control's tooltip is made of parts set apart: what the control is about, where its
// field lies, and why its text is locked. Setting one part keeps the others.
enum class TipPart { About, Place, Lock };
void SetTipPart(QWidget* control, TipPart part, const QString& text);

// The fixed-record table at base with records of size bytes, or null.
const tsumugi::layout::Table* TableAt(uint32_t base, uint32_t size);

class FieldTips {
public:
    // Binds the number boxes, check boxes, drop-downs and text boxes below root to the
    // fields of table (null: binds nothing). The controls shown get their tips; a tab strip's
    // or a stack's page change gives the controls it shows theirs.
    FieldTips(QWidget* root, const tsumugi::layout::Table* table);
    // Binds them to the fields of records that lie wherever a pointer leads. A field
    // labelled "A/B" is shown by the control "A" or "B" in turn.
    FieldTips(QWidget* root, std::span<const tsumugi::layout::Field> fields);
    ~FieldTips();
    FieldTips(const FieldTips&) = delete;
    FieldTips& operator=(const FieldTips&) = delete;

    // Sets every bound control's tip for record (the one shown; -1 when none).
    void Show(int record);
    // The same for the record at file offset record (none: no record shown).
    void ShowAt(std::optional<uint32_t> record);

    // The field a control stands for now, or null.
    const tsumugi::layout::Field* FieldOf(const QWidget* control) const;

private:
    void Bind(std::span<const tsumugi::layout::Field> fields);
    // The field of each bound control on the tab pages shown now.
    const QList<const tsumugi::layout::Field*>& Resolved();

    const tsumugi::layout::Table* m_pTable = nullptr;
    QWidget* m_pRoot;
    std::optional<uint32_t> m_recordAt;
    QHash<QString, const tsumugi::layout::Field*> m_fields;
    QList<QPointer<QWidget>> m_controls;
    QList<QPointer<QTabWidget>> m_tabs;
    QHash<QString, QList<const tsumugi::layout::Field*>> m_resolved;  // by the pages shown
    QList<QMetaObject::Connection> m_connections;
};

}  // namespace editors
