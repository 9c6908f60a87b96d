#include "gui/explore/ExploreHooks.h"

#include <charconv>

#include "core/app/SessionLists.h"
#include "core/discs/SelectedDisc.h"
#include "core/search/SearchText.h"
#include "gui/explore/frmExplore.h"
#include "gui/grids/ListGrid.h"

namespace kest::gui {
namespace {

template <typename Number>
std::optional<Number> WholeNumber(const std::string& text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

ExploreHost MakeExploreHost(app::Session& session, const platform::Volumes& volumes,
                            discs::DiscList& discs, search::SearchPanel& results,
                            std::function<void()> listsChanged, QWidget* window,
                            const MainControls& controls) {
    QWidget* discList = controls.fgdDiscs;
    return {session,
            volumes,
            [&session, &discs, &results] { return app::CatalogViewsOf(session, discs, results); },
            std::move(listsChanged),
            [window, discList] { return !window->isEnabled() || !discList->isEnabled(); },
            controls.fgdResults->font(),
            controls.fgdDiscs->font()};
}

void ExploreDiscRow(QWidget* window, ExploreHost host, const discs::DiscList& discs,
                    size_t gridRow) {
    if (!host.session.current.HasDatabase() || gridRow == 0 || gridRow > discs.table.RowCount())
        return;
    auto kestId = WholeNumber<int32_t>(
        search::TrimBlanks(discs::SelectedDiscOfRow(discs.table, gridRow - 1).kestId));
    if (kestId) frmExplore::Open(window, std::move(host), *kestId);
}

void ShowResultsRowInTree(QWidget* window, ExploreHost host, const search::SearchPanel& results,
                          size_t gridRow) {
    const ListTable& rows = results.results;
    if (!host.session.current.HasDatabase() || gridRow == 0 || gridRow > rows.RowCount() ||
        rows.ColumnCount() < 2)
        return;
    auto fileId = WholeNumber<int64_t>(search::TrimBlanks(rows.Cell(gridRow - 1, 1)));
    if (fileId) frmExplore::ShowFile(window, std::move(host), *fileId);
}

}  // namespace kest::gui
