#pragma once
// The rows of a list box: texts kept in the model, or asked of a source only when a row
// is shown or read, so that a list of tens of thousands of rows is filled at once and
// only the rows in sight cost their text.
#include <QAbstractListModel>
#include <QStringList>
#include <functional>
#include <vector>

namespace ui {

class ListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using Source = std::function<QString(int row)>;

    explicit ListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // Every row anew: the given texts, or count rows whose texts come from source.
    void SetTexts(const QStringList& texts);
    void SetSource(int count, Source source);
    void Insert(int row, const QString& text);
    void Remove(int row);
    // A row's text from now on, in place of the source's.
    void SetText(int row, const QString& text);
    QString Text(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    mutable QStringList m_texts;
    mutable std::vector<bool> m_asked;  // with a source: the row's text has been asked
    Source m_source;
};

}  // namespace ui
