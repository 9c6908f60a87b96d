#pragma once

#include <QAction>
#include <QMenu>
#include <array>

class QMainWindow;

namespace kest::gui {

// The menu bar and the grids' pop-up menus, every entry named (objectName) as
// the window's model names it; a control array's entries carry their index
// in the name (mnuGetSav0, mnuGetSav1).
struct MainMenus {
    QMenu* mnuFile = nullptr;
    QAction *mnuOpDB = nullptr, *mnuCrDB = nullptr, *mnuComp = nullptr, *mnuClose = nullptr,
            *mnuSaveDBAs = nullptr, *mnuDBProp = nullptr, *mnuScanFolder = nullptr,
            *mnuScanImage = nullptr, *mnuExit = nullptr;
    QMenu* mnuSave = nullptr;
    std::array<QAction*, 2> mnuGetSav{};

    QMenu* mnuView = nullptr;
    QMenu* mnuGoTo = nullptr;
    QAction *mnuDiscs = nullptr, *mnuSearch = nullptr, *mnuToolbar = nullptr;

    QMenu* mnuTools = nullptr;
    QAction *mnuViewTrouble = nullptr, *mnuRefD = nullptr, *mnuRep = nullptr, *mnuOpts = nullptr,
            *mnuReindex = nullptr, *mnuDuplicates = nullptr, *mnuLentDiscs = nullptr;

    QMenu* mnuHelp = nullptr;
    QAction *mnuHowTo = nullptr, *mnuWebPage = nullptr, *mnuUpdate = nullptr, *mnuDonate = nullptr,
            *mnuAbout = nullptr;

    QMenu* mnuPopUp1 = nullptr;
    QAction *mnuDiscDetails = nullptr, *mnuDelDisc = nullptr, *mnuMDD = nullptr;
    QAction *mnuExplore = nullptr, *mnuShowInTree = nullptr;  // the Explore window's ways in
    std::array<QAction*, 2> mnuContents{};
    QMenu* mnuSave2 = nullptr;
    std::array<QAction*, 2> mnuSaveDiscs{};

    QMenu* mnuPopUp2 = nullptr;
    QAction *mnuFileDetails = nullptr, *mnuMFD = nullptr;
    std::array<QAction*, 3> mnuGetFile{};  // indexes 1..3 at [0..2]
    QMenu* mnuSave3 = nullptr;
    std::array<QAction*, 2> mnuSaveRes{};
};

// Builds the menu bar of the window and the two grid pop-up menus (owned by
// the window).
MainMenus BuildMainMenus(QMainWindow* window);

}  // namespace kest::gui
