#pragma once

#include <QMainWindow>
#include <functional>

#include "core/app/Session.h"
#include "core/app/ViewTexts.h"
#include "core/discs/CatalogViews.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchPanel.h"
#include "gui/app/BusyPointer.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"
#include "platform/Volumes.h"

namespace kest::gui {

class ListTableModel;
class GridActions;
class TrayIcon;
class WindowScan;

// frmKest, the main window: the Discs and Search views, menus, toolbar and
// status bar over the program's session. It is the catalog commands' host
// and the search command's view.
class MainWindow : public QMainWindow, public CatalogHost, public search::SearchViewHooks {
    Q_OBJECT
  public:
    MainWindow(AppPaths paths, Prompter& prompter, const platform::Volumes& volumes);
    ~MainWindow() override;

    // The start-up sequence: settings, window place and colours, then the
    // catalog (catalogPath when given, opened as a dropped file is; else the
    // start-up catalog, offering to create one when it fails).
    void Start(const std::string& catalogPath = {});

    app::Session& Session() { return m_session; }
    const MainControls& Controls() const { return c; }
    const MainMenus& Menus() const { return m; }
    app::View CurrentView() const { return m_view; }
    const discs::DiscList& Discs() const { return m_discs; }
    const search::SearchPanel& Search() const { return m_panel; }
    TrayIcon* Tray() const { return m_tray; }
    WindowScan& Scan() const { return *m_scan; }
    GridActions& Grids() const { return *m_grids; }

    // The toolbar's buttons by index (1 Discs, 2 Search, 3 Options, 4 Help, 5 Exit).
    void ToolbarAction(int index);
    void ShowViewControls(bool discsView);
    // The drive box after volumes were mounted or unmounted.
    void RefreshDrives();
    // Lists only the discs the filter keeps (the filter box over the list).
    void FilterDiscs(const discfacts::DiscFilter& filter);
    void ShowAdvanced(bool show);
    void EnableCatalogControls(bool open);
    // Query-unload: false when the close becomes hiding behind the tray icon.
    bool QueryUnload(bool fromCloseBox);
    // mnuExit, mnuExit2 and toolbar button 5: ends the program.
    void Exit();

    // CatalogHost.
    void SetMainWindowEnabled(bool enabled) override;
    void SetBusyPointer(bool busy) override;
    void ProcessMessages() override;
    void CatalogReplaced() override;
    void EnableCatalogControls() override;
    void UpdateViewCaptions() override;
    void SaveSettings() override;
    std::string ProgramFolder() const override;
    void ClearResults() override;
    void KeepUsedSpaceWidth() override;
    void ReleaseBindings() override;
    void ClearGrids() override;
    void DisableCatalogControls() override;
    void ShowNoCatalog(const std::string& discCounter, const std::string& caption) override;
    void ReinstallTrayIcon() override;
    void ShowIndexProgress(int64_t done, int64_t total) override;

    // SearchViewHooks.
    void SetBusy(bool busy) override;
    void Repaint() override;
    void ShowSearchView() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The grids' catalog commands work on the lists and the panel.
    friend class GridActions;

    void ConnectMenus();
    void ConnectCatalogMenus();
    // The details dialogs' entries (DialogActions.cpp).
    void ConnectDialogs();
    discs::CatalogViews CatalogViews();
    void ShowFileDetails();
    void ShowDiscDetails();
    void ShowFileFunction(int function);
    // "Delete Disc..." of the disc list's pop-up menu, for the current row.
    void DeleteDiscFromMenu();
    // mnuOpts: the options dialog (OptionsActions.cpp); the window takes what
    // each Apply changed, the disc list what its closing changed.
    void ConnectOptions();
    void ShowOptions();
    void TakeOptions();
    // Redraws the lists and counts after a dialog changed the catalog.
    void ShowChangedLists();
    void ApplySettings();
    void ApplyColours();
    void ApplyGridFont();
    void UpdateMinimumSize();
    void HideScanProgress();
    bool OpenStartupCatalog();
    void NoCatalog();
    void LoadDiscList();
    // The disc list as it stands into its grid, summary and title.
    void ShowDiscList();
    void ToggleToolbar(bool visible);
    void ToggleAdvanced();
    void RunQuery();
    void ClearAllCriteria();
    // The search text and bound boxes into the panel, and back.
    void ReadCriteria();
    void ShowCriteria();
    void ShowSearchResults();
    QLineEdit* BoundBoxWidget(search::BoundBox box) const;
    void FillSearchBox();
    void CollectWindowState();
    // The disc grid's column widths into the window state.
    void CollectDiscWidths();
    void MinimiseToTray();
    void RestoreFromTray(Qt::WindowState state);
    void Unload();
    // Runs a handler under the error trap: a KestError is shown with the title.
    void Trap(const char* title, const std::function<void()>& handler);

    app::Session m_session;
    const platform::Volumes& m_volumes;
    discs::DiscList m_discs;
    search::SearchPanel m_panel;
    ListTableModel* m_discModel;
    ListTableModel* m_resultModel;
    MainControls c;
    MainMenus m;
    TrayIcon* m_tray = nullptr;
    WindowScan* m_scan = nullptr;
    GridActions* m_grids = nullptr;
    app::View m_view = app::View::Discs;
    BusyPointer m_busy;
    bool m_exiting = false;
    bool m_unloaded = false;
};

}  // namespace kest::gui
