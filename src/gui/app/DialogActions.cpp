// The main window's ways into its dialogs over one file or disc: the pop-up
// menu entries, double click and Enter on the lists.
#include <QItemSelectionModel>
#include <algorithm>

#include "core/app/SessionLists.h"
#include "core/details/FileDetailsLookup.h"
#include "core/details/FileDetailsWindow.h"
#include "core/details/MultipleDescriptionUpdate.h"
#include "core/discs/DiscDeletion.h"
#include "core/discs/DiscDetails.h"
#include "core/filefunc/FileFunction.h"
#include "gui/app/GridActions.h"
#include "gui/app/MainWindow.h"
#include "gui/details/frmFileDetails.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/dialogs/ModalRun.h"
#include "gui/discs/frmDiscDetails.h"
#include "gui/filefunc/frmFileFunc.h"
#include "gui/grids/ListGrid.h"

namespace kest::gui {

void MainWindow::ConnectDialogs() {
    connect(m.mnuFileDetails, &QAction::triggered, this, &MainWindow::ShowFileDetails);
    connect(c.fgdResults, &ListGrid::RowChosen, this, &MainWindow::ShowFileDetails);
    connect(m.mnuDiscDetails, &QAction::triggered, this, &MainWindow::ShowDiscDetails);
    connect(c.fgdDiscs, &ListGrid::RowChosen, this, &MainWindow::ShowDiscDetails);
    connect(m.mnuDelDisc, &QAction::triggered, this, &MainWindow::DeleteDiscFromMenu);
    for (int function = filefunc::kOpenFile; function <= filefunc::kExploreFolder; ++function)
        connect(m.mnuGetFile[size_t(function - 1)], &QAction::triggered, this,
                [this, function] { ShowFileFunction(function); });
    connect(m.mnuMFD, &QAction::triggered, this, [this] {
        if (!m_session.current.HasDatabase()) return;
        discs::CatalogViews views = CatalogViews();
        details::MultipleFileDescriptionUpdate(views, SelectionOf(c.fgdResults),
                                               m_session.prompter);
        ShowChangedLists();
    });
}

discs::CatalogViews MainWindow::CatalogViews() {
    return app::CatalogViewsOf(m_session, m_discs, m_panel);
}

void MainWindow::ShowChangedLists() {
    c.fgdDiscs->Reload();
    c.fgdResults->Reload();
    c.lblNumDiscs->setText(QString::fromStdString(m_discs.summary));
    c.lblResultCount->setText(QString::fromStdString(m_panel.resultCount));
    c.panels[0]->setText(QString::fromStdString(m_panel.status1));
    c.panels[1]->setText(QString::fromStdString(m_panel.status2));
}

void MainWindow::ShowFileDetails() {
    if (!m_session.current.HasDatabase() || m_panel.detailsOpen) return;
    discs::CatalogViews views = CatalogViews();
    auto record = details::LookUpResultsRow(views.db, m_panel.results, SelectionOf(c.fgdResults),
                                            views.listOptions, m_session.prompter);
    if (!record) return;
    details::FileDetailsWindow window(std::move(*record), views);
    frmFileDetails dialog(this, window, views.db, m_session.prompter, c.fgdResults->font(),
                          c.fgdDiscs->font(), [this] { ShowChangedLists(); });
    RunModal(dialog);
}

void MainWindow::ShowDiscDetails() {
    if (!m_session.current.HasDatabase()) return;
    discs::CatalogViews views = CatalogViews();
    auto disc = discs::OpenDiscDetails(m_discs, views.listOptions, SelectionOf(c.fgdDiscs));
    if (!disc) return;
    {
        frmDiscDetails dialog(this, this, *disc, views.db, m_session.prompter, c.fgdDiscs->font());
        RunModal(dialog);
    }
    discs::AfterDiscDetails(*disc, views, m_session.prompter);
    if (disc->DiscsChanged() > 0) ShowChangedLists();
}

void MainWindow::DeleteDiscFromMenu() {
    size_t row = SelectionOf(c.fgdDiscs).rowSel;
    if (!m_session.current.HasDatabase() || row == 0 || row > m_discs.table.RowCount()) return;
    discs::CatalogViews views = CatalogViews();
    setEnabled(false);
    SetBusyPointer(true);
    discs::DeleteOutcome outcome = discs::DeleteDiscFromMenu(
        views, discs::SelectedDiscOfRow(m_discs.table, row - 1).kestId, m_session.prompter);
    SetBusyPointer(false);
    setEnabled(true);
    if (outcome == discs::DeleteOutcome::Deleted) ShowChangedLists();
}

void MainWindow::ShowFileFunction(int function) {
    if (!m_session.current.HasDatabase()) return;
    auto target =
        filefunc::LookUpResultsRow(m_session.current.Db(), m_panel.results,
                                   SelectionOf(c.fgdResults).rowSel, function, m_session.prompter);
    if (!target) return;
    // The default-drive button's choice is kept with the settings, saved with them.
    filefunc::DriveSettings drives{m_session.settings.UseDefaultDrive,
                                   m_session.settings.DefaultDrive};
    filefunc::FileFuncDialog state(std::move(*target), function, m_volumes, DesktopShell(), drives);
    frmFileFunc dialog(this, state, m_session.prompter);
    RunModal(dialog);
    m_session.settings.DefaultDrive = drives.defaultDrive;
}

}  // namespace kest::gui
