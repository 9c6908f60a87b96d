#pragma once

#include <QObject>
#include <string>

#include "core/discs/CatalogViews.h"
#include "core/search/ListDump.h"
#include "core/search/ListSelection.h"

namespace kest::gui {

class ListGrid;
class MainWindow;

// The grids' header clicks, pop-up menus and keys that run catalog
// commands: sorting, the contents of a disc or of the catalog, deleting discs (the pop-up entries
// and the Delete key), saving either list, and a catalog file dropped on the disc list.
class GridActions : public QObject {
    Q_OBJECT
  public:
    explicit GridActions(MainWindow& window);
    ~GridActions() override;

    // The disc list's pop-up menu for a right click at a viewport point.
    void ShowDiscMenu(const QPoint& at);
    // The results list's pop-up menu for a right click at a viewport point:
    // the entries over one file for one selected row, the multiple
    // description update for several.
    void ShowResultsMenu(const QPoint& at);
    void ShowContents(bool wholeCatalog);
    // A click on a column header: sorts the list by it, marking it "^" or "v".
    void SortByHeader(ListGrid& grid, int section);
    // The Delete key and "Multiple Disc Delete...": the selected rows' discs.
    void DeleteSelectedDiscs();
    // Saves the results (true) or the disc list as text or CSV.
    void SaveList(bool results, search::ListFormat format);
    // A file dropped on the disc list: a catalog (.kst) opens, others are ignored.
    void OpenDroppedFile(const std::string& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Connect();
    // Drags of files onto the disc list are copies; true when handled.
    bool DragOrDrop(QEvent* event);
    search::DumpSource Source(bool results) const;
    // The selection a right click at a viewport point acts on, and the
    // clicked grid row (0 off the rows or without a catalog).
    std::pair<search::GridSelection, size_t> RightClicked(const ListGrid& grid,
                                                          const QPoint& at) const;

    MainWindow& w;
    std::string m_clickedId;  // the disc row the pop-up menu was opened on
};

// The grid's selection as the list commands count it (grid rows, the header
// being row 0): rowSel the current row, row the other end of the selected
// block; rowSel is 0 when nothing is selected.
search::GridSelection SelectionOf(const ListGrid* grid);
// Selects the grid rows of a selection.
void Select(ListGrid& grid, search::GridSelection selection);

}  // namespace kest::gui
