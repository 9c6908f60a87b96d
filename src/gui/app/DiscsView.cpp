#include "gui/app/DiscsView.h"
#include "gui/explore/ExploreHooks.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "core/app/SessionLists.h"
#include "core/app/ViewTexts.h"
#include "core/discs/DiscDeletion.h"
#include "core/discs/DiscDetails.h"
#include "core/discs/DiscListSettings.h"
#include "core/discs/DiscSelection.h"
#include "core/search/SearchSettings.h"
#include "core/search/SortGrid.h"
#include "gui/app/DriveBox.h"
#include "gui/discs/frmDiscDetails.h"
#include "gui/grids/DroppedFiles.h"
#include "gui/grids/GridSelection.h"
#include "gui/widgets/BusyPointer.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {

DiscsView::DiscsView(app::Session& session, const platform::Volumes& volumes,
                     discs::DiscList& discs, search::SearchPanel& results,
                     const MainControls& controls, const MainMenus& menus, QWidget* window)
    : QObject(window),
      m_session(session),
      m_volumes(volumes),
      m_discs(discs),
      m_results(results),
      c(controls),
      m(menus),
      m_window(window) {
    setObjectName(QStringLiteral("discsView"));
    Connect();
}

void DiscsView::Connect() {
    c.fgdDiscs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(c.fgdDiscs, &QWidget::customContextMenuRequested, this, &DiscsView::ShowMenu);
    connect(m.mnuContents[0], &QAction::triggered, this, [this] {
        if (!m_clickedId.empty()) emit ContentsWanted(QString::fromStdString(m_clickedId));
    });
    connect(m.mnuContents[1], &QAction::triggered, this, [this] { emit ContentsWanted({}); });
    connect(m.mnuMDD, &QAction::triggered, this, &DiscsView::DeleteSelected);
    connect(m.mnuDelDisc, &QAction::triggered, this, &DiscsView::DeleteFromMenu);
    connect(m.mnuDiscDetails, &QAction::triggered, this, &DiscsView::ShowDetails);
    // With Ctrl, Enter and a double click explore the disc instead.
    connect(c.fgdDiscs, &QAbstractItemView::activated, this, [this] {
        QGuiApplication::keyboardModifiers() & Qt::ControlModifier ? ExploreDisc() : ShowDetails();
    });
    connect(m.mnuExplore, &QAction::triggered, this, &DiscsView::ExploreDisc);
    connect(
        c.fgdDiscs->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
            SortByHeader(*c.fgdDiscs, section,
                         [this](size_t column) { discs::ClickDiscHeader(m_discs.table, column); });
        });
    c.fgdDiscs->installEventFilter(this);
    AcceptDroppedFiles(c.fgdDiscs, [this](const QString& path) { Drop(path.toStdString()); });
}

discs::CatalogViews DiscsView::Views() {
    return app::CatalogViewsOf(m_session, m_discs, m_results);
}

void DiscsView::Load() {
    if (!m_session.current.HasDatabase()) return;
    search::SearchOptions options = search::SearchOptionsFrom(m_session.settings);
    discs::ReloadDiscList(m_session.current.Db(), m_discs,
                          discs::DiscListOptionsFrom(m_session.settings, m_session.window),
                          m_session.current.name, m_session.current.path, m_session.prompter,
                          &m_results, &options);
    Show();
    emit ResultsReset();
}

void DiscsView::Show() {
    ShowList();
    if (!m_discs.windowTitle.empty())
        m_window->setWindowTitle(QString::fromStdString(m_discs.windowTitle));
}

void DiscsView::ShowList() {
    c.fgdDiscs->Reload();
    c.lblNumDiscs->setText(QString::fromStdString(m_discs.summary));
}

void DiscsView::ShowHeaders() {
    discs::SetDiscHeaders(m_discs.table,
                          discs::DiscListOptionsFrom(m_session.settings, m_session.window));
    c.fgdDiscs->Reload();
}

