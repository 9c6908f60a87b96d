#include "gui/app/ResultsMenu.h"

#include <QHeaderView>

#include "core/app/SessionLists.h"
#include "core/details/FileDetailsLookup.h"
#include "core/details/FileDetailsWindow.h"
#include "core/details/MultipleDescriptionUpdate.h"
#include "core/filefunc/FileFunction.h"
#include "core/search/SortGrid.h"
#include "gui/details/frmFileDetails.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/filefunc/frmFileFunc.h"
#include "gui/grids/GridSelection.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {

ResultsMenu::ResultsMenu(app::Session& session, const platform::Volumes& volumes,
                         discs::DiscList& discs, search::SearchPanel& panel,
                         const MainControls& controls, const MainMenus& menus, QWidget* window)
    : QObject(window),
      m_session(session),
      m_volumes(volumes),
      m_discs(discs),
      m_panel(panel),
      c(controls),
      m(menus),
      m_window(window) {
    setObjectName(QStringLiteral("resultsMenu"));
    c.fgdResults->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(c.fgdResults, &QWidget::customContextMenuRequested, this, &ResultsMenu::ShowMenu);
    connect(c.fgdResults->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) {
                SortByHeader(*c.fgdResults, section, [this](size_t column) {
                    search::ClickResultsHeader(m_panel.results, column);
                });
            });
    connect(m.mnuFileDetails, &QAction::triggered, this, &ResultsMenu::ShowFileDetails);
    connect(c.fgdResults, &ListGrid::RowChosen, this, &ResultsMenu::ShowFileDetails);
    for (int function = filefunc::kOpenFile; function <= filefunc::kExploreFolder; ++function)
        connect(m.mnuGetFile[size_t(function - 1)], &QAction::triggered, this,
                [this, function] { ShowFileFunction(function); });
    connect(m.mnuMFD, &QAction::triggered, this, &ResultsMenu::UpdateDescriptions);
}

void ResultsMenu::ShowMenu(const QPoint& at) {
    ListGrid& grid = *c.fgdResults;
    auto [selection, clicked] = RightClicked(grid, at, m_session.current.HasDatabase());
    search::RowClick click = search::RightClickRow(m_panel.results, selection, clicked);
    if (!click.show) return;
    Select(grid, click.selection);
    for (QAction* entry : {m.mnuFileDetails, m.mnuGetFile[0], m.mnuGetFile[1], m.mnuGetFile[2]})
        entry->setEnabled(click.single);
    m.mnuMFD->setEnabled(!click.single);
    m.mnuPopUp2->popup(grid.viewport()->mapToGlobal(at));
}

void ResultsMenu::ShowFileDetails() {
    if (!m_session.current.HasDatabase() || m_panel.detailsOpen) return;
    discs::CatalogViews views = app::CatalogViewsOf(m_session, m_discs, m_panel);
    auto record = details::LookUpResultsRow(views.db, m_panel.results, SelectionOf(c.fgdResults),
                                            views.listOptions, m_session.prompter);
    if (!record) return;
    details::FileDetailsWindow window(std::move(*record), views);
    frmFileDetails dialog(m_window, window, views.db, m_session.prompter, c.fgdResults->font(),
                          c.fgdDiscs->font(), [this] { emit ListsChanged(); });
    RunModal(dialog);
}

void ResultsMenu::ShowFileFunction(int function) {
    if (!m_session.current.HasDatabase()) return;
    auto target =
        filefunc::LookUpResultsRow(m_session.current.Db(), m_panel.results,
                                   SelectionOf(c.fgdResults).rowSel, function, m_session.prompter);
    if (!target) return;
    // The default-drive button's choice is kept with the settings, saved with them.
    filefunc::DriveSettings drives{m_session.settings.UseDefaultDrive,
                                   m_session.settings.DefaultDrive};
    filefunc::FileFuncDialog state(std::move(*target), function, m_volumes, DesktopShell(), drives);
    frmFileFunc dialog(m_window, state, m_session.prompter);
    RunModal(dialog);
    m_session.settings.DefaultDrive = drives.defaultDrive;
}

void ResultsMenu::UpdateDescriptions() {
    if (!m_session.current.HasDatabase()) return;
    discs::CatalogViews views = app::CatalogViewsOf(m_session, m_discs, m_panel);
    details::MultipleFileDescriptionUpdate(views, SelectionOf(c.fgdResults), m_session.prompter);
    emit ListsChanged();
}

}  // namespace kest::gui
