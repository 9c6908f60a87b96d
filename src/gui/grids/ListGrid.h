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
    // The widths (twips) the user gave the shown columns, by table column.
    std::vector<std::pair<size_t, int>> ColumnTwips() const;
    // The selected rows' shown cells, tab-separated, one line per row.
    QString SelectedText() const;
    // The lists have no type-ahead: a letter would read every row of a
    // million-row list, and typed text does nothing in them.
    void keyboardSearch(const QString& search) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ListTableModel* m_model;
};

}  // namespace kest::gui
