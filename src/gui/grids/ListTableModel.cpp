#include "gui/grids/ListTableModel.h"

#include <QGuiApplication>
#include <QPalette>

#include "core/text/NameBytes.h"

namespace kest::gui {

ListTableModel::ListTableModel(const ListTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table) {
    Reload();
}

void ListTableModel::Reload() {
    beginResetModel();
    m_shown = m_table.ShownColumns();
    m_rows = static_cast<int>(m_table.RowCount());
    endResetModel();
}

void ListTableModel::ShowAddedRows() {
    const auto rows = static_cast<int>(m_table.RowCount());
    if (rows <= m_rows) return;
    beginInsertRows({}, m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

int ListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    size_t column = TableColumn(index.column());
    // A view may ask between a change of the table and the model's reset.
    if (column >= m_table.ColumnCount() || static_cast<size_t>(index.row()) >= m_table.RowCount())
        return {};
    if (role == Qt::DisplayRole) {
        std::string_view cell = m_table.Cell(static_cast<size_t>(index.row()), column);
        // Bytes of a name that is not UTF-8 show as \xHH.
        if (text::HasEscapedBytes(cell)) return QString::fromStdString(text::ShownName(cell));
        return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    }
    // The cells keep the desktop's colours; the back colour of the settings
    // shows in the grid's empty area around them.
    if (role == Qt::BackgroundRole) return QGuiApplication::palette().base();
    if (role == Qt::ForegroundRole) return QGuiApplication::palette().text();
    if (role == Qt::TextAlignmentRole) {
        bool right = m_table.Column(column).alignment == Alignment::Right;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        static_cast<size_t>(section) >= m_shown.size())
        return {};
    if (TableColumn(section) >= m_table.ColumnCount()) return {};
    const ListColumn& column = m_table.Column(TableColumn(section));
    if (role == Qt::DisplayRole) return QString::fromStdString(column.header).trimmed();
    if (role == Qt::TextAlignmentRole && column.alignment == Alignment::Right)
        return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight);
    return {};
}

}  // namespace kest::gui
