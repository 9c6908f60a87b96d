#pragma once

#include <QObject>

#include "core/app/Session.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"
#include "gui/grids/ListFillGate.h"
#include "platform/Volumes.h"

namespace kest::gui {

// What the results grid does over its rows: sorting by a header, its pop-up
// menu, the file details (double click, Enter, "File Details..."), the file
// functions and the multiple description update.
class ResultsMenu : public QObject {
    Q_OBJECT
  public:
    ResultsMenu(app::Session& session, const platform::Volumes& volumes, discs::DiscList& discs,
                search::SearchPanel& panel, const MainControls& controls, const MainMenus& menus,
                QWidget* window);

    // The pop-up menu for a right click at a viewport point: the entries over
    // one file for one selected row, the multiple description update for several.
    void ShowMenu(const QPoint& at);
    void ShowFileDetails();
    // Open File (1), Open Folder (2) or Explore Folder (3) on the current row.
    void ShowFileFunction(int function);
    void UpdateDescriptions();
    // "Show in Folder Tree": the Explore window at the current row's file.
    void ShowInFolderTree();

  signals:
    // A dialog changed the catalog's lists.
    void ListsChanged();

  private:
    app::Session& m_session;
    const platform::Volumes& m_volumes;
    discs::DiscList& m_discs;
    search::SearchPanel& m_panel;
    const MainControls& c;
    const MainMenus& m;
    QWidget* m_window;
    // A long sort runs behind it while the grid paints and scrolls.
    ListFillGate m_sortGate;
};

}  // namespace kest::gui
