#pragma once

#include <QObject>

#include "core/app/Startup.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"
#include "gui/app/WindowParts.h"

class QMainWindow;

namespace kest::gui {

// The main window's side of the start-up sequence: the settings applied to
// its look, place and views; its grids, disc list and catalog controls.
class WindowStartup : public QObject, public app::StartupView {
    Q_OBJECT
  public:
    WindowStartup(app::Session& session, const MainControls& controls, const MainMenus& menus,
                  const WindowParts& parts, QMainWindow* window);

    WindowState PreparedWindowState() override;
    void HideScanProgress() override;
    void ApplySettings() override;
    void ShowWindow() override;
    void PrepareGrids() override;
    void ReloadDiscList() override;
    void SetCatalogControls(bool open) override;
    void ShowWithoutCatalog() override;

  private:
    app::Session& m_session;
    const MainControls& c;
    const MainMenus& m;
    const WindowParts& p;
    QMainWindow* m_window;
};

}  // namespace kest::gui
