#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <array>

#include "gui/grids/ListGrid.h"

class QMainWindow;

namespace kest::gui {

class ListTableModel;

// The scan progress controls, shown only while a scan runs: the two bars
// (ProgPic2 and ProgPic4 are the frames, ProgPic1 and ProgPic3 their filled
// parts), their percent labels and the animation shown without an estimate.
struct ScanProgressControls {
    QWidget* panel = nullptr;
    QLabel *lblNoProg = nullptr, *lblSubProg = nullptr, *lblTotProg = nullptr;
    std::array<QFrame*, 4> ProgPic{};  // ProgPic1..ProgPic4
    std::array<QLabel*, 4> ProgLbl{};  // ProgLbl1..ProgLbl4
    QLabel *imgStart = nullptr, *imgEnd = nullptr, *imgGo = nullptr;
    QTimer* tmrAnimate = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Every control of the main window, each named (objectName) as the window's
// model names it.
struct MainControls {
    QFrame* CoolBar1 = nullptr;
    QToolBar* tbrMain = nullptr;
    std::array<QAction*, 5> toolButtons{};  // by index 1..5 at [0..4]
    QFrame* LblBack = nullptr;

    // Discs view.
    QLabel* lblScanDirec = nullptr;
    QComboBox* icbDrives = nullptr;
    QComboBox* drvMain = nullptr;  // the hidden drive list
    QPushButton* cmdSS = nullptr;
    QLabel* lblNumDiscs = nullptr;
    ListGrid* fgdDiscs = nullptr;

    // Search view.
    QLabel* lblSearchDirec = nullptr;
    QComboBox* cboSearch = nullptr;
    QPushButton *cmdQuery = nullptr, *cmdClear = nullptr, *cmdAdv = nullptr;
    QWidget* advancedPanel = nullptr;
    QLineEdit *txtSzFr = nullptr, *txtSzTo = nullptr, *txtDtFr = nullptr, *txtDtTo = nullptr,
              *txtRiFr = nullptr, *txtRiTo = nullptr;
    QLabel *lblSz = nullptr, *lblSz2 = nullptr, *lblDt = nullptr, *lblDt2 = nullptr,
           *lblRi = nullptr, *lblRi2 = nullptr;
    QLabel* lblResultCount = nullptr;
    ListGrid* fgdResults = nullptr;

    ScanProgressControls progress;

    QStatusBar* sbr1 = nullptr;
    std::array<QLabel*, 2> panels{};  // the status bar's two text panels
};

// Builds the controls into the window (toolbar band, backdrop with both
// views, status bar); the grids show the two models.
MainControls BuildMainControls(QMainWindow* window, ListTableModel* discs, ListTableModel* results);

}  // namespace kest::gui
