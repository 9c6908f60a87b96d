#include "core/search/SearchCommand.h"

#include <ctime>
#include <new>

#include "core/common/Errors.h"
#include "core/engine/Database.h"
#include "core/search/CriteriaCheck.h"
#include "core/search/QueryBuilder.h"
#include "core/search/SearchText.h"

namespace kest::search {
namespace {

constexpr const char* kContentsOrder =
    "ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName;";

DisplaySnapshot Snapshot(const SearchOptions& options) {
    return DisplaySnapshot{options.sizeFormat, options.sizeNumDec, options.dateFormat};
}

// The hourglass pointer for the life of a command, whichever way it ends.
class BusyPointer {
  public:
    explicit BusyPointer(SearchViewHooks& view) : m_view(view) { m_view.SetBusyPointer(true); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    ~BusyPointer() { m_view.SetBusyPointer(false); }

  private:
    SearchViewHooks& m_view;
};

void ShowSearchError(SearchPanel& panel, const KestError& e, Prompter& prompter,
                     SearchViewHooks* view) {
    panel.status1 =
        "Error #" + std::to_string(e.Number()) + " while searching. See Help>Content>Errors";
    if (view) view->ShowPanel();
    prompter.ShowError("SQL query error", e.Number(), e.Description());
}

// While the results fill, the view sees them arrive (through the engine's
// periodic check) and may stop the fill.
class ArrivingRows {
  public:
    ArrivingRows(engine::Database& db, const ListTable& rows, SearchViewHooks* view) : m_db(db) {
        if (view == nullptr) return;
        m_db.StopWhen([this, &rows, view] {
            m_stopped = m_stopped || view->RowsArriving(rows);
            return m_stopped;
        });
        m_watched = true;
    }
    ArrivingRows(const ArrivingRows&) = delete;
    ArrivingRows& operator=(const ArrivingRows&) = delete;
    ~ArrivingRows() {
        if (m_watched) m_db.StopWhen({});
    }
    bool Stopped() const { return m_stopped; }

