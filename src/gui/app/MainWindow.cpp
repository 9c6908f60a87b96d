#include "gui/app/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>

#include "core/app/ListSaving.h"
#include "core/app/Startup.h"
#include "core/app/WindowRules.h"
#include "core/shell/ShellRun.h"
#include "gui/app/CatalogHostView.h"
#include "gui/app/DiscFactsView.h"
#include "gui/app/DiscsView.h"
#include "gui/app/MountWatch.h"
#include "gui/app/OptionsCommand.h"
#include "gui/app/ResultsMenu.h"
#include "gui/app/SearchView.h"
#include "gui/app/TrayIcon.h"
#include "gui/app/ViewSwitch.h"
#include "gui/app/WindowLook.h"
#include "gui/app/WindowPlace.h"
#include "gui/app/WindowShortcuts.h"
#include "gui/app/WindowStartup.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/dialogs/ErrorTrap.h"
#include "gui/scan/WindowScan.h"
#include "gui/update/HelpMenu.h"
#include "gui/widgets/BusyPointer.h"
#include "gui/widgets/Pictures.h"

namespace kest::gui {
namespace {

// What a scan from the window locks, shows and reads.
ScanControls ScanControlsOf(const MainControls& c, const MainMenus& m) {
    ScanControls scan;
    scan.progress = c.progress;
    scan.icbDrives = c.icbDrives;
    scan.locked = {c.cmdSS, c.drvMain, c.icbDrives, c.tbrMain, c.fgdDiscs};
    scan.menus = {m.mnuFile, m.mnuView, m.mnuTools, m.mnuHelp};
    scan.toolButtons = c.toolButtons;
    scan.panels = c.panels;
    return scan;
}

}  // namespace

MainWindow::MainWindow(AppPaths paths, Prompter& prompter, const platform::Volumes& volumes)
    : m_session(std::move(paths), prompter), m_volumes(volumes) {
    setObjectName(QStringLiteral("frmKest"));
    setWindowTitle(QStringLiteral("Kest"));
    setWindowIcon(ProgramIcon());
    c = BuildMainControls(this, m_discs.table, m_panel.results);
    m = BuildMainMenus(this);
    MakeParts(prompter);
    ConnectParts();
    ConnectMenus();
    FitMinimumSize(this, m_session.settings);
    ToolbarAction(1);
}

MainWindow::~MainWindow() {
    Unload();
    // The parts that watch the grids' or the application's events must not
    // see those of the window's own destruction.
    delete m_parts.shortcuts;
    delete m_parts.discs;
}

void MainWindow::MakeParts(Prompter& prompter) {
    WindowParts& p = m_parts;
    p.tray = TrayIcon::Create(this);
    p.search = new SearchView(m_session, m_discs, m_panel, c, this);
    p.discs = new DiscsView(m_session, m_volumes, m_discs, m_panel, c, m, this);
    p.results = new ResultsMenu(m_session, m_volumes, m_discs, m_panel, c, m, this);
    p.views = new ViewSwitch(m_session, *p.search, c, m, this);
    CatalogWindowCalls calls;
    calls.updateViewCaptions = [this] { m_parts.views->UpdateCaptions(); };
    calls.saveSettings = [this] { SaveSettings(); };
    calls.reinstallTrayIcon = [this] {
        if (m_parts.tray) m_parts.tray->Reinstall();
    };
    p.host = new CatalogHostView(m_session, *p.discs, *p.search, c, m, this, std::move(calls));
    p.startup = new WindowStartup(m_session, c, m, m_parts, this);
    p.options = new OptionsCommand(m_session, c, m_parts, this);
    p.scan = new WindowScan(m_session, m_volumes, ScanControlsOf(c, m), this);
    p.facts = new DiscFactsView(m_session, m_volumes, m_discs, m_panel, c, p.tray, *p.scan, this);
    p.help = new HelpMenu(this, prompter);
    p.shortcuts = new WindowShortcuts(this);
}

void MainWindow::ConnectParts() {
    const WindowParts& p = m_parts;
    p.search->otherCommandRunning = [this] { return m_parts.scan->Running(); };
    p.scan->View().onReloadDiscList = [this] { m_parts.discs->Load(); };
    p.scan->View().onResetResults = [this] { m_parts.search->ClearResults(); };
    connect(p.discs, &DiscsView::ContentsWanted, p.search, &SearchView::ShowContents);
    connect(p.discs, &DiscsView::ResultsReset, this, [this] { c.fgdResults->Reload(); });
    auto showChanged = [this] {
        m_parts.discs->ShowList();
        m_parts.search->ShowLists();
    };
    connect(p.discs, &DiscsView::ListsChanged, this, showChanged);
    connect(p.results, &ResultsMenu::ListsChanged, this, showChanged);
    connect(p.facts, &DiscFactsView::ListsChanged, this, showChanged);
    connect(p.search, &SearchView::SearchViewWanted, this, [this] {
        if (m_parts.views->Current() != app::View::Search) ToolbarAction(2);
    });
    auto* mounts = new MountWatch(this);
    mounts->setObjectName(QStringLiteral("mountWatch"));
    connect(mounts, &MountWatch::Changed, this, &MainWindow::RefreshDrives);
    connect(mounts, &MountWatch::Changed, p.facts, &DiscFactsView::OnMountsChanged);
    connect(p.facts, &DiscFactsView::DiscListWanted, p.discs, &DiscsView::Load);
    connect(p.facts, &DiscFactsView::DiscsViewWanted, this, [this] { ToolbarAction(1); });
    if (p.tray) {
        connect(p.tray, &TrayIcon::Exit, this, &MainWindow::Exit);
        connect(p.tray, &TrayIcon::About, p.help, [this] { m_parts.help->ShowAbout(false); });
    }
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
    connect(m.mnuToolbar, &QAction::toggled, this, [this](bool on) { ShowToolbar(c, on); });
    connect(m.mnuExit, &QAction::triggered, this, &MainWindow::Exit);
    connect(m.mnuRefD, &QAction::triggered, this, &MainWindow::RefreshDiscList);
    connect(m.mnuViewTrouble, &QAction::triggered, this, [this] {
        shell::ViewLog(DesktopShell(), m_session.prompter, m_session.ProgramFolder());
    });
    connect(m.mnuOpts, &QAction::triggered, m_parts.options, &OptionsCommand::Show);
    connect(m.mnuDuplicates, &QAction::triggered, m_parts.facts, &DiscFactsView::ShowDuplicates);
    connect(m.mnuLentDiscs, &QAction::triggered, m_parts.facts, &DiscFactsView::ShowLentDiscs);
    connect(c.cmdSS, &QPushButton::clicked, m_parts.scan, &WindowScan::Start);
    connect(m.mnuScanFolder, &QAction::triggered, m_parts.scan, &WindowScan::ScanFolder);
    connect(m.mnuScanImage, &QAction::triggered, m_parts.scan, &WindowScan::ScanImage);
    connect(m_parts.scan, &WindowScan::CloseReady, this, &QWidget::close);
    HelpMenu* help = m_parts.help;
    connect(m.mnuHowTo, &QAction::triggered, help, &HelpMenu::ShowContents);
    connect(m.mnuWebPage, &QAction::triggered, help, &HelpMenu::OpenWebPage);
    connect(m.mnuUpdate, &QAction::triggered, help, &HelpMenu::ShowUpdate);
    connect(m.mnuDonate, &QAction::triggered, help, &HelpMenu::ShowDonate);
    connect(m.mnuAbout, &QAction::triggered, help, [help] { help->ShowAbout(true); });
    // The File menu names its list entry after the view it would save.
    connect(m.mnuFile, &QMenu::aboutToShow, this, [this] {
        m.mnuSave->setTitle(c.cmdQuery->isVisibleTo(this)
                                ? QStringLiteral("&Save Results List As...")
                                : QStringLiteral("&Save Disc List As..."));
    });
    auto save = [this](bool results, search::ListFormat format) {
        if (!m_session.current.HasDatabase()) return;
        RunTrapped(m_session.prompter, "Error in dump-to-text", [&] {
            app::SaveList(m_session, m_discs, results ? &m_panel : nullptr, format, DesktopShell());
        });
    };
    for (int i = 0; i < 2; ++i) {
        auto format = i == 0 ? search::ListFormat::PlainText : search::ListFormat::Csv;
        connect(m.mnuSaveDiscs[size_t(i)], &QAction::triggered, this,
                [save, format] { save(false, format); });
        connect(m.mnuSaveRes[size_t(i)], &QAction::triggered, this,
                [save, format] { save(true, format); });
        // The File menu's entries save the list of the view shown.
        connect(m.mnuGetSav[size_t(i)], &QAction::triggered, this, [this, save, format] {
            save(m_parts.views->Current() == app::View::Search, format);
        });
    }
}

void MainWindow::Start(const std::string& catalogPath) {
    app::StartUp(m_session, *m_parts.host, *m_parts.startup, catalogPath);
}

void MainWindow::ToolbarAction(int index) {
    switch (index) {
        case 1:
        case 2:
            m_parts.views->Show(index == 1 ? app::View::Discs : app::View::Search);
            break;
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

void MainWindow::RefreshDrives() {
    m_parts.discs->RefreshDrives(m_parts.scan->Running());
}

void MainWindow::RefreshDiscList() {
    if (!m_session.current.HasDatabase()) return;
    setEnabled(false);
    {
        BusyPointer busy;
        RunTrapped(m_session.prompter, "Error in refreshing Disc List", [&] {
            // The used-space column's width is kept as the user left it.
            m_parts.discs->CollectWidths();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            busy.Set(true);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            ToolbarAction(1);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_parts.discs->Load();
        });
    }
    setEnabled(true);
}

void MainWindow::SaveSettings() {
    WindowState& w = m_session.window;
    w.toolbarVisible = m.mnuToolbar->isChecked();
    CollectWindowPlace(this, w);
    m_parts.discs->CollectWidths();
    m_parts.search->CollectState();
    m_session.SaveSettings();
}

bool MainWindow::QueryUnload(bool fromCloseBox) {
    bool ending = m_ending != Ending::None;
    switch (app::ChooseClose(m_session.settings, m_parts.tray != nullptr, fromCloseBox, ending)) {
        case app::CloseChoice::MinimiseToTray:
            m_parts.tray->MinimiseWindow();
            return false;
        case app::CloseChoice::HideThenClose:
            hide();
            return true;
        case app::CloseChoice::Close:
            break;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The scan owns the catalog until its clean-up: the window closes once
    // the scan has stopped, when the user agrees to cancel it.
    if (m_parts.scan->Running()) {
        event->ignore();
        m_parts.scan->CancelForClose(m_ending != Ending::Terminate);
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
    if (m_ending == Ending::None) m_ending = Ending::Exit;
    if (m_parts.tray) m_parts.tray->Remove();
    close();
}

void MainWindow::Terminate() {
    m_ending = Ending::Terminate;
    Exit();
}

void MainWindow::Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    if (m_parts.tray) m_parts.tray->Remove();
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
    c.fgdDiscs->Reload();
    c.fgdResults->Reload();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible() &&
            window->objectName().compare(objectName(), Qt::CaseInsensitive) != 0)
            window->close();
}

}  // namespace kest::gui
