#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "core/app/Session.h"
#include "core/catalog/CatalogHost.h"
#include "gui/app/CatalogProgress.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"

namespace kest::gui {

class DiscsView;
class SearchView;

// The hooks of the catalog commands that only the main window can serve: its
// views' captions, its settings saved, its tray icon put back.
struct CatalogWindowCalls {
    std::function<void()> updateViewCaptions;
    std::function<void()> saveSettings;
    std::function<void()> reinstallTrayIcon;
};

// The File and Tools menus' catalog commands (open, create, compact, repair,
// rebuild the search index, save as, close, properties, a catalog dropped on
// the disc list) and the window's side of them: what those commands ask of
// their host while they let go of the catalog and take it back.
class CatalogHostView : public QObject, public CatalogHost {
    Q_OBJECT
  public:
    CatalogHostView(app::Session& session, DiscsView& discs, SearchView& search,
                    const MainControls& controls, const MainMenus& menus, QWidget* window,
                    CatalogWindowCalls calls);

    // The controls and menu entries that need an open catalog, enabled or not.
    void EnableControls(bool open);
    // Opens a catalog given by its path (dropped or named on the command line).
    void OpenPath(const std::string& path);

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
    void ShowIndexProblem(const std::string& text) override;
    bool ShowSalvageProgress(int64_t done, int64_t total) override;

  private:
    app::Session& m_session;
    DiscsView& m_discs;
    SearchView& m_search;
    const MainControls& c;
    const MainMenus& m;
    QWidget* m_window;
    CatalogWindowCalls m_calls;
    CatalogProgress m_progress;
};

}  // namespace kest::gui
