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
#include "gui/scan/ScanControls.h"

class QMainWindow;

namespace kest {
class ListTable;
}

namespace kest::gui {

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
// views, status bar); the grids show the two lists (models dtaDiscs and
// dtaSearch).
MainControls BuildMainControls(QMainWindow* window, const ListTable& discs,
                               const ListTable& results);

}  // namespace kest::gui
