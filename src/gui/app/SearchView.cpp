#include "gui/app/SearchView.h"

#include <QApplication>

#include "core/app/SessionLists.h"
#include "core/app/ViewTexts.h"
#include "core/app/WindowRules.h"
#include "core/search/CriteriaCheck.h"
#include "core/search/ResultsGrid.h"
#include "core/search/SearchCommand.h"
#include "core/search/SearchSettings.h"
#include "gui/app/WindowLook.h"
#include "gui/dialogs/ErrorTrap.h"
#include "gui/widgets/EnterKey.h"

namespace kest::gui {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

SearchView::SearchView(app::Session& session, const discs::DiscList& discs,
                       search::SearchPanel& panel, const MainControls& controls, QWidget* window)
    : QObject(window),
      m_session(session),
      m_discs(discs),
      m_panel(panel),
      c(controls),
      m_window(window),
      m_fillGate(window, c.fgdResults) {
    setObjectName(QStringLiteral("searchView"));
    connect(c.cmdAdv, &QPushButton::clicked, this, &SearchView::ToggleAdvanced);
    connect(c.cmdQuery, &QPushButton::clicked, this, &SearchView::RunQuery);
    connect(c.cmdClear, &QPushButton::clicked, this, &SearchView::ClearAllCriteria);
    OnEnter(c.cboSearch, [this] { RunQuery(); });
    // The search button is the window's default everywhere but in the grid:
    // Enter in a bound box searches too.
    for (QLineEdit* box : {c.txtSzFr, c.txtSzTo, c.txtDtFr, c.txtDtTo, c.txtRiFr, c.txtRiTo})
        OnEnter(box, [this] { RunQuery(); });
    // Enter in the results grid opens the row's details, not a search.
    // Focus also moves while the button itself is being destroyed; by then
    // it is no longer a QPushButton, and the cast says so.
    connect(
        qApp, &QApplication::focusChanged, c.cmdQuery,
        [query = static_cast<QObject*>(c.cmdQuery), grid = c.fgdResults](QWidget*, QWidget* now) {
            if (auto* button = qobject_cast<QPushButton*>(query)) button->setDefault(now != grid);
        });
}

void SearchView::RunQuery() {
    if (!c.cmdQuery->isEnabled() || !m_session.current.HasDatabase()) return;
    if (otherCommandRunning && otherCommandRunning()) return;
    RunTrapped(m_session.prompter, "SQL query error", [this] {
        ReadCriteria();
        search::SearchCommand(m_session.current.Db(), m_panel,
                              search::SearchOptionsFrom(m_session.settings), m_discs.discCount,
                              m_session.prompter, *this);
        ShowResults();
    });
    m_fillShown = false;
}

void SearchView::ClearAllCriteria() {
    ReadCriteria();
    search::ClearAll(m_panel, search::SearchOptionsFrom(m_session.settings), m_session.prompter,
                     *this);
    ShowCriteria();
    ShowResults();
}

void SearchView::ShowContents(const QString& kestId) {
    if (!m_session.current.HasDatabase()) return;
    std::optional<std::string> disc;
    if (!kestId.isEmpty()) disc = kestId.toStdString();
    RunTrapped(m_session.prompter, "SQL query error", [&] {
        search::ShowContents(m_session.current.Db(), m_panel,
                             search::SearchOptionsFrom(m_session.settings), disc,
                             m_session.prompter, *this);
        ShowCriteria();
        ShowResults();
    });
    m_fillShown = false;
}

void SearchView::ToggleAdvanced() {
    app::AdvancedPanel panel = app::ToggleAdvancedPanel(m_session.settings);
    c.cmdAdv->setText(FromUtf8(panel.caption));
    FitMinimumSize(m_window, m_session.settings);
    if (panel.open && m_window->width() < m_window->minimumWidth())
        m_window->resize(m_window->minimumWidth(), m_window->height());
    ShowAdvanced(panel.open);
}

void SearchView::ShowAdvanced(bool open) {
    c.advancedPanel->setVisible(open);
}

void SearchView::ShowControls(bool shown) {
    if (shown) {
        app::AdvancedPanel panel = app::AdvancedPanelOf(m_session.settings);
        c.cmdAdv->setText(FromUtf8(panel.caption));
        ShowAdvanced(panel.open);
    } else {
        ShowAdvanced(false);
    }
    for (QWidget* control : {static_cast<QWidget*>(c.cmdQuery), static_cast<QWidget*>(c.cmdClear),
                             static_cast<QWidget*>(c.cmdAdv), static_cast<QWidget*>(c.fgdResults),
                             static_cast<QWidget*>(c.cboSearch)})
        control->setVisible(shown);
}

void SearchView::ClearResults() {
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

void SearchView::PrepareGrid() {
    search::ResetResultsGrid(m_panel.results, search::SearchOptionsFrom(m_session.settings),
                             m_panel.widths);
    c.fgdResults->Reload();
}

void SearchView::ApplySettings() {
    ShowHints();
    m_panel = app::PanelFromSettings(m_session);
    FillSearchBox();
}

void SearchView::ShowHints() {
    // The size boxes name the unit the sizes are typed in, to the eye and to
    // screen readers.
    int format = m_session.settings.SizeFormat;
    for (auto [box, tip] : {std::pair{c.txtSzFr, search::SizeFromToolTip(format)},
                            std::pair{c.txtSzTo, search::SizeToToolTip(format)}}) {
        box->setToolTip(FromUtf8(tip));
        box->setAccessibleName(box->toolTip());
    }
    c.lblSearchDirec->setText(FromUtf8(app::SearchHint(m_session.settings)));
}

void SearchView::ShowLists() {
    // A list shown while it filled keeps its place: only its last rows are new.
    if (m_fillShown)
        c.fgdResults->ShowAddedRows();
    else
        c.fgdResults->Reload();
    c.lblResultCount->setText(FromUtf8(m_panel.resultCount));
    c.panels[0]->setText(FromUtf8(m_panel.status1));
    c.panels[1]->setText(FromUtf8(m_panel.status2));
}

void SearchView::CollectState() {
    m_panel.searchText = c.cboSearch->currentText().toStdString();
    for (auto [column, twips] : c.fgdResults->ColumnTwips())
        m_panel.results.Column(column).width = twips;
    app::StoreSearchState(m_session, m_panel);
}

void SearchView::ReadCriteria() {
    m_panel.searchText = c.cboSearch->currentText().toStdString();
    m_panel.bounds = {c.txtSzFr->text().toStdString(), c.txtSzTo->text().toStdString(),
                      c.txtDtFr->text().toStdString(), c.txtDtTo->text().toStdString(),
                      c.txtRiFr->text().toStdString(), c.txtRiTo->text().toStdString()};
}

void SearchView::ShowCriteria() {
    const search::SearchBounds& b = m_panel.bounds;
    c.txtSzFr->setText(FromUtf8(b.sizeFrom));
    c.txtSzTo->setText(FromUtf8(b.sizeTo));
    c.txtDtFr->setText(FromUtf8(b.dateFrom));
    c.txtDtTo->setText(FromUtf8(b.dateTo));
    c.txtRiFr->setText(FromUtf8(b.discFrom));
    c.txtRiTo->setText(FromUtf8(b.discTo));
}

void SearchView::ShowResults() {
    ShowLists();
    FillSearchBox();
    if (m_panel.focus == search::SearchFocus::Results && c.fgdResults->model()->rowCount() > 0)
        c.fgdResults->setFocus();
    else if (m_panel.focus == search::SearchFocus::Bound)
        BoundBoxWidget(m_panel.focusBox)->setFocus();
    else
        c.cboSearch->setFocus();
}

QLineEdit* SearchView::BoundBoxWidget(search::BoundBox box) const {
    switch (box) {
        case search::BoundBox::SizeFrom:
            return c.txtSzFr;
        case search::BoundBox::SizeTo:
            return c.txtSzTo;
        case search::BoundBox::DateFrom:
            return c.txtDtFr;
        case search::BoundBox::DateTo:
            return c.txtDtTo;
        case search::BoundBox::DiscFrom:
            return c.txtRiFr;
        case search::BoundBox::DiscTo:
            break;
    }
    return c.txtRiTo;
}

void SearchView::FillSearchBox() {
    c.cboSearch->clear();
    for (const std::string& item : m_panel.history.Items()) c.cboSearch->addItem(FromUtf8(item));
    c.cboSearch->setEditText(FromUtf8(m_panel.searchText));
}

void SearchView::SetBusy(bool busy) {
    for (QWidget* control :
         {static_cast<QWidget*>(c.cmdQuery), static_cast<QWidget*>(c.cmdClear),
          static_cast<QWidget*>(c.cmdAdv), static_cast<QWidget*>(c.advancedPanel)})
        control->setEnabled(!busy);
}

void SearchView::SetBusyPointer(bool busy) {
    m_busy.Set(busy);
    if (busy) {
        // A command starts: any list it fills shows its first rows after a pause.
        m_fillGate.Reset();
        m_fillShown = false;
        m_nextArrival = std::chrono::steady_clock::now() + m_arrivalPause;
    } else {
        m_fillGate.CloseIfAsked();
    }
}

bool SearchView::RowsArriving(const ListTable& results) {
    const auto now = std::chrono::steady_clock::now();
    if (now < m_nextArrival) return m_fillGate.StopAsked();
    // Once the list has its columns (the engine also asks while it prepares),
    // the grid takes them with the rows so far, then only the new rows.
    if (m_fillShown) {
        c.fgdResults->ShowAddedRows();
    } else if (results.ColumnCount() > 0) {
        c.fgdResults->Reload();
        m_fillShown = true;
    }
    const auto rows = static_cast<int>(results.RowCount());
    c.panels[1]->setText(QStringLiteral("%1 rows so far; Esc stops the search").arg(rows));
    emit RowsArrived(rows);
    m_fillGate.Pump();
    m_nextArrival = std::chrono::steady_clock::now() + m_arrivalPause;
    return m_fillGate.StopAsked();
}

void SearchView::ShowPanel() {
    ShowLists();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SearchView::ShowSearchView() {
    emit SearchViewWanted();
}

}  // namespace kest::gui
