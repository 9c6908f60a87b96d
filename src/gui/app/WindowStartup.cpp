#include "gui/app/WindowStartup.h"

#include <QMainWindow>

#include "gui/app/CatalogHostView.h"
#include "gui/app/DiscsView.h"
#include "gui/app/SearchView.h"
#include "gui/app/ViewSwitch.h"
#include "gui/app/WindowLook.h"
#include "gui/app/WindowPlace.h"

namespace kest::gui {

WindowStartup::WindowStartup(app::Session& session, const MainControls& controls,
                             const MainMenus& menus, const WindowParts& parts, QMainWindow* window)
    : QObject(window), m_session(session), c(controls), m(menus), p(parts), m_window(window) {}

WindowState WindowStartup::PreparedWindowState() {
    return gui::PreparedWindowState();
}

void WindowStartup::HideScanProgress() {
    c.progress.panel->hide();
    c.progress.tmrAnimate->stop();
}

void WindowStartup::ApplySettings() {
    m.mnuToolbar->setChecked(m_session.window.toolbarVisible);
    ShowToolbar(c, m_session.window.toolbarVisible);
    ApplyColours(c, m_session.settings);
    ApplyGridFont(c, m_session.window);
    FitMinimumSize(m_window, m_session.settings);
    ApplyWindowPlace(m_window, m_session.window);
    p.search->ApplySettings();
    p.views->UpdateCaptions();
    p.views->ShowControls();
}

void WindowStartup::ShowWindow() {
    m_window->show();
}

void WindowStartup::PrepareGrids() {
    p.search->PrepareGrid();
}

void WindowStartup::ReloadDiscList() {
    p.discs->Load();
}

void WindowStartup::SetCatalogControls(bool open) {
    p.host->EnableControls(open);
    if (open) p.discs->FillDrives();
}

void WindowStartup::ShowWithoutCatalog() {
    p.discs->ShowWithoutCatalog();
    m_window->setWindowTitle(QStringLiteral("Kest"));
    p.host->EnableControls(false);
}

}  // namespace kest::gui
