#pragma once

#include <QTableView>
#include <utility>
#include <vector>

namespace kest::gui {

class ListTableModel;

// A grid of the main window over a ListTableModel: whole-row selection, fixed
// row heights (a million rows scroll freely), column widths from the table in
// twips, and Ctrl+C copying the selected cells as tab-separated lines.
class ListGrid : public QTableView {
    Q_OBJECT
  public:
    ListGrid(ListTableModel* model, QWidget* parent);

    // Re-reads the model and sets the widths the table gives its columns.
    void Reload();
    // Shows the rows a filling list has added since (see ListTableModel).
    void ShowAddedRows();
    // The widths (twips) the user gave the shown columns, by table column.
    std::vector<std::pair<size_t, int>> ColumnTwips() const;
    // The selected rows' shown cells, tab-separated, one line per row.
    QString SelectedText() const;
    // The lists have no type-ahead: a letter would read every row of a
    // million-row list, and typed text does nothing in them.
    void keyboardSearch(const QString& search) override;

  signals:
    // A double click on a row, or Enter: the row's details are asked for.
    // (Never a single click, whatever the desktop's activation setting.)
    void RowChosen();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    // With the focus on a grid that has rows but no current row (a new list),
    // the first row becomes current, so Enter and the menu key act on it.
    void MakeFirstRowCurrent();

  private:
    ListTableModel* m_model;
};

}  // namespace kest::gui
