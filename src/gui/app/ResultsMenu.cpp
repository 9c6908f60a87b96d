#include "gui/app/ResultsMenu.h"
#include "gui/explore/ExploreHooks.h"
#include "gui/filefunc/RunFileFunction.h"

#include <QHeaderView>

#include "core/app/SessionLists.h"
#include "core/details/FileDetailsLookup.h"
#include "core/details/FileDetailsWindow.h"
#include "core/details/MultipleDescriptionUpdate.h"
#include "core/filefunc/FileFunction.h"
#include "core/search/SortGrid.h"
#include "gui/details/frmFileDetails.h"
#include "gui/grids/GridSelection.h"
#include "gui/widgets/BusyPointer.h"
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
      m_window(window),
      m_sortGate(window, controls.fgdResults) {
    setObjectName(QStringLiteral("resultsMenu"));
    c.fgdResults->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(c.fgdResults, &QWidget::customContextMenuRequested, this, &ResultsMenu::ShowMenu);
    connect(c.fgdResults->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) {
                SortByHeader(*c.fgdResults, section, [this](size_t column) {
                    search::ClickResultsHeader(m_panel.results, column,
                                               [this](const std::function<void()>& work) {
                                                   BusyPointer busy;
                                                   busy.Set(true);
                                                   m_sortGate.RunWhilePainting(work);
                                               });
                });
            });
    connect(m.mnuFileDetails, &QAction::triggered, this, &ResultsMenu::ShowFileDetails);
    connect(c.fgdResults, &ListGrid::RowChosen, this, &ResultsMenu::ShowFileDetails);
    for (int function = filefunc::kOpenFile; function <= filefunc::kExploreFolder; ++function)
        connect(m.mnuGetFile[size_t(function - 1)], &QAction::triggered, this,
                [this, function] { ShowFileFunction(function); });
    connect(m.mnuMFD, &QAction::triggered, this, &ResultsMenu::UpdateDescriptions);
    connect(m.mnuShowInTree, &QAction::triggered, this, &ResultsMenu::ShowInFolderTree);
}

void ResultsMenu::ShowMenu(const QPoint& at) {
    ListGrid& grid = *c.fgdResults;
    auto [selection, clicked] = RightClicked(grid, at, m_session.current.HasDatabase());
    search::RowClick click = search::RightClickRow(m_panel.results, selection, clicked);
    if (!click.show) return;
    Select(grid, click.selection);
    for (QAction* entry :
         {m.mnuFileDetails, m.mnuShowInTree, m.mnuGetFile[0], m.mnuGetFile[1], m.mnuGetFile[2]})
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
    RunFileFunction(
        m_window, m_session, m_volumes,
        filefunc::LookUpResultsRow(m_session.current.Db(), m_panel.results,
                                   SelectionOf(c.fgdResults).rowSel, function, m_session.prompter),
        function);
}

void ResultsMenu::ShowInFolderTree() {
    ShowResultsRowInTree(
        m_window,
        MakeExploreHost(
            m_session, m_volumes, m_discs, m_panel, [this] { emit ListsChanged(); }, m_window, c),
        m_panel, SelectionOf(c.fgdResults).rowSel);
}

void ResultsMenu::UpdateDescriptions() {
    if (!m_session.current.HasDatabase()) return;
    discs::CatalogViews views = app::CatalogViewsOf(m_session, m_discs, m_panel);
    details::MultipleFileDescriptionUpdate(views, SelectionOf(c.fgdResults), m_session.prompter);
    emit ListsChanged();
}

}  // namespace kest::gui
