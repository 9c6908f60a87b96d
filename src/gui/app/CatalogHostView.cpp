#include "gui/app/CatalogHostView.h"

#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CloseCatalog.h"
#include "core/catalog/CompactCatalog.h"
#include "core/catalog/PropertiesReport.h"
#include "core/catalog/RepairCatalog.h"
#include "core/catalog/SaveCatalogAs.h"
#include "gui/app/DiscsView.h"
#include "gui/app/SearchView.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/dialogs/ErrorTrap.h"

namespace kest::gui {

namespace {

// The File and Tools menus' catalog commands, run by core over the host, each
// with its errors trapped under its own title.
void ConnectCatalogMenus(const MainMenus& m, app::Session& session, CatalogHost& host,
                         CatalogProgress& progress, QObject* owner) {
    CurrentCatalog& current = session.current;
    Prompter& prompter = session.prompter;
    auto on = [&prompter, owner](QAction* entry, const char* title, std::function<void()> command) {
        QObject::connect(entry, &QAction::triggered, owner,
                         [&prompter, title, command = std::move(command)] {
                             RunTrapped(prompter, title, command);
                         });
    };
    on(m.mnuOpDB, "Error in opening database",
       [&] { OpenCatalog(current, host, prompter, OpenSource::AskForFile); });
    on(m.mnuCrDB, "Error in creating database",
       [&] { CreateCatalogCommand(current, host, prompter); });
    on(m.mnuComp, "Error in compacting database", [&] { CompactCommand(current, host, prompter); });
    on(m.mnuRep, "Error in repairing database", [&] { RepairCommand(current, host, prompter); });
    on(m.mnuReindex, "Error in rebuilding the search index",
       [&] { progress.RebuildIndex(current, prompter); });
    on(m.mnuSaveDBAs, "Error in saving database", [&] { SaveCatalogAs(current, host, prompter); });
    on(m.mnuClose, "Error in closing database", [&] { CloseCatalog(current, host, prompter); });
    on(m.mnuDBProp, "Error in getting Properties", [&] {
        PropertiesCommand(current, host, prompter, session.paths.ReportPath().string(),
                          DesktopShell());
    });
}

}  // namespace

CatalogHostView::CatalogHostView(app::Session& session, DiscsView& discs, SearchView& search,
                                 const MainControls& controls, const MainMenus& menus,
                                 QWidget* window, CatalogWindowCalls calls)
    : QObject(window),
      m_session(session),
      m_discs(discs),
      m_search(search),
      c(controls),
      m(menus),
      m_window(window),
      m_calls(std::move(calls)),
      m_progress(window) {
    setObjectName(QStringLiteral("catalogHost"));
    ConnectCatalogMenus(m, m_session, *this, m_progress, this);
    connect(&m_discs, &DiscsView::CatalogDropped, this,
            [this](const QString& path) { OpenPath(path.toStdString()); });
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
                           m.mnuScanImage, m.mnuRefD, m.mnuReindex})
        entry->setEnabled(open);
    m.mnuSave->setEnabled(open);
}

void CatalogHostView::SetMainWindowEnabled(bool enabled) {
    m_window->setEnabled(enabled);
}

void CatalogHostView::SetBusyPointer(bool busy) {
    m_progress.SetBusy(busy);
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
    m_calls.updateViewCaptions();
}

void CatalogHostView::SaveSettings() {
    m_calls.saveSettings();
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
    m_calls.reinstallTrayIcon();
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
