// The File and Tools menus' catalog commands (compact, repair, save as, close,
// properties) and the window's side of them: what those commands ask of their
// host while they let go of the catalog and take it back.
#include <QApplication>

#include "core/catalog/CloseCatalog.h"
#include "core/catalog/CompactCatalog.h"
#include "core/catalog/PropertiesReport.h"
#include "core/catalog/RepairCatalog.h"
#include "core/catalog/SaveCatalogAs.h"
#include "core/discs/DiscListSettings.h"
#include "core/search/ResultsGrid.h"
#include "core/search/SearchSettings.h"
#include "gui/app/MainWindow.h"
#include "gui/app/TrayIcon.h"
#include "platform/Shell.h"

namespace kest::gui {

void MainWindow::ConnectCatalogMenus() {
    Prompter& prompter = m_session.prompter;
    connect(m.mnuComp, &QAction::triggered, this, [this, &prompter] {
        Trap("Error in compacting database",
             [this, &prompter] { CompactCommand(m_session.current, *this, prompter); });
    });
    connect(m.mnuRep, &QAction::triggered, this, [this, &prompter] {
        Trap("Error in repairing database",
             [this, &prompter] { RepairCommand(m_session.current, *this, prompter); });
    });
    connect(m.mnuSaveDBAs, &QAction::triggered, this, [this, &prompter] {
        Trap("Error in saving database",
             [this, &prompter] { SaveCatalogAs(m_session.current, *this, prompter); });
    });
    connect(m.mnuClose, &QAction::triggered, this, [this, &prompter] {
        Trap("Error in closing database",
             [this, &prompter] { CloseCatalog(m_session.current, *this, prompter); });
    });
    connect(m.mnuDBProp, &QAction::triggered, this, [this, &prompter] {
        Trap("Error in getting Properties", [this, &prompter] {
            auto shell = platform::MakeDesktopShell();
            PropertiesCommand(m_session.current, *this, prompter,
                              m_session.paths.ReportPath().string(), *shell);
        });
    });
}

void MainWindow::ClearResults() {
    for (auto [column, twips] : c.fgdResults->ColumnTwips())
        m_panel.results.Column(column).width = twips;
    search::ResetResultsGrid(m_panel.results, search::SearchOptionsFrom(m_session.settings),
                             m_panel.widths);
    c.fgdResults->Reload();
    m_panel.resultCount = search::kNoMatchCount;
    c.lblResultCount->setText(QString::fromLatin1(search::kNoMatchCount));
    c.panels[1]->clear();
    c.fgdResults->repaint();
}

void MainWindow::KeepUsedSpaceWidth() {
    CollectDiscWidths();
}

// Paints what changed at once; input waits, so no command can start meanwhile.
void MainWindow::ProcessMessages() {
    repaint();
}

// The grids show the core's lists, which hold no handle on the catalog file.
void MainWindow::ReleaseBindings() {}

void MainWindow::ShowIndexProgress(int64_t done, int64_t total) {
    c.panels[1]->setText(
        done < total
            ? QStringLiteral("Indexing the catalog for search: %1 of %2 rows").arg(done).arg(total)
            : QString());
    c.panels[1]->repaint();
}

// A modal dialog over the disabled window, so that its Cancel stays usable.
bool MainWindow::ShowSalvageProgress(int64_t done, int64_t total) {
    if (done >= total) {
        delete m_salvageProgress;
        m_salvageProgress = nullptr;
        return true;
    }
    if (!m_salvageProgress) {
        m_salvageProgress =
            new QProgressDialog(QStringLiteral("Recovering the rows of the damaged catalog..."),
                                QStringLiteral("&Cancel"), 0, 1000, this);
        m_salvageProgress->setObjectName(QStringLiteral("dlgSalvage"));
        m_salvageProgress->setAccessibleName(QStringLiteral("Recovering the damaged catalog"));
        m_salvageProgress->setWindowTitle(QStringLiteral("Repairing database"));
        m_salvageProgress->setWindowModality(Qt::WindowModal);
        m_salvageProgress->setMinimumDuration(500);
    }
    m_salvageProgress->setValue(static_cast<int>(total > 0 ? done * 1000 / total : 0));
    QApplication::processEvents();
    return !m_salvageProgress->wasCanceled();
}

void MainWindow::ClearGrids() {
    discs::SetDiscHeaders(m_discs.table,
                          discs::DiscListOptionsFrom(m_session.settings, m_session.window));
    c.fgdDiscs->Reload();
    search::ResetResultsGrid(m_panel.results, search::SearchOptionsFrom(m_session.settings),
                             m_panel.widths);
    c.fgdResults->Reload();
}

void MainWindow::DisableCatalogControls() {
    EnableCatalogControls(false);
}

void MainWindow::ShowNoCatalog(const std::string& discCounter, const std::string& caption) {
    c.lblNumDiscs->setText(QString::fromStdString(discCounter));
    setWindowTitle(QString::fromStdString(caption));
}

void MainWindow::ReinstallTrayIcon() {
    if (!m_tray || !m_tray->IsShown()) return;
    m_tray->Remove();
    m_tray->Show(windowTitle());
}

}  // namespace kest::gui
