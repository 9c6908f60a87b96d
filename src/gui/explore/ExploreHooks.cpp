// The main window's ways into the Explore window: the disc list's "Explore
// Disc..." (and Ctrl with Enter or a double click), the results' "Show in
// Folder Tree".
#include <charconv>

#include "core/discs/SelectedDisc.h"
#include "core/search/SearchText.h"
#include "gui/app/GridActions.h"
#include "gui/app/MainWindow.h"
#include "gui/explore/frmExplore.h"
#include "gui/grids/ListGrid.h"
#include "gui/scan/WindowScan.h"

namespace kest::gui {
namespace {

template <typename Number>
std::optional<Number> WholeNumber(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

ExploreHost MainWindow::ExploreHostOf() {
    return {m_session,
            m_volumes,
            [this] { return CatalogViews(); },
            [this] { ShowChangedLists(); },
            [this] { return m_scan && m_scan->Running(); },
            c.fgdResults->font(),
            c.fgdDiscs->font()};
}

void MainWindow::ExploreDisc() {
    const size_t row = SelectionOf(c.fgdDiscs).rowSel;
    if (!m_session.current.HasDatabase() || row == 0 || row > m_discs.table.RowCount()) return;
    auto kestId = WholeNumber<int32_t>(
        search::TrimBlanks(discs::SelectedDiscOfRow(m_discs.table, row - 1).kestId));
    if (!kestId) return;
    frmExplore::Open(this, ExploreHostOf(), *kestId);
}

void MainWindow::ShowInFolderTree() {
    const size_t row = SelectionOf(c.fgdResults).rowSel;
    const ListTable& results = m_panel.results;
    if (!m_session.current.HasDatabase() || row == 0 || row > results.RowCount() ||
        results.ColumnCount() < 2)
        return;
    auto fileId = WholeNumber<int64_t>(search::TrimBlanks(results.Cell(row - 1, 1)));
    if (!fileId) return;
    frmExplore::ShowFile(this, ExploreHostOf(), *fileId);
}

}  // namespace kest::gui
