// The options dialog's tab control: the Results, General, Search, Compressed
// Files and Misc tabs with their frames, captions and control names. The
// dialog (frmOpts) loads them and reacts to them.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <vector>

#include "core/settings/OptionsForm.h"
#include "gui/options/OptionsControls.h"

namespace kest::gui {
namespace {

// The check boxes of the results columns, with their access keys.
constexpr std::array<const char*, kResultColumnCount> kColumnCaptions = {
    "Kest ID",           "Disc Serial &#",  "Disc File Syste&m", "Disc &Vol Label",
    "Disc Descriptio&n", "# of Disc Files", "File Dir&ectory",   "&File Name",
    "File Attri&butes",  "File Si&ze",      "File Da&te",        "File Description"};

template <typename W>
W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QGroupBox* Frame(QWidget* parent, const char* title) {
    return new QGroupBox(QString::fromUtf8(title), parent);
}

QCheckBox* Check(QWidget* parent, const QString& name, const char* caption) {
    return Named(new QCheckBox(QString::fromUtf8(caption), parent), name);
}

QRadioButton* Option(QWidget* parent, const char* name, const char* caption) {
    return Named(new QRadioButton(QString::fromUtf8(caption), parent), QLatin1String(name));
}

// Option buttons of one setting, exclusive among themselves only (a frame may
// hold two settings); screen readers hear the question with each button.
void Exclusive(QWidget* frame, std::initializer_list<QRadioButton*> buttons,
               const QString& question) {
    auto* group = new QButtonGroup(frame);
    for (QRadioButton* button : buttons) {
        group->addButton(button);
        button->setAccessibleDescription(question);
    }
}

OptionPair Pair(QWidget* frame, const char* yesName, const char* noName,
                const char* yesCaption = "Yes", const char* noCaption = "No") {
    OptionPair pair{Option(frame, yesName, yesCaption), Option(frame, noName, noCaption)};
    auto* box = qobject_cast<QGroupBox*>(frame);
    Exclusive(frame, {pair.yes, pair.no}, box ? box->title() : QString());
    return pair;
}

QHBoxLayout* PairRow(const OptionPair& pair) {
    auto* row = new QHBoxLayout;
    row->addWidget(pair.yes);
    row->addWidget(pair.no);
    row->addStretch();
    return row;
}

// A frame holding one yes/no pair side by side.
QGroupBox* PairFrame(QWidget* parent, const char* title, OptionPair& pair, const char* yesName,
                     const char* noName, const char* yesCaption = "Yes",
                     const char* noCaption = "No") {
    QGroupBox* frame = Frame(parent, title);
    pair = Pair(frame, yesName, noName, yesCaption, noCaption);
    frame->setLayout(PairRow(pair));
    return frame;
}

// A text box without a caption of its own: the frame names it.
QLineEdit* Box(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* box = Named(new QLineEdit(parent), QLatin1String(name));
    box->setAccessibleName(accessibleName);
    box->setToolTip(accessibleName);
    return box;
}

// A date format's live example: one line that never widens the dialog; the
// whole text stays in its tool tip.
QLabel* Example(QWidget* parent, const char* name) {
    auto* label = Named(new QLabel(parent), QLatin1String(name));
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Check boxes in columns of `perColumn`.
QGridLayout* CheckGrid(QWidget* frame, const std::vector<QCheckBox*>& boxes, size_t perColumn) {
    auto* grid = new QGridLayout(frame);
    for (size_t i = 0; i < boxes.size(); ++i)
        grid->addWidget(boxes[i], static_cast<int>(i % perColumn), static_cast<int>(i / perColumn));
    return grid;
}

// A tab's frames in two columns of equal width, packed at the top.
void Columns(QWidget* page, std::initializer_list<QWidget*> left,
             std::initializer_list<QWidget*> right) {
    auto* layout = new QHBoxLayout(page);
    for (auto frames : {left, right}) {
        auto* column = new QVBoxLayout;
        for (QWidget* frame : frames) column->addWidget(frame);
        column->addStretch();
        layout->addLayout(column, 1);
    }
}

QWidget* Page(QTabWidget* tabs, const char* name, const char* caption) {
    auto* page = Named(new QWidget(tabs), QLatin1String(name));
    tabs->addTab(page, QString::fromUtf8(caption));
    return page;
}

void BuildResults(QWidget* page, OptionsControls& c) {
    QGroupBox* columns = Frame(page, "Columns to Show in Results");
    std::vector<QCheckBox*> boxes;
    for (size_t i = 0; i < kResultColumnCount; ++i) {
        c.chkCol[i] = Check(columns, QStringLiteral("chkCol%1").arg(i), kColumnCaptions[i]);
        boxes.push_back(c.chkCol[i]);
    }
    // The Kest ID column is always shown.
    c.chkCol[0]->setEnabled(false);
    CheckGrid(columns, boxes, 6);

    QGroupBox* size = Frame(page, "Size Format for Results");
    c.optB = Option(size, "optB", "Bytes");
    c.optKB = Option(size, "optKB", "KiloBytes");
    c.optMB = Option(size, "optMB", "MegaBytes");
    Exclusive(size, {c.optB, c.optKB, c.optMB}, size->title());
    c.cboNumDec = Named(new QComboBox(size), QStringLiteral("cboNumDec"));
    for (int places = 0; places <= 10; ++places) c.cboNumDec->addItem(QString::number(places));
    auto* places = new QLabel(QStringLiteral("Number of decimal places"), size);
    places->setBuddy(c.cboNumDec);
    c.cboNumDec->setAccessibleName(places->text());
    c.cboNumDec->setToolTip(places->text());
    auto* sizeGrid = new QGridLayout(size);
    sizeGrid->addWidget(c.optB, 0, 0);
    sizeGrid->addWidget(c.optKB, 0, 1);
    sizeGrid->addWidget(c.optMB, 0, 2);
    sizeGrid->addWidget(places, 1, 0, 1, 2);
    sizeGrid->addWidget(c.cboNumDec, 1, 2);

    QGroupBox* date = Frame(page, "Date Format for Results");
    c.txtDateFormat = Box(date, "txtDateFormat", date->title());
    c.lblConstDate = Named(
        new QLabel(QStringLiteral("%1 shows as:").arg(QString::fromUtf8(kExampleDateText)), date),
        QStringLiteral("lblConstDate"));
    c.lblDateEx = Example(date, "lblDateEx");
    auto* dateLayout = new QVBoxLayout(date);
    dateLayout->addWidget(c.txtDateFormat);
    dateLayout->addWidget(c.lblConstDate);
    dateLayout->addWidget(c.lblDateEx);

    QGroupBox* refresh = Frame(page, "After Updating a File Description");
    c.resultsRefresh =
        Pair(refresh, "optYesResImm", "optNoResImm", "Refresh results list immediately",
             "Refresh results list on next query");
    auto* refreshLayout = new QVBoxLayout(refresh);
    refreshLayout->addWidget(c.resultsRefresh.yes);
    refreshLayout->addWidget(c.resultsRefresh.no);

    Columns(page, {columns}, {size, date, refresh});
}

void BuildGeneral(QWidget* page, OptionsControls& c) {
    QGroupBox* colours = Frame(page, "Colors");
    c.cmdColor = Named(new QPushButton(colours), QStringLiteral("cmdColor"));
    c.cmdColor->setAutoDefault(false);
    c.cmdColor->setIconSize(QSize(32, 14));
    auto* back = new QLabel(QStringLiteral("Background Color:"), colours);
    back->setBuddy(c.cmdColor);
    c.cmdColor->setAccessibleName(QStringLiteral("Background Color"));
    c.cmdColor->setToolTip(QStringLiteral("Background Color"));
    auto* colourRow = new QHBoxLayout(colours);
    colourRow->addWidget(back);
    colourRow->addWidget(c.cmdColor);
    colourRow->addStretch();

    QGroupBox* drives = Frame(page, "Drive List for Scanning");
    c.opticalOnly =
        Pair(drives, "optYesCDdr", "optNoCDdr", "Onl&y show optical drives", "Show all dr&ives");
    c.lblWarn = Named(new QLabel(QStringLiteral("Display non-optical drive warning"), drives),
                      QStringLiteral("lblWarn"));
    c.warning = {Option(drives, "optYesWarn", "Yes"), Option(drives, "optNoWarn", "No")};
    Exclusive(drives, {c.warning.yes, c.warning.no}, c.lblWarn->text());
    auto* driveGrid = new QGridLayout(drives);
    driveGrid->addWidget(c.opticalOnly.yes, 0, 0, 1, 3);
    driveGrid->addWidget(c.opticalOnly.no, 1, 0, 1, 3);
    driveGrid->addWidget(c.lblWarn, 2, 0, 1, 3);
    driveGrid->addWidget(c.warning.yes, 3, 0);
    driveGrid->addWidget(c.warning.no, 3, 1);
    driveGrid->setColumnStretch(2, 1);

    QGroupBox* captionFrame = Frame(page, "Display Database Info In Title Bar");
    c.caption = {Option(captionFrame, "optNoCap", "Nothing"),
                 Option(captionFrame, "optFileCap", "File name"),
                 Option(captionFrame, "optFullCap", "Full path")};
    Exclusive(captionFrame, {c.caption[0], c.caption[1], c.caption[2]}, captionFrame->title());
    auto* captionLayout = new QVBoxLayout(captionFrame);
    for (QRadioButton* button : c.caption) captionLayout->addWidget(button);

    QGroupBox* grid = Frame(page, "Grid Options");
    c.chkGridLines = Check(grid, QStringLiteral("chkGridLines"), "Grid lines");
    c.txtFont = Box(grid, "txtFont", QStringLiteral("Grid font"));
    c.txtFont->setReadOnly(true);
    c.cmdChFont =
        Named(new QPushButton(QStringLiteral("Change Font"), grid), QStringLiteral("cmdChFont"));
    c.cmdChFont->setAutoDefault(false);
    auto* gridLayout = new QGridLayout(grid);
    gridLayout->addWidget(c.chkGridLines, 0, 0, 1, 2);
    gridLayout->addWidget(c.txtFont, 1, 0);
    gridLayout->addWidget(c.cmdChFont, 1, 1);

    Columns(
        page,
        {colours, drives,
         PairFrame(page, "Display Default Drive for File Functions", c.defaultDrive, "optYesDD",
                   "optNoDD"),
         PairFrame(page, "Open File After Saving List", c.openAfterSaving, "optOSyes", "optOSno")},
        {captionFrame,
         PairFrame(page, "Minimize To System Tray On Closing Kest", c.minToTray, "optYesMin",
                   "optNoMin"),
         grid});
}

void BuildSearch(QWidget* page, OptionsControls& c) {
    QGroupBox* fields = Frame(page, "Search Within These Database Fields");
    c.chkF = Check(fields, QStringLiteral("chkF"), "Fi&le Name");
    c.chkD = Check(fields, QStringLiteral("chkD"), "File &Directory");
    c.chkDs = Check(fields, QStringLiteral("chkDs"), "File Description");
    CheckGrid(fields, {c.chkF, c.chkD, c.chkDs}, 3);

    QGroupBox* date = Frame(page, "Date Format for Advanced Search");
    c.txtAdvSDtFmt = Box(date, "txtAdvSDtFmt", date->title());
    auto* constDate =
        Named(new QLabel(QStringLiteral("%1 is input as:").arg(QString::fromUtf8(kExampleDateText)),
                         date),
              QStringLiteral("lblAdvConstDate"));
    c.lblAdvSDtEx = Example(date, "lblAdvSDtEx");
    auto* dateLayout = new QVBoxLayout(date);
    dateLayout->addWidget(c.txtAdvSDtFmt);
    dateLayout->addWidget(constDate);
    dateLayout->addWidget(c.lblAdvSDtEx);

    OptionPair logical;
    QGroupBox* logicalFrame = PairFrame(page, "Logical Operator for Multiple Entries", logical,
                                        "optSLogOpOR", "optSLogOpAND", "OR", "AND");
    c.optSLogOpOR = logical.yes;
    c.optSLogOpAND = logical.no;

    Columns(page,
            {fields, PairFrame(page, "Enclose Search Entries With Asterisks (*)", c.asterisks,
                               "optYesAst", "optNoAst")},
            {date, logicalFrame});
}

void BuildCompressedFiles(QWidget* page, OptionsControls& c) {
    QGroupBox* save = Frame(page, "Save Compressed File Contents");
    c.saveSubFiles = Pair(save, "optYesSavSub", "optNoSavSub");
    // The caption's kind and the box's name.
    const std::array<std::pair<const char*, const char*>, 8> types = {
        {{"ZIP", "ZIP"},
         {"CAB", "CAB"},
         {"RAR", "RAR"},
         {"ACE", "ACE"},
         {"7Z", "7Z"},
         {"TAR", "TAR"},
         {"TAR.GZ/BZ2/XZ/ZST", "CompressedTAR"},
         {"ISO", "ISO"}}};
    auto* saveLayout = new QVBoxLayout(save);
    saveLayout->addLayout(PairRow(c.saveSubFiles));
    auto* typeGrid = new QGridLayout;
    for (size_t i = 0; i < types.size(); ++i) {
        c.fileTypes[i] =
            new QCheckBox(QString::fromUtf8(types[i].first) + QStringLiteral(" files"), save);
        c.fileTypes[i]->setObjectName(QStringLiteral("chk") + QString::fromUtf8(types[i].second));
        typeGrid->addWidget(c.fileTypes[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    saveLayout->addLayout(typeGrid);
    saveLayout->addStretch();

    QGroupBox* search = Frame(page, "Search Within SubFile Database Fields");
    c.searchSubFiles = Pair(search, "optYesSchSub", "optNoSchSub");
    c.chkSN = Check(search, QStringLiteral("chkSN"), "SubFile Name");
    c.chkSD = Check(search, QStringLiteral("chkSD"), "SubFi&le Directory");
    c.chkSC = Check(search, QStringLiteral("chkSC"), "SubFile Comment");
    auto* searchLayout = new QVBoxLayout(search);
    searchLayout->addLayout(PairRow(c.searchSubFiles));
    for (QCheckBox* field : {c.chkSN, c.chkSD, c.chkSC}) searchLayout->addWidget(field);

    QGroupBox* columns = Frame(page, "SubFile Columns to Show in Results");
    std::vector<QCheckBox*> boxes;
    for (size_t i = 0; i < kSubFileColumnCount; ++i) {
        c.chkSubCol[i] = new QCheckBox(QString::fromUtf8(kSubFileTitles[i]), columns);
        c.chkSubCol[i]->setObjectName(QStringLiteral("chkSubCol%1").arg(i));
        boxes.push_back(c.chkSubCol[i]);
    }
    CheckGrid(columns, boxes, 5);

    auto* top = new QHBoxLayout;
    top->addWidget(save, 1);
    top->addWidget(search, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(columns);
    layout->addStretch();
}

void BuildMisc(QWidget* page, OptionsControls& c) {
    QGroupBox* sounds = Frame(page, "Sounds");
    c.chkPlayWAV = Check(sounds, QStringLiteral("chkPlayWAV"), "Play sound when scan completes");
    c.txtEndScan = Box(sounds, "txtEndScan", QStringLiteral("Sound file"));
    c.cmdBrSound =
        Named(new QPushButton(QStringLiteral("..."), sounds), QStringLiteral("cmdBrSound"));
    c.cmdBrSound->setAutoDefault(false);
    c.cmdBrSound->setFixedWidth(
        c.cmdBrSound->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 24);
    c.cmdBrSound->setToolTip(QStringLiteral("Browse for a sound file"));
    c.cmdBrSound->setAccessibleName(c.cmdBrSound->toolTip());
    auto* soundGrid = new QGridLayout(sounds);
    soundGrid->addWidget(c.chkPlayWAV, 0, 0, 1, 2);
    soundGrid->addWidget(c.txtEndScan, 1, 0);
    soundGrid->addWidget(c.cmdBrSound, 1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(sounds);
    auto* row = new QHBoxLayout;
    row->addWidget(
        PairFrame(page, "Estimate File Count Before Scan", c.estimate, "optYesEst", "optNoEst"));
    row->addWidget(
        PairFrame(page, "Include Used Space in Disc List", c.usedSpace, "optYesUS", "optNoUS"));
    layout->addLayout(row);
    layout->addStretch();
}

}  // namespace

OptionsControls BuildOptionsTabs(QWidget* dialog, QWidget* securityTab) {
    OptionsControls c;
    c.SSTab1 = Named(new QTabWidget(dialog), QStringLiteral("SSTab1"));
    BuildResults(Page(c.SSTab1, "tabResults", "Results"), c);
    BuildGeneral(Page(c.SSTab1, "tabGeneral", "General"), c);
    c.SSTab1->addTab(securityTab, QStringLiteral("Security"));
    BuildSearch(Page(c.SSTab1, "tabSearch", "Search"), c);
    BuildCompressedFiles(Page(c.SSTab1, "tabCompressedFiles", "Compressed Files"), c);
    BuildMisc(Page(c.SSTab1, "tabMisc", "Misc"), c);
    return c;
}

}  // namespace kest::gui
