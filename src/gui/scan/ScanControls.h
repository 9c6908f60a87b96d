#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <array>

namespace kest::gui {

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

// What a scan from the window works with: the progress, the drive box and
// what it locks while it runs (the controls that could reach the catalog,
// the menus and the toolbar's buttons), and the status bar's two panels.
struct ScanControls {
    ScanProgressControls progress;
    QComboBox* icbDrives = nullptr;
    std::array<QWidget*, 5> locked{};  // scan button, drive list, drive box, toolbar, disc grid
    std::array<QMenu*, 4> menus{};
    std::array<QAction*, 5> toolButtons{};
    std::array<QLabel*, 2> panels{};
};

}  // namespace kest::gui
