#include "editors/common/field_tips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStringList>
#include <QVariant>
#include <QTabWidget>

#include "core/layout/descriptor.h"
#include "core/layout/field_place.h"

namespace editors {
namespace layout = tsumugi::layout;

namespace {

bool IsFieldControl(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) != nullptr || qobject_cast<const QCheckBox*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr || qobject_cast<const QPlainTextEdit*>(w) != nullptr;
}

}  // namespace

const layout::Table* TableAt(uint32_t base, uint32_t size) {
    for (const layout::Table& table : layout::Tables()) {
        if (table.base == base && table.size == size) return &table;
    }
    return nullptr;
}

FieldTips::FieldTips(QWidget* root, const layout::Table* table) : m_pTable(table), m_pRoot(root) {
    if (m_pTable != nullptr) Bind(m_pTable->fields);
}

FieldTips::FieldTips(QWidget* root, std::span<const layout::Field> fields) : m_pRoot(root) { Bind(fields); }

void FieldTips::Bind(std::span<const layout::Field> fields) {
    for (const layout::Field& field : fields) {
        const QString label = QString::fromUtf8(field.label);
        m_fields.insert(label, &field);
        if (label.contains(QLatin1Char('/'))) {
            for (const QString& part : label.split(QLatin1Char('/'))) m_fields.insert(part, &field);
        }
    }
    for (QWidget* w : m_pRoot->findChildren<QWidget*>()) {
        // A combo's own line edit, if any, is part of the combo.
        if (IsFieldControl(w) && qobject_cast<QComboBox*>(w->parentWidget()) == nullptr) m_controls << w;
    }
    for (QTabWidget* tabs : m_pRoot->findChildren<QTabWidget*>()) m_tabs << tabs;
    // Only the controls shown get their tips (a record change would otherwise set every
    // page's); a tab strip's or a stack's page change shows others.
    for (QStackedWidget* stack : m_pRoot->findChildren<QStackedWidget*>()) {
        m_connections << QObject::connect(stack, &QStackedWidget::currentChanged, m_pRoot, [this] { ShowAt(m_recordAt); });
    }
}

FieldTips::~FieldTips() {
    for (const QMetaObject::Connection& connection : m_connections) QObject::disconnect(connection);
}

const layout::Field* FieldTips::FieldOf(const QWidget* control) const {
    const QString name = control->accessibleName();
    if (name.isEmpty()) return nullptr;
    // Qualified by a group around it ("移動タイプ 地") or by the tab page it shows, before
    // the plain label that a field of another group may carry ("空").
    for (const QWidget* w = control->parentWidget(); w != nullptr && w != m_pRoot; w = w->parentWidget()) {
        if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            if (const layout::Field* f = m_fields.value(group->title() + QLatin1Char(' ') + name)) return f;
            if (const layout::Field* f = m_fields.value(group->title() + name)) return f;
        }
    }
    for (const QTabWidget* tabs : m_tabs) {
        if (tabs == nullptr) continue;
        const QString page = tabs->tabText(tabs->currentIndex());
        if (const layout::Field* f = m_fields.value(page + QLatin1Char(' ') + name)) return f;
    }
    if (const layout::Field* f = m_fields.value(name)) return f;
    // The controls of a group that stands for one field ("落とすアイテム": its kind and item).
    for (const QWidget* w = control->parentWidget(); w != nullptr && w != m_pRoot; w = w->parentWidget()) {
        if (const auto* group = qobject_cast<const QGroupBox*>(w)) return m_fields.value(group->title());
    }
    return nullptr;
}

void SetTipPart(QWidget* control, TipPart part, const QString& text) {
    static const char* const kNames[] = {"tsumugiTipAbout", "tsumugiTipPlace", "tsumugiTipLock"};
    const char* const key = kNames[static_cast<int>(part)];
    if (control->property(key).toString() == text && !text.isEmpty()) return;
    control->setProperty(key, text);
    QStringList parts;
    for (const char* name : kNames) {
        const QString shown = control->property(name).toString();
        if (!shown.isEmpty()) parts << shown;
    }
    control->setToolTip(parts.join(QLatin1Char('\n')));
}

void FieldTips::Show(int record) {
    std::optional<uint32_t> at;
    if (m_pTable != nullptr && record >= 0 && record < m_pTable->count) {
        at = m_pTable->base + m_pTable->size * static_cast<uint32_t>(record);
    }
    ShowAt(at);
}

const QList<const layout::Field*>& FieldTips::Resolved() {
    QString pages;
    for (const QTabWidget* tabs : m_tabs) {
        if (tabs != nullptr) pages += QString::number(tabs->currentIndex()) + QLatin1Char(' ');
    }
    auto it = m_resolved.find(pages);
    if (it == m_resolved.end()) {
        QList<const layout::Field*> fields;
        for (const QPointer<QWidget>& control : m_controls) fields << (control.isNull() ? nullptr : FieldOf(control));
        it = m_resolved.insert(pages, fields);
    }
    return *it;
}

void FieldTips::ShowAt(std::optional<uint32_t> record) {
    m_recordAt = record;
    const QList<const layout::Field*>& fields = Resolved();
    for (qsizetype i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i].isNull() || fields[i] == nullptr || !m_controls[i]->isVisibleTo(m_pRoot)) continue;
        SetTipPart(m_controls[i], TipPart::Place, QString::fromUtf8(layout::FieldPlace(*fields[i], record)));
    }
}

}  // namespace editors
