#include "gui/app/CatalogHostView.h"

#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CloseCatalog.h"
#include "core/catalog/CompactCatalog.h"
#include "core/catalog/PropertiesReport.h"
#include "core/catalog/RepairCatalog.h"
#include "core/catalog/SaveCatalogAs.h"
#include "gui/app/DiscsView.h"
#include "gui/app/SearchView.h"
#include "gui/app/TrayIcon.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/dialogs/ErrorTrap.h"

namespace kest::gui {

CatalogHostView::CatalogHostView(app::Session& session, DiscsView& discs, SearchView& search,
                                 const MainControls& controls, const MainMenus& menus,
                                 TrayIcon* tray, QWidget* window)
    : QObject(window),
      m_session(session),
      m_discs(discs),
      m_search(search),
      c(controls),
      m(menus),
      m_tray(tray),
      m_window(window),
      m_progress(window) {
    setObjectName(QStringLiteral("catalogHost"));
    ConnectMenus();
    connect(&m_discs, &DiscsView::CatalogDropped, this,
            [this](const QString& path) { OpenPath(path.toStdString()); });
}

void CatalogHostView::ConnectMenus() {
    CurrentCatalog& current = m_session.current;
    Prompter& prompter = m_session.prompter;
    auto on = [this](QAction* entry, const char* title, std::function<void()> command) {
        connect(entry, &QAction::triggered, this, [this, title, command = std::move(command)] {
            RunTrapped(m_session.prompter, title, command);
        });
    };
    on(m.mnuOpDB, "Error in opening database",
       [&, this] { OpenCatalog(current, *this, prompter, OpenSource::AskForFile); });
    on(m.mnuCrDB, "Error in creating database",
       [&, this] { CreateCatalogCommand(current, *this, prompter); });
    on(m.mnuComp, "Error in compacting database",
       [&, this] { CompactCommand(current, *this, prompter); });
    on(m.mnuRep, "Error in repairing database",
       [&, this] { RepairCommand(current, *this, prompter); });
    on(m.mnuReindex, "Error in rebuilding the search index",
       [&, this] { m_progress.RebuildIndex(current, prompter); });
    on(m.mnuSaveDBAs, "Error in saving database",
       [&, this] { SaveCatalogAs(current, *this, prompter); });
    on(m.mnuClose, "Error in closing database",
       [&, this] { CloseCatalog(current, *this, prompter); });
    on(m.mnuDBProp, "Error in getting Properties", [&, this] {
        PropertiesCommand(current, *this, prompter, m_session.paths.ReportPath().string(),
                          DesktopShell());
    });
}

void CatalogHostView::OpenPath(const std::string& path) {
    RunTrapped(m_session.prompter, "Error in opening database", [&] {
        OpenCatalog(m_session.current, *this, m_session.prompter, OpenSource::GivenPath,
                    app::AbsolutePath(path));
    });
}

void CatalogHostView::EnableControls(bool open) {
    m_session.current.open = open;
    for (QWidget* control : {static_cast<QWidget*>(c.cmdClear), static_cast<QWidget*>(c.cmdQuery),
                             static_cast<QWidget*>(c.cmdAdv), static_cast<QWidget*>(c.txtSzFr),
                             static_cast<QWidget*>(c.txtSzTo), static_cast<QWidget*>(c.txtDtFr),
                             static_cast<QWidget*>(c.txtDtTo), static_cast<QWidget*>(c.txtRiFr),
                             static_cast<QWidget*>(c.txtRiTo), static_cast<QWidget*>(c.cmdSS),
                             static_cast<QWidget*>(c.cboSearch), static_cast<QWidget*>(c.drvMain),
                             static_cast<QWidget*>(c.icbDrives)})
        control->setEnabled(open);
    for (QAction* entry : {m.mnuComp, m.mnuClose, m.mnuSaveDBAs, m.mnuDBProp, m.mnuScanFolder,
                           m.mnuRefD, m.mnuReindex})
        entry->setEnabled(open);
    m.mnuSave->setEnabled(open);
}

void CatalogHostView::SetMainWindowEnabled(bool enabled) {
    m_window->setEnabled(enabled);
}

void CatalogHostView::SetBusyPointer(bool busy) {
    m_busy.Set(busy);
}

// Paints what changed at once; input waits, so no command can start meanwhile.
void CatalogHostView::ProcessMessages() {
    m_window->repaint();
}

void CatalogHostView::CatalogReplaced() {
    m_search.ClearResults();
    m_discs.Load();
}

void CatalogHostView::EnableCatalogControls() {
    EnableControls(m_session.current.HasDatabase());
}

void CatalogHostView::UpdateViewCaptions() {
    if (updateViewCaptions) updateViewCaptions();
}

void CatalogHostView::SaveSettings() {
    if (saveSettings) saveSettings();
}

std::string CatalogHostView::ProgramFolder() const {
    return m_session.ProgramFolder();
}

void CatalogHostView::ClearResults() {
    m_search.ClearResults();
}

void CatalogHostView::KeepUsedSpaceWidth() {
    m_discs.CollectWidths();
}

// The grids show the core's lists, which hold no handle on the catalog file.
void CatalogHostView::ReleaseBindings() {}

void CatalogHostView::ClearGrids() {
    m_discs.ShowHeaders();
    m_search.PrepareGrid();
}

void CatalogHostView::DisableCatalogControls() {
    EnableControls(false);
}

void CatalogHostView::ShowNoCatalog(const std::string& discCounter, const std::string& caption) {
    c.lblNumDiscs->setText(QString::fromStdString(discCounter));
    m_window->setWindowTitle(QString::fromStdString(caption));
}

void CatalogHostView::ReinstallTrayIcon() {
    if (m_tray) m_tray->Reinstall();
}

void CatalogHostView::ShowIndexProgress(int64_t done, int64_t total) {
    c.panels[1]->setText(
        done < total
            ? QStringLiteral("Indexing the catalog for search: %1 of %2 rows").arg(done).arg(total)
            : QString());
    c.panels[1]->repaint();
}

bool CatalogHostView::ShowSalvageProgress(int64_t done, int64_t total) {
    return m_progress.Salvage(done, total);
}

void CatalogHostView::ShowIndexProblem(const std::string& text) {
    c.panels[1]->setText(QString::fromStdString(text));
}

}  // namespace kest::gui
