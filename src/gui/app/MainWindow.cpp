#include "gui/app/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>

#include "core/app/SessionLists.h"
#include "core/catalog/CatalogCommands.h"
#include "core/common/KestError.h"
#include "core/discs/DiscListSettings.h"
#include "core/search/CriteriaCheck.h"
#include "core/search/ResultsGrid.h"
#include "core/search/SearchCommand.h"
#include "core/search/SearchSettings.h"
#include "gui/app/DriveBox.h"
#include "gui/app/EnterKey.h"
#include "gui/app/GridActions.h"
#include "gui/app/MountWatch.h"
#include "gui/app/Pictures.h"
#include "gui/app/StoredColour.h"
#include "gui/app/TrayIcon.h"
#include "gui/app/Twips.h"
#include "gui/app/WindowPlace.h"
#include "gui/dialogs/ErrorTrap.h"
#include "gui/discfacts/DiscFactsActions.h"
#include "gui/grids/ListTableModel.h"
#include "gui/scan/WindowScan.h"
#include "gui/update/HelpMenu.h"

namespace kest::gui {
namespace {

constexpr const char* kProgramTitle = "Kest";
// The classic "Internal error" number, for failures that carry no number.
constexpr long kInternalError = 51;

// Text that stays readable on the given background.
QColor TextOn(const QColor& back) {
    return back.lightnessF() < 0.55 ? QColor(Qt::white) : QColor(Qt::black);
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

MainWindow::MainWindow(AppPaths paths, Prompter& prompter, const platform::Volumes& volumes)
    : m_session(std::move(paths), prompter),
      m_volumes(volumes),
      m_discModel(new ListTableModel(m_discs.table, this)),
      m_resultModel(new ListTableModel(m_panel.results, this)) {
    setObjectName(QStringLiteral("frmKest"));
    setWindowTitle(QLatin1String(kProgramTitle));
    setWindowIcon(ProgramIcon());
    m_discModel->setObjectName(QStringLiteral("dtaDiscs"));
    m_resultModel->setObjectName(QStringLiteral("dtaSearch"));
    c = BuildMainControls(this, m_discModel, m_resultModel);
    m = BuildMainMenus(this);
    m_tray = TrayIcon::Create(this);
    m_scan = new WindowScan(m_session, m_volumes, c, m, this);
    m_scan->View().onReloadDiscList = [this] { LoadDiscList(); };
    m_scan->View().onResetResults = [this] { ClearResults(); };
    ConnectMenus();
    ConnectCatalogMenus();
    ConnectDialogs();
    ConnectOptions();
    new HelpMenu(this, m, m_tray, prompter);
    m_grids = new GridActions(*this);
    auto* mounts = new MountWatch(this);
    mounts->setObjectName(QStringLiteral("mountWatch"));
    connect(mounts, &MountWatch::Changed, this, &MainWindow::RefreshDrives);
    InstallDiscFacts(*this, m_volumes, *mounts);
    UpdateMinimumSize();
    ToolbarAction(1);
}

MainWindow::~MainWindow() {
    Unload();
    // The grid actions filter the grids' events; they must not see the events
    // of the grids' own destruction, when this window is already gone.
    delete m_grids;
    m_grids = nullptr;
}

void MainWindow::Trap(const char* title, const std::function<void()>& handler) {
    RunTrapped(m_session.prompter, title, handler);
}

void MainWindow::ConnectMenus() {
    for (int i = 0; i < 5; ++i)
        connect(c.toolButtons[size_t(i)], &QAction::triggered, this,
                [this, i] { ToolbarAction(i + 1); });
    auto* views = new QActionGroup(this);
    views->addAction(m.mnuDiscs);
    views->addAction(m.mnuSearch);
    connect(m.mnuDiscs, &QAction::triggered, this, [this] { ToolbarAction(1); });
    connect(m.mnuSearch, &QAction::triggered, this, [this] { ToolbarAction(2); });
    connect(m.mnuToolbar, &QAction::toggled, this, &MainWindow::ToggleToolbar);
    connect(m.mnuExit, &QAction::triggered, this, &MainWindow::Exit);
    connect(m.mnuOpDB, &QAction::triggered, this, [this] {
        Trap("Error in opening database", [this] {
            OpenCatalog(m_session.current, *this, m_session.prompter, OpenSource::AskForFile);
        });
    });
    connect(m.mnuCrDB, &QAction::triggered, this, [this] {
        Trap("Error in creating database",
             [this] { CreateCatalogCommand(m_session.current, *this, m_session.prompter); });
    });
    connect(m.mnuRefD, &QAction::triggered, this, [this] { LoadDiscList(); });
    // The File menu names its list entry after the view it would save.
    connect(m.mnuFile, &QMenu::aboutToShow, this, [this] {
        m.mnuSave->setTitle(c.cmdQuery->isVisibleTo(this)
                                ? QStringLiteral("&Save Results List As...")
                                : QStringLiteral("&Save Disc List As..."));
    });
    connect(c.cmdSS, &QPushButton::clicked, m_scan, &WindowScan::Start);
    connect(c.cmdAdv, &QPushButton::clicked, this, &MainWindow::ToggleAdvanced);
    connect(c.cmdQuery, &QPushButton::clicked, this, &MainWindow::RunQuery);
    connect(c.cmdClear, &QPushButton::clicked, this, &MainWindow::ClearAllCriteria);
    OnEnter(c.cboSearch, [this] { RunQuery(); });
    // The search button is the window's default everywhere but in the grid:
    // Enter in a bound box searches too.
    for (QLineEdit* box : {c.txtSzFr, c.txtSzTo, c.txtDtFr, c.txtDtTo, c.txtRiFr, c.txtRiTo})
        OnEnter(box, [this] { RunQuery(); });
    for (ListGrid* grid : {c.fgdDiscs, c.fgdResults})
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
    if (m_tray) {
        connect(m_tray, &TrayIcon::Restore, this, &MainWindow::RestoreFromTray);
        connect(m_tray, &TrayIcon::Exit, this, &MainWindow::Exit);
    }
}

void MainWindow::Start(const std::string& catalogPath) {
    setEnabled(false);
    HideScanProgress();
    bool loaded = false;
    try {
        m_session.LoadSettings(PreparedWindowState());
        loaded = true;
        ApplySettings();
        show();
        search::ResetResultsGrid(m_panel.results, search::SearchOptionsFrom(m_session.settings),
                                 m_panel.widths);
        c.fgdResults->Reload();
        bool open = catalogPath.empty()
                        ? OpenStartupCatalog()
                        : (kest::OpenCatalog(m_session.current, *this, m_session.prompter,
                                             OpenSource::GivenPath, app::AbsolutePath(catalogPath)),
                           m_session.current.HasDatabase());
        if (open) {
            m_session.current.open = true;
            LoadDiscList();
            SaveSettings();
            EnableCatalogControls(true);
            FillDriveBox(c.icbDrives, m_volumes, m_session.settings.Only_Optical);
        } else {
            NoCatalog();
        }
    } catch (const std::exception& e) {
        // The window still comes up, without a catalog, with what was loaded.
        if (!loaded) ApplySettings();
        show();
        m_session.current.database.reset();
        NoCatalog();
        setEnabled(true);
        auto* error = dynamic_cast<const KestError*>(&e);
        m_session.prompter.ShowError("Error on load", error ? error->Number() : kInternalError,
                                     error ? error->Description() : e.what());
    }
    m_busy.Set(false);
    setEnabled(true);
}

void MainWindow::RefreshDrives() {
    // A scan keeps the box as it was: its drive is the one being read.
    if (m_scan->Running() || !m_session.current.HasDatabase()) return;
    RefreshDriveBox(c.icbDrives, m_volumes, m_session.settings.Only_Optical);
}

bool MainWindow::OpenStartupCatalog() {
    if (m_session.OpenCatalog(*this, {}, OpenWarning::StartUp)) return true;
    if (m_session.lastWarningAnswer != Answer::Yes) return false;
    CreateCatalogCommand(m_session.current, *this, m_session.prompter);
    return m_session.current.loaded;
}

void MainWindow::NoCatalog() {
    m_session.current.open = false;
    discs::SetDiscHeaders(m_discs.table,
                          discs::DiscListOptionsFrom(m_session.settings, m_session.window));
    c.fgdDiscs->Reload();
    c.lblNumDiscs->setText(QString::fromUtf8(app::kNoDatabase));
    setWindowTitle(QLatin1String(kProgramTitle));
    EnableCatalogControls(false);
}

void MainWindow::ApplySettings() {
    m.mnuToolbar->setChecked(m_session.window.toolbarVisible);
    ToggleToolbar(m_session.window.toolbarVisible);
    ApplyColours();
    ApplyGridFont();
    UpdateMinimumSize();
    // The size boxes name the unit the sizes are typed in.
    c.txtSzFr->setToolTip(FromUtf8(search::SizeFromToolTip(m_session.settings.SizeFormat)));
    c.txtSzTo->setToolTip(FromUtf8(search::SizeToToolTip(m_session.settings.SizeFormat)));
    ApplyWindowPlace(this, m_session.window);
    m_panel = app::PanelFromSettings(m_session);
    FillSearchBox();
    UpdateViewCaptions();
    ShowViewControls(m_view == app::View::Discs);
}

void MainWindow::ApplyColours() {
    std::optional<QColor> back = StoredColour(m_session.settings.Back_Color);
    if (back) {
        QPalette backdrop = c.LblBack->palette();
        backdrop.setColor(QPalette::Window, *back);
        backdrop.setColor(QPalette::WindowText, TextOn(*back));
        c.LblBack->setPalette(backdrop);
    }
    for (ListGrid* grid : {c.fgdDiscs, c.fgdResults}) {
        if (back) {
            QPalette colours = grid->palette();
            colours.setColor(QPalette::Base, *back);
            grid->setPalette(colours);
        }
        grid->setShowGrid(m_session.settings.GridLines != 0);
    }
}

void MainWindow::ApplyGridFont() {
    const WindowState& w = m_session.window;
    if (w.fontName.empty()) return;
    QFont font(FromUtf8(w.fontName));
    if (w.fontSize >= 1) font.setPointSizeF(w.fontSize);
    font.setItalic(w.fontItalic);
    font.setBold(w.fontBold);
    for (ListGrid* grid : {c.fgdDiscs, c.fgdResults}) grid->setFont(font);
}

void MainWindow::UpdateMinimumSize() {
    int width = search::MinimumWindowWidth(m_session.settings.Advanced);
    setMinimumSize(TwipsToPixels(width), TwipsToPixels(kMinHeight));
}

void MainWindow::HideScanProgress() {
    c.progress.panel->hide();
    c.progress.tmrAnimate->stop();
}

void MainWindow::ToolbarAction(int index) {
    switch (index) {
        case 1:
        case 2: {
            m_view = index == 1 ? app::View::Discs : app::View::Search;
            bool discsView = index == 1;
            (discsView ? m.mnuDiscs : m.mnuSearch)->setChecked(true);
            UpdateViewCaptions();
            for (QLabel* panel : c.panels) panel->clear();
            ShowViewControls(discsView);
            c.lblScanDirec->setVisible(discsView);
            c.lblSearchDirec->setVisible(!discsView);
            c.lblResultCount->setVisible(!discsView);
            c.fgdDiscs->setVisible(discsView);
            c.fgdResults->setVisible(!discsView);
            QWidget* focus = discsView ? static_cast<QWidget*>(c.icbDrives) : c.cboSearch;
            if (focus->isEnabled()) focus->setFocus();
            break;
        }
        case 3:
            m.mnuOpts->trigger();
            break;
        case 4:
            m.mnuHowTo->trigger();
            break;
        case 5:
            Exit();
            break;
        default:
            break;
    }
}

void MainWindow::ShowViewControls(bool discsView) {
    if (discsView) {
        ShowAdvanced(false);
    } else {
        bool advanced = m_session.settings.Advanced;
        c.cmdAdv->setText(FromUtf8(search::AdvancedCaption(advanced)));
        ShowAdvanced(advanced);
    }
    for (QWidget* control : {static_cast<QWidget*>(c.lblNumDiscs),
                             static_cast<QWidget*>(c.icbDrives), static_cast<QWidget*>(c.cmdSS)})
        control->setVisible(discsView);
    for (QWidget* control : {static_cast<QWidget*>(c.cmdQuery), static_cast<QWidget*>(c.cmdClear),
                             static_cast<QWidget*>(c.cmdAdv), static_cast<QWidget*>(c.fgdResults),
                             static_cast<QWidget*>(c.cboSearch)})
        control->setVisible(!discsView);
}

void MainWindow::ShowAdvanced(bool show) {
    c.advancedPanel->setVisible(show);
}

void MainWindow::ToggleAdvanced() {
    bool open = !search::IsAdvancedCaption(c.cmdAdv->text().toStdString());
    m_session.settings.Advanced = open;
    c.cmdAdv->setText(FromUtf8(search::AdvancedCaption(open)));
    UpdateMinimumSize();
    if (open && width() < minimumWidth()) resize(minimumWidth(), height());
    ShowAdvanced(open);
}

void MainWindow::ToggleToolbar(bool visible) {
    c.CoolBar1->setVisible(visible);
    c.tbrMain->setVisible(visible);
}

void MainWindow::EnableCatalogControls(bool open) {
    m_session.current.open = open;
    for (QWidget* control : {static_cast<QWidget*>(c.cmdClear), static_cast<QWidget*>(c.cmdQuery),
                             static_cast<QWidget*>(c.cmdAdv), static_cast<QWidget*>(c.txtSzFr),
                             static_cast<QWidget*>(c.txtSzTo), static_cast<QWidget*>(c.txtDtFr),
                             static_cast<QWidget*>(c.txtDtTo), static_cast<QWidget*>(c.txtRiFr),
                             static_cast<QWidget*>(c.txtRiTo), static_cast<QWidget*>(c.cmdSS),
                             static_cast<QWidget*>(c.cboSearch), static_cast<QWidget*>(c.drvMain),
                             static_cast<QWidget*>(c.icbDrives)})
        control->setEnabled(open);
    for (QAction* entry : {m.mnuComp, m.mnuClose, m.mnuSaveDBAs, m.mnuDBProp, m.mnuRefD})
        entry->setEnabled(open);
    m.mnuSave->setEnabled(open);
}

void MainWindow::EnableCatalogControls() {
    EnableCatalogControls(m_session.current.HasDatabase());
}

void MainWindow::SetMainWindowEnabled(bool enabled) {
    setEnabled(enabled);
}

void MainWindow::SetBusyPointer(bool busy) {
    m_busy.Set(busy);
}

void MainWindow::CatalogReplaced() {
    ClearResults();
    LoadDiscList();
}

void MainWindow::LoadDiscList() {
    if (!m_session.current.HasDatabase()) return;
    search::SearchOptions options = search::SearchOptionsFrom(m_session.settings);
    discs::ReloadDiscList(m_session.current.Db(), m_discs,
                          discs::DiscListOptionsFrom(m_session.settings, m_session.window),
                          m_session.current.name, m_session.current.path, m_session.prompter,
                          &m_panel, &options);
    ShowDiscList();
}

void MainWindow::FilterDiscs(const discfacts::DiscFilter& filter) {
    m_discs.filter = filter;
    LoadDiscList();
}

void MainWindow::ShowDiscList() {
    c.fgdDiscs->Reload();
    c.fgdResults->Reload();
    c.lblNumDiscs->setText(FromUtf8(m_discs.summary));
    if (!m_discs.windowTitle.empty()) setWindowTitle(FromUtf8(m_discs.windowTitle));
}

void MainWindow::UpdateViewCaptions() {
    c.toolButtons[0]->setText(FromUtf8(app::ViewButtonCaption(1, m_view)));
    c.toolButtons[1]->setText(FromUtf8(app::ViewButtonCaption(2, m_view)));
    c.lblSearchDirec->setText(FromUtf8(app::SearchHint(m_session.settings)));
}

void MainWindow::RunQuery() {
    if (!c.cmdQuery->isEnabled() || !m_session.current.HasDatabase() || m_scan->Running()) return;
    Trap("SQL query error", [this] {
        ReadCriteria();
        search::SearchCommand(m_session.current.Db(), m_panel,
                              search::SearchOptionsFrom(m_session.settings), m_discs.discCount,
                              m_session.prompter, *this);
        ShowSearchResults();
    });
}

void MainWindow::ClearAllCriteria() {
    ReadCriteria();
    search::ClearAll(m_panel, search::SearchOptionsFrom(m_session.settings), m_session.prompter,
                     *this);
    ShowCriteria();
    ShowSearchResults();
}

void MainWindow::ReadCriteria() {
    m_panel.searchText = c.cboSearch->currentText().toStdString();
    m_panel.bounds = {c.txtSzFr->text().toStdString(), c.txtSzTo->text().toStdString(),
                      c.txtDtFr->text().toStdString(), c.txtDtTo->text().toStdString(),
                      c.txtRiFr->text().toStdString(), c.txtRiTo->text().toStdString()};
}

void MainWindow::ShowCriteria() {
    const search::SearchBounds& b = m_panel.bounds;
    c.txtSzFr->setText(FromUtf8(b.sizeFrom));
    c.txtSzTo->setText(FromUtf8(b.sizeTo));
    c.txtDtFr->setText(FromUtf8(b.dateFrom));
    c.txtDtTo->setText(FromUtf8(b.dateTo));
    c.txtRiFr->setText(FromUtf8(b.discFrom));
    c.txtRiTo->setText(FromUtf8(b.discTo));
}

void MainWindow::ShowSearchResults() {
    c.fgdResults->Reload();
    c.lblResultCount->setText(FromUtf8(m_panel.resultCount));
    c.panels[0]->setText(FromUtf8(m_panel.status1));
    c.panels[1]->setText(FromUtf8(m_panel.status2));
    FillSearchBox();
    if (m_panel.focus == search::SearchFocus::Results && m_resultModel->rowCount() > 0)
        c.fgdResults->setFocus();
    else if (m_panel.focus == search::SearchFocus::Bound)
        BoundBoxWidget(m_panel.focusBox)->setFocus();
    else
        c.cboSearch->setFocus();
}

QLineEdit* MainWindow::BoundBoxWidget(search::BoundBox box) const {
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

void MainWindow::FillSearchBox() {
    c.cboSearch->clear();
    for (const std::string& item : m_panel.history.Items()) c.cboSearch->addItem(FromUtf8(item));
    c.cboSearch->setEditText(FromUtf8(m_panel.searchText));
}

void MainWindow::SetBusy(bool busy) {
    for (QWidget* control :
         {static_cast<QWidget*>(c.cmdQuery), static_cast<QWidget*>(c.cmdClear),
          static_cast<QWidget*>(c.cmdAdv), static_cast<QWidget*>(c.advancedPanel)})
        control->setEnabled(!busy);
}

void MainWindow::Repaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::ShowSearchView() {
    if (m_view != app::View::Search) ToolbarAction(2);
}

void MainWindow::CollectWindowState() {
    WindowState& w = m_session.window;
    w.toolbarVisible = m.mnuToolbar->isChecked();
    CollectWindowPlace(this, w);
    m_panel.searchText = c.cboSearch->currentText().toStdString();
    CollectDiscWidths();
    for (auto [column, twips] : c.fgdResults->ColumnTwips())
        m_panel.results.Column(column).width = twips;
    app::StoreSearchState(m_session, m_panel);
}

void MainWindow::CollectDiscWidths() {
    WindowState& w = m_session.window;
    for (auto [column, twips] : c.fgdDiscs->ColumnTwips())
        if (column < w.discColumnWidths.size()) w.discColumnWidths[column] = twips;
}

void MainWindow::SaveSettings() {
    CollectWindowState();
    m_session.SaveSettings();
}

std::string MainWindow::ProgramFolder() const {
    return m_session.ProgramFolder();
}

bool MainWindow::QueryUnload(bool fromCloseBox) {
    if (!m_session.settings.MinToSysTray || !m_tray) return true;
    if (fromCloseBox && !m_exiting) {
        MinimiseToTray();
        return false;
    }
    hide();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The scan owns the catalog until its clean-up: Cancel ends it.
    if (m_scan->Running()) {
        event->ignore();
        return;
    }
    if (!QueryUnload(event->spontaneous())) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void MainWindow::Exit() {
    m_exiting = true;
    if (m_tray) m_tray->Remove();
    close();
}

void MainWindow::MinimiseToTray() {
    m_tray->Show(windowTitle());
    hide();
}

void MainWindow::RestoreFromTray(Qt::WindowState state) {
    m_tray->Remove();
    setWindowState(state);
    show();
    if (state != Qt::WindowMinimized) activateWindow();
}

void MainWindow::Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    if (m_tray) m_tray->Remove();
    hide();
    // Every step runs whatever the one before it did.
    try {
        SaveSettings();
    } catch (const std::exception&) {
    }
    m_session.current.database.reset();
    m_session.current.open = false;
    m_discs.table.Clear();
    m_panel.results.Clear();
    m_discModel->Reload();
    m_resultModel->Reload();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible() &&
            window->objectName().compare(objectName(), Qt::CaseInsensitive) != 0)
            window->close();
}

}  // namespace kest::gui
