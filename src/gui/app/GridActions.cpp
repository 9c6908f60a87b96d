#include "gui/app/GridActions.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>

#include "core/catalog/CatalogCommands.h"
#include "core/common/KestError.h"
#include "core/discs/DiscDeletion.h"
#include "core/discs/DiscListSettings.h"
#include "core/discs/DiscSelection.h"
#include "core/search/SaveListCommand.h"
#include "core/search/SearchCommand.h"
#include "core/search/SearchSettings.h"
#include "core/search/SortGrid.h"
#include "core/text/DateParse.h"
#include "gui/app/MainWindow.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/grids/ListTableModel.h"

namespace kest::gui {

search::GridSelection SelectionOf(const ListGrid* grid) {
    QModelIndexList rows = grid->selectionModel()->selectedRows();
    QModelIndex current = grid->currentIndex();
    if (!current.isValid() && rows.isEmpty()) return {};
    size_t low = SIZE_MAX, high = 0;
    for (const QModelIndex& index : rows) {
        low = std::min(low, size_t(index.row()) + 1);
        high = std::max(high, size_t(index.row()) + 1);
    }
    if (!current.isValid()) return {low, high};
    size_t end = size_t(current.row()) + 1;
    low = std::min(low, end);
    high = std::max(high, end);
    return {end == low ? high : low, end};
}

void Select(ListGrid& grid, search::GridSelection selection) {
    if (selection.row == 0 || selection.rowSel == 0) return;
    int first = int(std::min(selection.row, selection.rowSel)) - 1;
    int last = int(std::max(selection.row, selection.rowSel)) - 1;
    QAbstractItemModel* model = grid.model();
    QItemSelection rows(model->index(first, 0), model->index(last, model->columnCount() - 1));
    grid.selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    grid.selectionModel()->setCurrentIndex(model->index(int(selection.rowSel) - 1, 0),
                                           QItemSelectionModel::NoUpdate);
}

GridActions::GridActions(MainWindow& window) : QObject(&window), w(window) {
    Connect();
}

GridActions::~GridActions() = default;

void GridActions::Connect() {
    const MainMenus& m = w.m;
    connect(w.c.fgdDiscs, &QWidget::customContextMenuRequested, this, &GridActions::ShowDiscMenu);
    connect(w.c.fgdResults, &QWidget::customContextMenuRequested, this,
            &GridActions::ShowResultsMenu);
    connect(m.mnuContents[0], &QAction::triggered, this, [this] { ShowContents(false); });
    connect(m.mnuContents[1], &QAction::triggered, this, [this] { ShowContents(true); });
    connect(m.mnuMDD, &QAction::triggered, this, &GridActions::DeleteSelectedDiscs);
    for (int i = 0; i < 2; ++i) {
        auto format = i == 0 ? search::ListFormat::PlainText : search::ListFormat::Csv;
        connect(m.mnuSaveDiscs[size_t(i)], &QAction::triggered, this,
                [this, format] { SaveList(false, format); });
        connect(m.mnuSaveRes[size_t(i)], &QAction::triggered, this,
                [this, format] { SaveList(true, format); });
        // The File menu's entries save the list of the view shown.
        connect(m.mnuGetSav[size_t(i)], &QAction::triggered, this,
                [this, format] { SaveList(w.CurrentView() == app::View::Search, format); });
    }
    connect(w.c.fgdDiscs->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { SortByHeader(*w.c.fgdDiscs, section); });
    connect(w.c.fgdResults->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { SortByHeader(*w.c.fgdResults, section); });
    w.c.fgdDiscs->installEventFilter(this);
    w.c.fgdDiscs->setAcceptDrops(true);
    w.c.fgdDiscs->viewport()->setAcceptDrops(true);
    w.c.fgdDiscs->viewport()->installEventFilter(this);
}

namespace {

// Files dragged from the desktop or a file window, as local paths.
QStringList DraggedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

}  // namespace

bool GridActions::DragOrDrop(QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DraggedFiles(drag->mimeData()).isEmpty()) {
                drag->ignore();
            } else {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList files = DraggedFiles(drop->mimeData());
            if (files.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            OpenDroppedFile(files.first().toStdString());
            return true;
        }
        default:
            return false;
    }
}

void GridActions::OpenDroppedFile(const std::string& path) {
    if (!discs::IsCatalogDrop(path)) return;
    w.Trap("Error in opening database", [&] {
        OpenCatalog(w.m_session.current, w, w.m_session.prompter, OpenSource::GivenPath,
                    app::AbsolutePath(path));
    });
}

