#pragma once

#include <QMainWindow>

#include "core/app/Session.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"
#include "gui/app/WindowParts.h"
#include "platform/Volumes.h"

namespace kest::gui {

// frmKest, the main window: it holds the program's session and the two
// lists, builds the controls and menus, assembles the parts (the Discs and
// Search views, the catalog commands' host, the tray, the scan, the help
// windows) and routes the menus, the toolbar and the shortcuts to them.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(AppPaths paths, Prompter& prompter, const platform::Volumes& volumes);
    ~MainWindow() override;

    // The start-up sequence, with the catalog given on the command line (or
    // by a file manager) when catalogPath is not empty.
    void Start(const std::string& catalogPath = {});

    app::Session& Session() { return m_session; }
    const MainControls& Controls() const { return c; }
    const MainMenus& Menus() const { return m; }
    const WindowParts& Parts() const { return m_parts; }
    const discs::DiscList& Discs() const { return m_discs; }
    const search::SearchPanel& Search() const { return m_panel; }

    // The toolbar's buttons by index (1 Discs, 2 Search, 3 Options, 4 Help, 5 Exit).
    void ToolbarAction(int index);
    // The drive box after volumes were mounted or unmounted.
    void RefreshDrives();
    // Query-unload: false when the close becomes hiding behind the tray icon.
    bool QueryUnload(bool fromCloseBox);
    // mnuExit, mnuExit2 and toolbar button 5: ends the program.
    void Exit();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void MakeParts(Prompter& prompter);
    void ConnectParts();
    void ConnectMenus();
    // Tools > Refresh the Discs List: the list read again in the Discs view.
    void RefreshDiscList();
    // The window's state (place, toolbar, lists) into the settings, saved.
    void SaveSettings();
    void Unload();

    app::Session m_session;
    const platform::Volumes& m_volumes;
    discs::DiscList m_discs;
    search::SearchPanel m_panel;
    MainControls c;
    MainMenus m;
    WindowParts m_parts;
    bool m_exiting = false;
    bool m_unloaded = false;
};

}  // namespace kest::gui
