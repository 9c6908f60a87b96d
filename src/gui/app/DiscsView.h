#pragma once

#include <QObject>
#include <string>

#include "core/app/Session.h"
#include "core/discs/CatalogViews.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"
#include "platform/Volumes.h"

namespace kest::gui {

// The Discs view: the disc list with its summary and the window title, the
// drive box, and what the disc grid does (sorting by a header, its pop-up
// menu, disc details, deleting discs, a catalog dropped on it). What it asks
// of the rest of the window goes out as signals.
class DiscsView : public QObject {
    Q_OBJECT
  public:
    DiscsView(app::Session& session, const platform::Volumes& volumes, discs::DiscList& discs,
              search::SearchPanel& results, const MainControls& controls, const MainMenus& menus,
              QWidget* window);

    // Reads the disc list of the open catalog again and shows it.
    void Load();
    // The list as it stands into its grid, summary and the window title.
    void Show();
    // The grid and the summary only.
    void ShowList();
    // The list emptied to its headers.
    void ShowHeaders();
    // Without a catalog: the headers only and "No active database.".
    void ShowWithoutCatalog();
    void FillDrives();
    // The drive box after volumes were mounted or unmounted.
    void RefreshDrives(bool scanRunning);
    // The grid's column widths into the window state.
    void CollectWidths();

    // The pop-up menu for a right click at a viewport point.
    void ShowMenu(const QPoint& at);
    // The Delete key and "Multiple Disc Delete...": the selected rows' discs.
    void DeleteSelected();
    // A file dropped on the list: a catalog (.kst) is to be opened.
    void Drop(const std::string& path);

  signals:
    // "Disc Contents" (the disc's KestId) and "Database Contents" (empty).
    void ContentsWanted(const QString& kestId);
    // A dialog or a deletion changed the catalog's lists.
    void ListsChanged();
    // The reload may have emptied the results (a catalog without discs).
    void ResultsReset();
    void CatalogDropped(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Connect();
    discs::CatalogViews Views();
    void ShowDetails();
    void DeleteFromMenu();
    // "Explore Disc...", and Ctrl with Enter or a double click (explore/ExploreHooks.h).
    void ExploreDisc();

    app::Session& m_session;
    const platform::Volumes& m_volumes;
    discs::DiscList& m_discs;
    search::SearchPanel& m_results;
    const MainControls& c;
    const MainMenus& m;
    QWidget* m_window;
    std::string m_clickedId;  // the disc row the pop-up menu was opened on
};

}  // namespace kest::gui
