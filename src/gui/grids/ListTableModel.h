#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/table/ListTable.h"

namespace kest::gui {

// A grid's model reading a core ListTable in place: no row is copied. Only the
// shown columns (tag 0 or more) are columns of the model; the hidden ones
// (identifiers, sort keys) never are, whatever their width.
class ListTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ListTableModel(const ListTable& table, QObject* parent);

    // Call after the table was refilled, re-headed or sorted.
    void Reload();
    // Shows the rows added to the table since the model last looked (a list
    // that is still filling); the ones shown already stay as they are.
    void ShowAddedRows();
    // The table column behind a model column.
    size_t TableColumn(int column) const { return m_shown[static_cast<size_t>(column)]; }
    // A cell's text as the table holds it (UTF-8), read in place.
    std::string_view Cell(int row, int column) const {
        return m_table.Cell(static_cast<size_t>(row), TableColumn(column));
    }
    // The width the table gives a model column, in twips.
    int ColumnTwips(int column) const { return m_table.Column(TableColumn(column)).width; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const ListTable& m_table;
    std::vector<size_t> m_shown;
    // The rows the model has announced: the table may hold more while it fills.
    int m_rows = 0;
};

}  // namespace kest::gui