bool GridActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == w.c.fgdDiscs->viewport() && DragOrDrop(event)) return true;
    if (watched == w.c.fgdDiscs && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        DeleteSelectedDiscs();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void GridActions::SortByHeader(ListGrid& grid, int section) {
    auto* model = static_cast<ListTableModel*>(grid.model());
    if (section < 0 || section >= model->columnCount() || model->rowCount() == 0) return;
    size_t column = model->TableColumn(section);
    std::vector<int> widths;
    for (int c = 0; c < model->columnCount(); ++c) widths.push_back(grid.columnWidth(c));
    if (&grid == w.c.fgdDiscs)
        discs::ClickDiscHeader(w.m_discs.table, column);
    else
        search::ClickResultsHeader(w.m_panel.results, column);
    model->Reload();
    // The widths the user gave the columns stay.
    for (int c = 0; c < model->columnCount() && c < int(widths.size()); ++c)
        grid.setColumnWidth(c, widths[size_t(c)]);
}

std::pair<search::GridSelection, size_t> GridActions::RightClicked(const ListGrid& grid,
                                                                   const QPoint& at) const {
    int row = grid.rowAt(at.y());
    if (row < 0 || !w.m_session.current.HasDatabase()) return {};
    // Without a selection the clicked row stands for it, as the grid's
    // current row would.
    auto clicked = static_cast<size_t>(row) + 1;
    search::GridSelection selection = SelectionOf(&grid);
    if (selection.rowSel == 0) selection = {clicked, clicked};
    return {selection, clicked};
}

void GridActions::ShowDiscMenu(const QPoint& at) {
    ListGrid& grid = *w.c.fgdDiscs;
    auto [selection, clicked] = RightClicked(grid, at);
    discs::DiscMenu menu = discs::RightClickDiscs(w.m_discs.table, selection, clicked);
    if (!menu.click.show) return;
    Select(grid, menu.click.selection);
    m_clickedId = menu.click.kestId;
    const MainMenus& m = w.m;
    m.mnuDiscDetails->setVisible(menu.details);
    m.mnuContents[0]->setVisible(menu.contents);
    m.mnuDelDisc->setVisible(menu.deleteDisc);
    m.mnuMDD->setVisible(menu.multipleDelete);
    m.mnuPopUp1->popup(grid.viewport()->mapToGlobal(at));
}

void GridActions::ShowResultsMenu(const QPoint& at) {
    ListGrid& grid = *w.c.fgdResults;
    auto [selection, clicked] = RightClicked(grid, at);
    search::RowClick click = search::RightClickRow(w.m_panel.results, selection, clicked);
    if (!click.show) return;
    Select(grid, click.selection);
    // The entries over one file serve one row; the multiple update several.
    const MainMenus& m = w.m;
    for (QAction* entry : {m.mnuFileDetails, m.mnuGetFile[0], m.mnuGetFile[1], m.mnuGetFile[2]})
        entry->setEnabled(click.single);
    m.mnuMFD->setEnabled(!click.single);
    m.mnuPopUp2->popup(grid.viewport()->mapToGlobal(at));
}

void GridActions::ShowContents(bool wholeCatalog) {
    if (!w.m_session.current.HasDatabase()) return;
    std::optional<std::string> disc;
    if (!wholeCatalog) {
        if (m_clickedId.empty()) return;
        disc = m_clickedId;
    }
    w.Trap("SQL query error", [&] {
        search::ShowContents(w.m_session.current.Db(), w.m_panel,
                             search::SearchOptionsFrom(w.m_session.settings), disc,
                             w.m_session.prompter, w);
        w.ShowCriteria();
        w.ShowSearchResults();
    });
}

void GridActions::DeleteSelectedDiscs() {
    if (!w.m_session.current.HasDatabase()) return;
    std::vector<int64_t> ids = discs::DeleteKeyIds(w.m_discs.table, SelectionOf(w.c.fgdDiscs));
    if (ids.empty()) return;
    discs::CatalogViews views = w.CatalogViews();
    if (discs::DeleteSelectedDiscs(views, ids, w.m_session.prompter) !=
        discs::DeleteOutcome::Declined)
        w.ShowChangedLists();
}

search::DumpSource GridActions::Source(bool results) const {
    const app::Session& s = w.m_session;
    search::DumpSource source;
    source.results = results;
    source.discSummary = w.m_discs.summary;
    source.catalogPath = s.current.path;
    source.now = text::FromTimeT(std::time(nullptr));
    if (results) {
        search::SearchOptions options = search::SearchOptionsFrom(s.settings);
        source.table = &w.m_panel.results;
        source.searchText = w.m_panel.searchText;
        source.bounds = w.m_panel.bounds;
        source.resultCount = w.m_panel.resultCount;
        source.showCol = options.showCol;
        source.fileCaptions = options.fileCaptions;
    } else {
        source.table = &w.m_discs.table;
        source.usedSpaceShown =
            s.settings.ShowUsedSpace && discs::HasUsedSpaceColumn(w.m_discs.table);
    }
    return source;
}

void GridActions::SaveList(bool results, search::ListFormat format) {
    if (!w.m_session.current.HasDatabase()) return;
    w.Trap("Error in dump-to-text", [&] {
        search::SaveListCommand(Source(results), format, w.m_panel.matchCount,
                                {w.m_session.settings.OpenAfterSaving, w.ProgramFolder()},
                                w.m_session.prompter, DesktopShell());
    });
}

}  // namespace kest::gui
