// The main window's controls and their Qt layouts: the toolbar band on top,
// the backdrop holding both views (only one view's controls show at a time),
// the scan progress row and the status bar.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QVBoxLayout>

#include "core/app/ViewTexts.h"
#include "gui/app/MainControls.h"
#include "gui/dialogs/DetailsForm.h"
#include "gui/grids/ListTableModel.h"
#include "gui/widgets/Pictures.h"
#include "gui/widgets/Twips.h"

namespace kest::gui {
namespace {

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A label shows a doubled "&" as one, as a caption does.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    QString shown = text;
    return Named(new QLabel(shown.replace(QStringLiteral("&&"), QStringLiteral("&")), parent),
                 name);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* button = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
    button->setToolTip(QString::fromUtf8(tip));
    return button;
}

// A text box has no caption: its tool tip is also its name for screen readers.
// A combo box reads out its text as its name on Linux, so its tool tip also
// names its edit box and describes the combo.
void NameCombo(QComboBox* combo, const char* tip) {
    combo->setToolTip(QString::fromUtf8(tip));
    combo->setAccessibleName(combo->toolTip());
    combo->setAccessibleDescription(combo->toolTip());
    combo->lineEdit()->setAccessibleName(combo->toolTip());
}

QLineEdit* MakeBox(QWidget* parent, const char* name, const char* tip) {
    auto* box = Named(new QLineEdit(parent), name);
    box->setToolTip(QString::fromUtf8(tip));
    box->setAccessibleName(box->toolTip());
    box->setMinimumWidth(TwipsToPixels(1000));
    SelectAllOnFocus(box);
    return box;
}

void BuildToolbar(QMainWindow* window, MainControls& c) {
    c.CoolBar1 = Named(new QFrame(window), "CoolBar1");
    c.CoolBar1->setFrameShape(QFrame::StyledPanel);
    c.tbrMain = Named(new QToolBar(c.CoolBar1), "tbrMain");
    c.tbrMain->setMovable(false);
    c.tbrMain->setFloatable(false);
    c.tbrMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    c.tbrMain->setIconSize(QSize(24, 24));
    static constexpr std::array<std::array<const char*, 2>, 5> kButtons{{
        {"[Discs]", "The Disc collection (Ctrl+D)"},
        {"Search", "Search for a file in the Discs (Ctrl+S)"},
        {"Options", "Program options (Ctrl+I)"},
        {"Help", "Help (Ctrl+H)"},
        {"Exit", "Exit (Ctrl+E)"},
    }};
    for (int i = 0; i < 5; ++i) {
        QAction* button =
            c.tbrMain->addAction(ToolbarPicture(i + 1), QString::fromUtf8(kButtons[size_t(i)][0]));
        button->setObjectName(QStringLiteral("tbrMain%1").arg(i + 1));
        button->setToolTip(QString::fromUtf8(kButtons[size_t(i)][1]));
        c.toolButtons[size_t(i)] = button;
        if (i == 1) c.tbrMain->addSeparator();
    }
    auto* band = new QHBoxLayout(c.CoolBar1);
    band->setContentsMargins(2, 0, 2, 0);
    band->addWidget(c.tbrMain);
    band->addStretch();
    c.CoolBar1->setFixedHeight(TwipsToPixels(840));
}

QWidget* BuildAdvancedPanel(QWidget* parent, MainControls& c) {
    auto* panel = Named(new QWidget(parent), "advancedPanel");
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    struct Row {
        QLabel** label;
        const char* labelName;
        const char* caption;
        QLineEdit** from;
        const char* fromName;
        const char* fromTip;
        QLabel** label2;
        const char* label2Name;
        QLineEdit** to;
        const char* toName;
        const char* toTip;
    };
    const Row rows[] = {
        {&c.lblSz, "lblSz", "Size:", &c.txtSzFr, "txtSzFr", "Lower bound of size in MB", &c.lblSz2,
         "lblSz2", &c.txtSzTo, "txtSzTo", "Upper bound of size in MB"},
        {&c.lblDt, "lblDt", "Dates:", &c.txtDtFr, "txtDtFr", "Lower bound of date", &c.lblDt2,
         "lblDt2", &c.txtDtTo, "txtDtTo", "Upper bound of date"},
        {&c.lblRi, "lblRi", "KestID:", &c.txtRiFr, "txtRiFr", "Lower bound of KestID", &c.lblRi2,
         "lblRi2", &c.txtRiTo, "txtRiTo", "Upper bound of KestID"},
    };
    int r = 0;
    for (const Row& row : rows) {
        *row.label = MakeLabel(panel, row.labelName, QString::fromUtf8(row.caption));
        *row.from = MakeBox(panel, row.fromName, row.fromTip);
        *row.label2 = MakeLabel(panel, row.label2Name, QStringLiteral("to"));
        *row.to = MakeBox(panel, row.toName, row.toTip);
        (*row.label)->setBuddy(*row.from);
        grid->addWidget(*row.label, r, 0, Qt::AlignRight);
        grid->addWidget(*row.from, r, 1);
        grid->addWidget(*row.label2, r, 2);
        grid->addWidget(*row.to, r, 3);
        ++r;
    }
    return panel;
}

QFrame* ProgressBar(QWidget* parent, MainControls& c, int frame, int fill) {
    auto* back = new QFrame(parent);
    back->setObjectName(QStringLiteral("ProgPic%1").arg(frame));
    back->setFrameShape(QFrame::StyledPanel);
    back->setFixedSize(TwipsToPixels(3900), 16);
    auto* filled = new QFrame(back);
    filled->setObjectName(QStringLiteral("ProgPic%1").arg(fill));
    filled->setAutoFillBackground(true);
    filled->setBackgroundRole(QPalette::Highlight);
    filled->setGeometry(0, 0, 0, 16);
    c.progress.ProgPic[size_t(frame - 1)] = back;
    c.progress.ProgPic[size_t(fill - 1)] = filled;
    return back;
}

void BuildScanProgress(QWidget* parent, MainControls& c) {
    ScanProgressControls& p = c.progress;
    p.panel = Named(new QWidget(parent), "scanProgress");
    auto* grid = new QGridLayout(p.panel);
    grid->setContentsMargins(0, 0, 0, 0);
    p.lblNoProg = MakeLabel(p.panel, "lblNoProg", QStringLiteral("Disc scan in progress..."));
    p.lblSubProg = MakeLabel(p.panel, "lblSubProg", QStringLiteral("SubFile Progress:"));
    p.lblTotProg = MakeLabel(p.panel, "lblTotProg", QStringLiteral("Total File Progress:"));
    for (int i = 0; i < 4; ++i) {
        p.ProgLbl[size_t(i)] = MakeLabel(p.panel, "", QStringLiteral("0%"));
        p.ProgLbl[size_t(i)]->setObjectName(QStringLiteral("ProgLbl%1").arg(i + 1));
    }
    grid->addWidget(p.lblTotProg, 0, 0);
    grid->addWidget(ProgressBar(p.panel, c, 2, 1), 0, 1);
    grid->addWidget(p.ProgLbl[0], 0, 2);
    grid->addWidget(p.lblSubProg, 1, 0);
    grid->addWidget(ProgressBar(p.panel, c, 4, 3), 1, 1);
    grid->addWidget(p.ProgLbl[2], 1, 2);
    // ProgLbl2 and ProgLbl4 repeat the percent inside the bars' frames.
    p.ProgLbl[1]->setParent(p.ProgPic[1]);
    p.ProgLbl[3]->setParent(p.ProgPic[3]);
    grid->addWidget(p.lblNoProg, 2, 0);
    QPixmap disc = ToolbarPicture(1).pixmap(16, 16);
    p.imgStart = MakeLabel(p.panel, "imgStart", {});
    p.imgEnd = MakeLabel(p.panel, "imgEnd", {});
    p.imgGo = MakeLabel(p.panel, "imgGo", {});
    for (QLabel* image : {p.imgStart, p.imgEnd, p.imgGo}) image->setPixmap(disc);
    auto* animation = new QHBoxLayout;
    animation->addWidget(p.imgStart);
    animation->addWidget(p.imgGo);
    animation->addWidget(p.imgEnd);
    animation->addStretch();
    grid->addLayout(animation, 2, 1);
    p.cmdCancel = MakeButton(p.panel, "cmdCancel", "Ca&ncel", "");
    grid->addWidget(p.cmdCancel, 0, 3, 2, 1, Qt::AlignVCenter);
    grid->setColumnStretch(4, 1);
    p.tmrAnimate = Named(new QTimer(p.panel), "tmrAnimate");
    p.tmrAnimate->setInterval(100);
}

// Both views share the backdrop: the hints over the boxes and buttons, the
// advanced panel at their right, the scan progress, then the grids.
void LayOutViews(QWidget* back, const MainControls& c) {
    auto* row1 = new QHBoxLayout;
    row1->addWidget(c.icbDrives, 1);
    row1->addWidget(c.cboSearch, 1);
    row1->addWidget(c.cmdSS);
    row1->addWidget(c.cmdQuery);
    row1->addWidget(c.cmdAdv);
    auto* row2 = new QHBoxLayout;
    row2->addWidget(c.cmdClear);
    row2->addWidget(c.lblNumDiscs, 1);
    row2->addWidget(c.lblResultCount, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(row1);
    left->addLayout(row2);
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(c.advancedPanel, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(back);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(6);
    layout->addWidget(c.lblScanDirec);
    layout->addWidget(c.lblSearchDirec);
    layout->addLayout(top);
    layout->addWidget(c.progress.panel);
    layout->addWidget(c.fgdDiscs, 1);
    layout->addWidget(c.fgdResults, 1);
}

void BuildViews(QWidget* back, const ListTable& discs, const ListTable& results, MainControls& c) {
    c.lblScanDirec = MakeLabel(back, "lblScanDirec", QString::fromUtf8(app::kScanHint));
    c.lblSearchDirec = MakeLabel(back, "lblSearchDirec", {});
    for (QLabel* hint : {c.lblScanDirec, c.lblSearchDirec}) hint->setWordWrap(true);

    c.icbDrives = Named(new QComboBox(back), "icbDrives");
    c.icbDrives->setEditable(true);
    c.icbDrives->lineEdit()->setReadOnly(true);
    c.icbDrives->setEditText(QStringLiteral("Select Drive"));
    NameCombo(c.icbDrives, "Drives available");
    c.icbDrives->setMinimumWidth(TwipsToPixels(2400));
    c.drvMain = Named(new QComboBox(back), "drvMain");
    c.drvMain->hide();
    c.cmdSS = MakeButton(back, "cmdSS", "Scan && Sa&ve", "Scan & save the files on the disc");
    c.lblNumDiscs = MakeLabel(back, "lblNumDiscs", QString::fromUtf8(app::kNoDatabase));

    c.cboSearch = Named(new QComboBox(back), "cboSearch");
    c.cboSearch->setEditable(true);
    c.cboSearch->setInsertPolicy(QComboBox::NoInsert);
    NameCombo(c.cboSearch, "The search parameters");
    c.cboSearch->setMinimumWidth(TwipsToPixels(2400));
    c.cmdQuery = MakeButton(back, "cmdQuery", "&Query", "Initiate the search");
    c.cmdQuery->setDefault(false);
    c.cmdClear = MakeButton(back, "cmdClear", "&Clear All", "Clear all fields");
    c.cmdAdv = MakeButton(back, "cmdAdv", ">> &Advanced", "Advanced search options");
    c.lblResultCount = MakeLabel(back, "lblResultCount", QStringLiteral("Matches Found: ---"));
    c.advancedPanel = BuildAdvancedPanel(back, c);

    c.fgdDiscs =
        Named(new ListGrid(Named(new ListTableModel(discs, back), "dtaDiscs"), back), "fgdDiscs");
    c.fgdDiscs->setAccessibleName(QStringLiteral("Disc list"));
    c.fgdResults = Named(new ListGrid(Named(new ListTableModel(results, back), "dtaSearch"), back),
                         "fgdResults");
    c.fgdResults->setAccessibleName(QStringLiteral("Search results"));
    BuildScanProgress(back, c);

    LayOutViews(back, c);
}

}  // namespace

MainControls BuildMainControls(QMainWindow* window, const ListTable& discs,
                               const ListTable& results) {
    MainControls c;
    auto* central = new QWidget(window);
    central->setObjectName(QStringLiteral("centralWidget"));
    BuildToolbar(window, c);
    c.CoolBar1->setParent(central);
    c.LblBack = Named(new QFrame(central), "LblBack");
    c.LblBack->setAutoFillBackground(true);
    BuildViews(c.LblBack, discs, results, c);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(c.CoolBar1);
    layout->addWidget(c.LblBack, 1);
    window->setCentralWidget(central);

    c.sbr1 = Named(window->statusBar(), "sbr1");
    for (size_t i = 0; i < 2; ++i) {
        c.panels[i] = new QLabel(c.sbr1);
        c.panels[i]->setObjectName(QStringLiteral("sbr1Panel%1").arg(i + 1));
    }
    c.sbr1->addWidget(c.panels[0], 1);
    c.sbr1->addPermanentWidget(c.panels[1]);
    return c;
}

}  // namespace kest::gui
