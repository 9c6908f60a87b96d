#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "core/app/Session.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"
#include "gui/app/MainControls.h"
#include "gui/grids/ListFillGate.h"
#include "gui/widgets/BusyPointer.h"

namespace kest::gui {

// The Search view: the search box with its history, the advanced panel's
// bounds, the result count and the results grid, and the search commands
// run over them (query, clear all, a disc's or the catalog's contents). It
// is those commands' view: core tells it when to show what.
class SearchView : public QObject, public search::SearchViewHooks {
    Q_OBJECT
  public:
    SearchView(app::Session& session, const discs::DiscList& discs, search::SearchPanel& panel,
               const MainControls& controls, QWidget* window);

    // Searching waits while this says another command (a scan) owns the catalog.
    std::function<bool()> otherCommandRunning;

    void RunQuery();
    void ClearAllCriteria();
    void ToggleAdvanced();
    // The view's own controls when it is shown (true) or hidden.
    void ShowControls(bool shown);
    // The contents of one disc (its KestId) or of the whole catalog (empty).
    void ShowContents(const QString& kestId);
    // The results emptied to their headers, the count back to "---".
    void ClearResults();
    // The results grid empty with its headers, as at start-up.
    void PrepareGrid();
    // The panel from the settings just loaded, and the texts that follow them.
    void ApplySettings();
    // The hint and the size boxes' tips after the options changed.
    void ShowHints();
    // The results, count and status panels again after the lists changed.
    void ShowLists();
    // The text, history and column widths into the session's window state.
    void CollectState();

    // How long a filling list goes between showing its new rows (100 ms).
    void SetArrivalPause(std::chrono::milliseconds pause) { m_arrivalPause = pause; }

    // SearchViewHooks.
    void SetBusy(bool busy) override;
    void SetBusyPointer(bool busy) override;
    void ShowPanel() override;
    void ShowSearchView() override;
    bool RowsArriving(const ListTable& results) override;

  signals:
    void SearchViewWanted();
    // The results grid shows the rows so far of a list that is still filling.
    void RowsArrived(int rows);

  private:
    // The search text and bound boxes into the panel, and back.
    void ReadCriteria();
    void ShowCriteria();
    void ShowResults();
    QLineEdit* BoundBoxWidget(search::BoundBox box) const;
    void FillSearchBox();
    void ShowAdvanced(bool open);

    app::Session& m_session;
    const discs::DiscList& m_discs;
    search::SearchPanel& m_panel;
    const MainControls& c;
    QWidget* m_window;
    BusyPointer m_busy;
    // A filling list: its rows are shown now and then, and Escape stops it.
    ListFillGate m_fillGate;
    std::chrono::milliseconds m_arrivalPause{100};
    std::chrono::steady_clock::time_point m_nextArrival;
    bool m_fillShown = false;  // the grid shows the rows of the command's fill
};

}  // namespace kest::gui
