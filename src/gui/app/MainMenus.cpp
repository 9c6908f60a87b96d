#include "gui/app/MainMenus.h"

#include <QMainWindow>
#include <QMenuBar>

namespace kest::gui {
namespace {

QMenu* SubMenu(QWidget* parent, const char* name, const char* caption) {
    auto* menu = new QMenu(QString::fromUtf8(caption), parent);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* SubMenu(QMenu* parent, const char* name, const char* caption) {
    QMenu* menu = SubMenu(static_cast<QWidget*>(parent), name, caption);
    parent->addMenu(menu);
    return menu;
}

QAction* Entry(QMenu* menu, const QString& name, const char* caption, const char* keys = nullptr) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    if (keys) action->setShortcut(QKeySequence(QLatin1String(keys)));
    return action;
}

QAction* Entry(QMenu* menu, const char* name, const char* caption, const char* keys = nullptr) {
    return Entry(menu, QLatin1String(name), caption, keys);
}

// The two entries of a "save list" submenu: plain text and CSV.
std::array<QAction*, 2> SaveEntries(QMenu* menu, const char* name, bool accelerators) {
    return {Entry(menu, QStringLiteral("%1%2").arg(QLatin1String(name)).arg(0),
                  accelerators ? "&Plain Text File..." : "Plain Text File..."),
            Entry(menu, QStringLiteral("%1%2").arg(QLatin1String(name)).arg(1),
                  accelerators ? "CS&V File..." : "CSV File...")};
}

void BuildFileMenu(QMenuBar* bar, MainMenus& m) {
    m.mnuFile = SubMenu(bar, "mnuFile", "&File");
    bar->addMenu(m.mnuFile);
    m.mnuOpDB = Entry(m.mnuFile, "mnuOpDB", "&Open Database...", "Ctrl+O");
    m.mnuCrDB = Entry(m.mnuFile, "mnuCrDB", "Create &New Database...", "Ctrl+N");
    m.mnuComp = Entry(m.mnuFile, "mnuComp", "&Compact and Repair Database... ", "Ctrl+C");
    m.mnuClose = Entry(m.mnuFile, "mnuClose", "C&lose Database", "Ctrl+W");
    m.mnuFile->addSeparator();
    m.mnuSaveDBAs = Entry(m.mnuFile, "mnuSaveDBAs", "Save Database &As...");
    m.mnuDBProp = Entry(m.mnuFile, "mnuDBProp", "Data&base Properties");
    m.mnuFile->addSeparator();
    m.mnuScanFolder = Entry(m.mnuFile, "mnuScanFolder", "Scan &Folder...");
    m.mnuScanImage = Entry(m.mnuFile, "mnuScanImage", "Scan Disc &Image...");
    m.mnuFile->addSeparator();
    m.mnuSave = SubMenu(m.mnuFile, "mnuSave", "&Save List as...");
    m.mnuGetSav = SaveEntries(m.mnuSave, "mnuGetSav", true);
    m.mnuFile->addSeparator();
    m.mnuExit = Entry(m.mnuFile, "mnuExit", "&Exit", "Ctrl+E");
}

void BuildViewMenu(QMenuBar* bar, MainMenus& m) {
    m.mnuView = SubMenu(bar, "mnuView", "Vie&w");
    bar->addMenu(m.mnuView);
    m.mnuGoTo = SubMenu(m.mnuView, "mnuGoTo", "&Go To");
    m.mnuDiscs = Entry(m.mnuGoTo, "mnuDiscs", "&Discs", "Ctrl+D");
    m.mnuSearch = Entry(m.mnuGoTo, "mnuSearch", "&Search", "Ctrl+S");
    m.mnuView->addSeparator();
    m.mnuToolbar = Entry(m.mnuView, "mnuToolbar", "&Toolbar", "Ctrl+T");
    for (QAction* check : {m.mnuDiscs, m.mnuSearch, m.mnuToolbar}) check->setCheckable(true);
    m.mnuDiscs->setChecked(true);
    m.mnuToolbar->setChecked(true);
}

void BuildToolsMenu(QMenuBar* bar, MainMenus& m) {
    m.mnuTools = SubMenu(bar, "mnuTools", "&Tools");
    bar->addMenu(m.mnuTools);
    m.mnuViewTrouble =
        Entry(m.mnuTools, "mnuViewTrouble", "View Troub&leshooting File...", "Ctrl+L");
    m.mnuRefD = Entry(m.mnuTools, "mnuRefD", "Re&fresh the Discs List", "Ctrl+F");
    m.mnuRep = Entry(m.mnuTools, "mnuRep", "&Repair External Database...");
    m.mnuReindex = Entry(m.mnuTools, "mnuReindex", "Re&build Search Index...");
    m.mnuDuplicates = Entry(m.mnuTools, "mnuDuplicates", "Find D&uplicates...");
    m.mnuLentDiscs = Entry(m.mnuTools, "mnuLentDiscs", "Len&t Discs...");
    m.mnuTools->addSeparator();
    m.mnuOpts = Entry(m.mnuTools, "mnuOpts", "&Options...", "Ctrl+I");
}

void BuildHelpMenu(QMenuBar* bar, MainMenus& m) {
    m.mnuHelp = SubMenu(bar, "mnuHelp", "&Help");
    bar->addMenu(m.mnuHelp);
    m.mnuHowTo = Entry(m.mnuHelp, "mnuHowTo", "Help &Content...", "Ctrl+H");
    m.mnuHelp->addSeparator();
    m.mnuWebPage = Entry(m.mnuHelp, "mnuWE", "Kest on the &Web...");
    m.mnuUpdate = Entry(m.mnuHelp, "mnuUpdate", "Check for &Update...");
    m.mnuDonate = Entry(m.mnuHelp, "mnuDonate", "&Donate...");
    m.mnuHelp->addSeparator();
    m.mnuAbout = Entry(m.mnuHelp, "mnuAbout", "&About Kest...");
}

void BuildPopUps(QMainWindow* window, MainMenus& m) {
    // The pop-up menus have no title to read out: screen readers get a name.
    m.mnuPopUp1 = SubMenu(window, "mnuPopUp1", "");
    m.mnuPopUp1->setAccessibleName(QStringLiteral("Disc list menu"));
    m.mnuDiscDetails = Entry(m.mnuPopUp1, "mnuDiscDetails", "Disc Details...");
    m.mnuExplore = Entry(m.mnuPopUp1, "mnuExplore", "Explore Disc...");
    m.mnuContents = {Entry(m.mnuPopUp1, "mnuContents0", "Disc Contents"),
                     Entry(m.mnuPopUp1, "mnuContents1", "Database Contents")};
    m.mnuDelDisc = Entry(m.mnuPopUp1, "mnuDelDisc", "Delete Disc...");
    m.mnuMDD = Entry(m.mnuPopUp1, "mnuMDD", "Multiple Disc Delete...");
    m.mnuPopUp1->addSeparator();
    m.mnuSave2 = SubMenu(m.mnuPopUp1, "mnuSave2", "Save Disc List As...");
    m.mnuSaveDiscs = SaveEntries(m.mnuSave2, "mnuSaveDiscs", false);

    m.mnuPopUp2 = SubMenu(window, "mnuPopUp2", "");
    m.mnuPopUp2->setAccessibleName(QStringLiteral("Search results menu"));
    m.mnuFileDetails = Entry(m.mnuPopUp2, "mnuFileDetails", "File Details...");
    m.mnuShowInTree = Entry(m.mnuPopUp2, "mnuShowInTree", "Show in Folder Tree");
    m.mnuGetFile = {Entry(m.mnuPopUp2, "mnuGetFile1", "Open File..."),
                    Entry(m.mnuPopUp2, "mnuGetFile2", "Open Folder..."),
                    Entry(m.mnuPopUp2, "mnuGetFile3", "Explore Folder...")};
    m.mnuMFD = Entry(m.mnuPopUp2, "mnuMFD", "Multiple File Description Update...");
    m.mnuPopUp2->addSeparator();
    m.mnuSave3 = SubMenu(m.mnuPopUp2, "mnuSave3", "Save Results List As...");
    m.mnuSaveRes = SaveEntries(m.mnuSave3, "mnuSaveRes", false);
}

}  // namespace

MainMenus BuildMainMenus(QMainWindow* window) {
    MainMenus m;
    QMenuBar* bar = window->menuBar();
    BuildFileMenu(bar, m);
    BuildViewMenu(bar, m);
    BuildToolsMenu(bar, m);
    BuildHelpMenu(bar, m);
    BuildPopUps(window, m);
    return m;
}

}  // namespace kest::gui