void DiscsView::ShowWithoutCatalog() {
    ShowHeaders();
    c.lblNumDiscs->setText(QString::fromUtf8(app::kNoDatabase));
}

void DiscsView::FillDrives() {
    FillDriveBox(c.icbDrives, m_volumes, m_session.settings.Only_Optical);
}

void DiscsView::RefreshDrives(bool scanRunning) {
    // A scan keeps the box as it was: its drive is the one being read.
    if (scanRunning || !m_session.current.HasDatabase()) return;
    RefreshDriveBox(c.icbDrives, m_volumes, m_session.settings.Only_Optical);
}

void DiscsView::CollectWidths() {
    WindowState& w = m_session.window;
    for (auto [column, twips] : c.fgdDiscs->ColumnTwips())
        if (column < w.discColumnWidths.size()) w.discColumnWidths[column] = twips;
}

bool DiscsView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c.fgdDiscs && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        DeleteSelected();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void DiscsView::Drop(const std::string& path) {
    if (discs::IsCatalogDrop(path)) emit CatalogDropped(QString::fromStdString(path));
}

void DiscsView::ShowMenu(const QPoint& at) {
    ListGrid& grid = *c.fgdDiscs;
    auto [selection, clicked] = RightClicked(grid, at, m_session.current.HasDatabase());
    discs::DiscMenu menu = discs::RightClickDiscs(m_discs.table, selection, clicked);
    if (!menu.click.show) return;
    Select(grid, menu.click.selection);
    m_clickedId = menu.click.kestId;
    m.mnuDiscDetails->setVisible(menu.details);
    m.mnuExplore->setVisible(menu.details);
    m.mnuContents[0]->setVisible(menu.contents);
    m.mnuDelDisc->setVisible(menu.deleteDisc);
    m.mnuMDD->setVisible(menu.multipleDelete);
    m.mnuPopUp1->popup(grid.viewport()->mapToGlobal(at));
}

void DiscsView::DeleteSelected() {
    if (!m_session.current.HasDatabase()) return;
    std::vector<int64_t> ids = discs::DeleteKeyIds(m_discs.table, SelectionOf(c.fgdDiscs));
    if (ids.empty()) return;
    discs::CatalogViews views = Views();
    if (discs::DeleteSelectedDiscs(views, ids, m_session.prompter) !=
        discs::DeleteOutcome::Declined)
        emit ListsChanged();
}

void DiscsView::DeleteFromMenu() {
    size_t row = SelectionOf(c.fgdDiscs).rowSel;
    if (!m_session.current.HasDatabase() || row == 0 || row > m_discs.table.RowCount()) return;
    discs::CatalogViews views = Views();
    m_window->setEnabled(false);
    discs::DeleteOutcome outcome;
    {
        BusyPointer busy;
        busy.Set(true);
        outcome = discs::DeleteDiscFromMenu(
            views, discs::SelectedDiscOfRow(m_discs.table, row - 1).kestId, m_session.prompter);
    }
    m_window->setEnabled(true);
    if (outcome == discs::DeleteOutcome::Deleted) emit ListsChanged();
}

void DiscsView::ExploreDisc() {
    ExploreDiscRow(
        m_window,
        MakeExploreHost(
            m_session, m_volumes, m_discs, m_results, [this] { emit ListsChanged(); }, m_window, c),
        m_discs, SelectionOf(c.fgdDiscs).rowSel);
}

void DiscsView::ShowDetails() {
    if (!m_session.current.HasDatabase()) return;
    discs::CatalogViews views = Views();
    auto disc = discs::OpenDiscDetails(m_discs, views.listOptions, SelectionOf(c.fgdDiscs));
    if (!disc) return;
    {
        frmDiscDetails dialog(m_window, m_window, *disc, views.db, m_session.prompter,
                              c.fgdDiscs->font());
        RunModal(dialog);
    }
    discs::AfterDiscDetails(*disc, views, m_session.prompter);
    if (disc->DiscsChanged() > 0) emit ListsChanged();
}

}  // namespace kest::gui
