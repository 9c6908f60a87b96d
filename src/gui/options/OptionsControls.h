#pragma once

#include <array>

#include "core/settings/ColumnCatalogue.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace kest::gui {

// A setting shown as a pair of option buttons ("yes" selected when true).
struct OptionPair {
    QRadioButton* yes = nullptr;
    QRadioButton* no = nullptr;
};

// Every control of the options dialog's tabs but the Security tab, each
// named (objectName) as the dialog's model names it; control arrays carry
// their index in the name (chkCol0, chkSubCol9).
struct OptionsControls {
    QTabWidget* SSTab1 = nullptr;

    // Results
    std::array<QCheckBox*, kResultColumnCount> chkCol{};
    QRadioButton *optB = nullptr, *optKB = nullptr, *optMB = nullptr;
    QComboBox* cboNumDec = nullptr;
    QLineEdit* txtDateFormat = nullptr;
    QLabel *lblConstDate = nullptr, *lblDateEx = nullptr;
    OptionPair resultsRefresh;  // optYesResImm, optNoResImm

    // General
    QPushButton* cmdColor = nullptr;
    OptionPair opticalOnly;  // optYesCDdr, optNoCDdr
    OptionPair warning;      // optYesWarn, optNoWarn
    QLabel* lblWarn = nullptr;
    OptionPair defaultDrive;                 // optYesDD, optNoDD
    OptionPair openAfterSaving;              // optOSyes, optOSno
    std::array<QRadioButton*, 3> caption{};  // optNoCap, optFileCap, optFullCap
    OptionPair minToTray;                    // optYesMin, optNoMin
    QCheckBox* chkGridLines = nullptr;
    QLineEdit* txtFont = nullptr;
    QPushButton* cmdChFont = nullptr;

    // Search
    QCheckBox *chkF = nullptr, *chkD = nullptr, *chkDs = nullptr;
    OptionPair asterisks;  // optYesAst, optNoAst
    QLineEdit* txtAdvSDtFmt = nullptr;
    QLabel* lblAdvSDtEx = nullptr;
    QRadioButton *optSLogOpOR = nullptr, *optSLogOpAND = nullptr;

    // Compressed Files
    OptionPair saveSubFiles;  // optYesSavSub, optNoSavSub
    // chkZIP, chkCAB, chkRAR, chkACE, chk7Z, chkTAR, chkCompressedTAR, chkISO
    std::array<QCheckBox*, 8> fileTypes{};
    OptionPair searchSubFiles;  // optYesSchSub, optNoSchSub
    QCheckBox *chkSN = nullptr, *chkSD = nullptr, *chkSC = nullptr;
    std::array<QCheckBox*, kSubFileColumnCount> chkSubCol{};

    // Misc
    QCheckBox* chkPlayWAV = nullptr;
    QLineEdit* txtEndScan = nullptr;
    QPushButton* cmdBrSound = nullptr;
    OptionPair estimate;   // optYesEst, optNoEst
    OptionPair usedSpace;  // optYesUS, optNoUS
};

// Builds the tab control with its five own tabs; the Security tab (built by
// the dialog over the open catalog) goes in at its place, third.
OptionsControls BuildOptionsTabs(QWidget* dialog, QWidget* securityTab);

}  // namespace kest::gui