  private:
    engine::Database& m_db;
    bool m_watched = false;
    bool m_stopped = false;
};

// Fills the results from a statement and lays them out; on an error, or when
// the user stops the fill, the rows read so far stay and the count says
// "(aborted)"; an error is told to the user (after the view shows it, when
// there is one).
bool FillResults(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
                 const std::string& statement, Prompter& prompter, SearchViewHooks* view) {
    // The columns are laid out before the first row, for rows handed over as they come.
    auto layOut = [&](ListTable& table) { FillResultsGrid(table, options, panel.widths); };
    ArrivingRows arriving(db, panel.results, view);
    try {
        FillFromStatement(db, statement, panel.results, layOut);
        return true;
    } catch (const KestError& e) {
        FillResultsGrid(panel.results, options, panel.widths);
        panel.matchCount = static_cast<int64_t>(panel.results.AddedRowCount());
        if (panel.matchCount > 0)
            panel.resultCount = "Matches Found: " + std::to_string(panel.matchCount) + " (aborted)";
        if (arriving.Stopped()) {
            panel.status1 = "Search stopped";
            panel.focus = panel.matchCount > 0 ? SearchFocus::Results : SearchFocus::SearchBox;
            view->ShowPanel();
        } else {
            ShowSearchError(panel, e, prompter, view);
        }
        return false;
    }
}

// The count and time texts once the results are in, shown at once; an empty
// result keeps one blank row and then tells the user.
void ReportCount(SearchPanel& panel, std::time_t start, const std::string& noneText,
                 Prompter& prompter, SearchViewHooks& view) {
    panel.matchCount = static_cast<int64_t>(panel.results.AddedRowCount());
    panel.resultCount = "Matches Found: " + std::to_string(panel.matchCount);
    panel.status1 = "Search time: " + std::to_string(std::time(nullptr) - start) + " s";
    if (panel.matchCount == 0) panel.results.AddBlankRow();
    view.ShowPanel();
    if (panel.matchCount == 0) {
        prompter.Show("Search results", noneText, Icon::Information);
        panel.focus = SearchFocus::SearchBox;
    } else {
        panel.focus = SearchFocus::Results;
    }
}

}  // namespace

void FillFromStatement(engine::Database& db, const std::string& statement, ListTable& table,
                       const std::function<void(ListTable&)>& layOut) {
    try {
        table.Clear();
        engine::Statement query = db.Prepare(statement);
        std::vector<ListColumn> columns(static_cast<size_t>(query.ColumnCount()));
        for (size_t c = 0; c < columns.size(); ++c)
            columns[c].header = query.ColumnName(static_cast<int>(c));
        table.Reset(std::move(columns));
        if (layOut) layOut(table);
        const int count = query.ColumnCount();
        std::string scratch;
        while (query.Step())
            for (int c = 0; c < count; ++c) table.AddCell(query.TextView(c, scratch));
    } catch (const std::bad_alloc&) {
        throw err::OutOfMemory();
    }
}

SearchOutcome SearchCommand(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
                            int64_t discCount, Prompter& prompter, SearchViewHooks& view) {
    if (panel.detailsOpen) return SearchOutcome::Ignored;
    if (discCount <= 0) {
        prompter.Show("Database warning", "No Disc(s) in database!", Icon::Information);
        panel.focus = SearchFocus::SearchBox;
        return SearchOutcome::NoDiscs;
    }
    panel.searchText = NormaliseSearchText(TrimBlanks(panel.searchText));
    if (panel.searchText.empty()) {
        prompter.Show("Null search input", "No search parameters!", Icon::Information);
        panel.focus = SearchFocus::SearchBox;
        return SearchOutcome::NoText;
    }
    if (options.advanced) {
        if (auto failure = CheckBounds(panel.bounds)) {
            prompter.Show(failure->title, failure->text, Icon::Critical);
            panel.focus = SearchFocus::Bound;
            panel.focusBox = failure->box;
            return SearchOutcome::BadBound;
        }
    }
    return RunSearch(db, panel, options, panel.searchText, prompter, view) ? SearchOutcome::Ran
                                                                           : SearchOutcome::Failed;
}

bool RunSearch(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
               const std::string& searchText, Prompter& prompter, SearchViewHooks& view) {
    BusyPointer pointer(view);
    panel.status1.clear();
    panel.status2.clear();
    view.ShowPanel();
    panel.snapshot = Snapshot(options);
    std::time_t start = std::time(nullptr);
    panel.resultCount = kNoMatchCount;
    panel.matchCount = 0;
    view.SetBusy(true);
    RememberWidths(panel.results, panel.widths);
    panel.results.Clear();
    view.ShowPanel();

    if (panel.history.Add(searchText)) panel.searchText = searchText;
    std::string statement;
    bool filled = false;
    try {
        statement = BuildSearchStatement(searchText, panel.bounds, options);
        panel.statement = statement;
        filled = FillResults(db, panel, options, statement, prompter, &view);
    } catch (const KestError& e) {
        ShowSearchError(panel, e, prompter, &view);
    }
    if (filled)
        ReportCount(panel, start, "No Records found with specified criteria.", prompter, view);
    view.SetBusy(false);
    return filled;
}

bool RefreshResults(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
                    Prompter& prompter) {
    if (panel.statement.empty()) return false;
    RememberWidths(panel.results, panel.widths);
    panel.snapshot = Snapshot(options);
    if (!FillResults(db, panel, options, panel.statement, prompter, nullptr)) return false;
    panel.matchCount = static_cast<int64_t>(panel.results.RowCount());
    panel.resultCount = "Matches Found: " + std::to_string(panel.matchCount);
    if (panel.matchCount == 0) panel.results.AddBlankRow();
    return true;
}

bool ShowContents(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
                  const std::optional<std::string>& kestId, Prompter& prompter,
                  SearchViewHooks& view) {
    view.ShowPanel();
    std::time_t start = std::time(nullptr);
    BusyPointer pointer(view);
    panel.snapshot = Snapshot(options);
    panel.resultCount = kNoMatchCount;
    panel.matchCount = 0;
    panel.status1.clear();
    ResetResultsGrid(panel.results, options, panel.widths);
    view.ShowPanel();

    std::string statement = BuildSelectList(options);
    if (kestId) statement += "WHERE tblFiles.KestId = " + *kestId + " ";
    statement += kContentsOrder;
    panel.statement = statement;
    if (!FillResults(db, panel, options, statement, prompter, &view)) return false;

    panel.searchText.clear();
    if (options.advanced) panel.bounds = SearchBounds{};
    view.ShowSearchView();
    ReportCount(panel, start, "No Records found with this criteria.", prompter, view);
    if (!kestId) {
        panel.searchText = "*";
    } else if (options.advanced) {
        panel.bounds.discFrom = panel.bounds.discTo = *kestId;
        panel.searchText = "*";
    }
    return true;
}

void ClearAll(SearchPanel& panel, const SearchOptions& options, Prompter& prompter,
              SearchViewHooks& view) {
    try {
        panel.searchText.clear();
        if (options.advanced) panel.bounds = SearchBounds{};
        panel.resultCount = kNoMatchCount;
        panel.matchCount = 0;
        view.SetBusy(true);
        panel.status1.clear();
        panel.status2.clear();
        ResetResultsGrid(panel.results, options, panel.widths);
        view.ShowPanel();
        if (prompter.Show("Clear search list?",
                          "Would you also like to clear the drop-down search list?", Icon::Question,
                          Buttons::YesNo, 2) == Answer::Yes)
            panel.history.Clear();
    } catch (const KestError& e) {
        prompter.ShowError("Error on clear", e.Number(), e.Description());
    }
    view.SetBusy(false);
}

}  // namespace kest::search
