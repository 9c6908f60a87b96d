// The File and Tools menus' catalog commands (compact, repair, rebuild the
// search index, save as, close, properties) and the window's side of them:
// what those commands ask of their host while they let go of the catalog and
// take it back.
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>

#include "core/catalog/CloseCatalog.h"
#include "core/catalog/CompactCatalog.h"
#include "core/catalog/PropertiesReport.h"
#include "core/catalog/RebuildIndex.h"
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
    connect(m.mnuReindex, &QAction::triggered, this, [this, &prompter] {
        Trap("Error in rebuilding the search index", [this, &prompter] { RebuildIndex(prompter); });
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

// The rebuild shows its progress in a window of its own whose Cancel (or
// Escape) stops it between slices; the window repaints after each slice.
void MainWindow::RebuildIndex(Prompter& prompter) {
    QProgressDialog progress(QStringLiteral("Rebuilding the search index..."), QString(), 0, 1000,
                             this);
    progress.setObjectName(QStringLiteral("frmReindex"));
    progress.setAccessibleName(QStringLiteral("Rebuild Search Index"));
    progress.setWindowTitle(QStringLiteral("Rebuild Search Index"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &progress);
    cancel->setObjectName(QStringLiteral("cmdReindexCancel"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    progress.setCancelButton(cancel);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setValue(0);
    RebuildIndexCommand(
        m_session.current, prompter,
        [&progress](int64_t done, int64_t total) {
            progress.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 1000);
        },
        [&progress] {
            QCoreApplication::processEvents();
            return progress.wasCanceled();
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

void MainWindow::ShowIndexProblem(const std::string& text) {
    c.panels[1]->setText(QString::fromStdString(text));
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
