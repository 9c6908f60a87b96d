#include "gui/options/frmOpts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/dialogs/CenterOnMain.h"
#include "gui/dialogs/DetailsForm.h"
#include "gui/dialogs/ErrorTrap.h"
#include "gui/discfacts/DiscFactsOptions.h"
#include "gui/grids/GridFont.h"
#include "gui/options/SecurityTab.h"
#include "gui/widgets/BusyPointer.h"
#include "gui/widgets/OptionsPickers.h"
#include "gui/widgets/StoredColour.h"

namespace kest::gui {
namespace {

void Select(const OptionPair& pair, bool yes) {
    (yes ? pair.yes : pair.no)->setChecked(true);
}

bool Yes(const OptionPair& pair) {
    return pair.yes->isChecked();
}

int16_t Flag(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// A date format's example, whole in its tool tip when the label cuts it.
void ShowExample(QLabel* label, const QLineEdit* format) {
    QString example = FromUtf8(DateExample(format->text().toStdString()));
    label->setText(example);
    label->setToolTip(example);
}

}  // namespace

frmOpts::frmOpts(QWidget* main, app::Session& session, std::function<void()> applied)
    : QDialog(main), m_session(session), m_applied(std::move(applied)) {
    setObjectName(QStringLiteral("frmOpts"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    m_security = new SecurityTab(this, main, session.current, session.prompter);
    c = BuildOptionsTabs(this, m_security);
    m_facts = new DiscFactsOptions(c.SSTab1);
    // Without a catalog there is no password to protect.
    c.SSTab1->setTabEnabled(static_cast<int>(OptionsTab::Security), session.current.HasDatabase());

    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("OK"), QString());
    cmdOK->setDefault(true);
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"), QString());
    cmdApply = MakeButton(this, "cmdApply", QStringLiteral("&Apply"), QString());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(c.SSTab1);
    layout->addLayout(ButtonRow(nullptr, {cmdOK, cmdCancel, cmdApply}));

    Load(LoadOptions(session.settings, session.window));
    ConnectHandlers();
    cmdApply->setEnabled(false);
    CenterOnMain(main, this);
    c.SSTab1->setFocus();
}

void frmOpts::Load(const OptionsChoice& choice) {
    const AppSettings& s = choice.settings;
    for (size_t i = 0; i < c.chkCol.size(); ++i) c.chkCol[i]->setChecked(s.ShowCol[i] == 1);
    QRadioButton* unit = s.SizeFormat == kSizeInBytes ? c.optB
                         : s.SizeFormat == kSizeInKB  ? c.optKB
                                                      : c.optMB;
    unit->setChecked(true);
    c.cboNumDec->setCurrentIndex(std::clamp<int>(s.SizeNumDec, 0, c.cboNumDec->count() - 1));
    c.txtDateFormat->setText(FromUtf8(s.DateFormat));
    Select(c.resultsRefresh, s.RefResultsImm);

    m_colour = s.Back_Color;
    ShowColour();
    Select(c.opticalOnly, s.Only_Optical);
    Select(c.warning, s.Show_Non_Optical_Warning);
    Select(c.defaultDrive, s.UseDefaultDrive);
    Select(c.openAfterSaving, s.OpenAfterSaving);
    // A caption choice the settings do not know shows the full path, as the title does.
    size_t caption = s.Program_Caption == kCaptionTitleOnly  ? 0
                     : s.Program_Caption == kCaptionFileName ? 1
                                                             : 2;
    c.caption[caption]->setChecked(true);
    Select(c.minToTray, s.MinToSysTray);
    c.chkGridLines->setChecked(s.GridLines != 0);
    ShowFont(GridQtFont(choice.font));

    c.chkF->setChecked(s.InFileName);
    c.chkD->setChecked(s.InDirectory);
    c.chkDs->setChecked(s.InFileDescription);
    Select(c.asterisks, s.AutoAsterisks);
    c.txtAdvSDtFmt->setText(FromUtf8(s.AdvDateFormat));
    (s.ME_Logical_Op == kLogicalAnd ? c.optSLogOpAND : c.optSLogOpOR)->setChecked(true);

    Select(c.saveSubFiles, s.SaveSubFileCont);
    const std::array<int16_t, 8> types = {s.SaveZIP, s.SaveCAB, s.SaveRAR,           s.SaveACE,
                                          s.Save7Z,  s.SaveTAR, s.SaveCompressedTAR, s.SaveISO};
    for (size_t i = 0; i < types.size(); ++i) c.fileTypes[i]->setChecked(types[i] == 1);
    Select(c.searchSubFiles, s.SearchSub);
    c.chkSN->setChecked(s.InSubFileName);
    c.chkSD->setChecked(s.InSubDirectory);
    c.chkSC->setChecked(s.InSubComment);
    for (size_t i = 0; i < c.chkSubCol.size(); ++i)
        c.chkSubCol[i]->setChecked(s.ShowSubCol[i] == 1);

    c.chkPlayWAV->setChecked(s.Play);
    c.txtEndScan->setText(FromUtf8(s.EndScan));
    Select(c.estimate, s.Est_B4_Scan);
    Select(c.usedSpace, s.ShowUsedSpace);
    m_facts->Show(s);
    UpdateDependents();
}

OptionsChoice frmOpts::Choice() const {
    OptionsChoice choice{m_session.settings, GridFontOf(m_gridFont)};
    AppSettings& s = choice.settings;
    for (size_t i = 0; i < c.chkCol.size(); ++i) s.ShowCol[i] = Flag(c.chkCol[i]);
    s.SizeFormat = c.optB->isChecked()    ? kSizeInBytes
                   : c.optKB->isChecked() ? kSizeInKB
                                          : kSizeInMB;
    s.SizeNumDec = static_cast<int16_t>(std::max(c.cboNumDec->currentIndex(), 0));
    s.DateFormat = c.txtDateFormat->text().toStdString();
    s.RefResultsImm = Yes(c.resultsRefresh);

    s.Back_Color = m_colour;
    s.Only_Optical = Yes(c.opticalOnly);
    s.Show_Non_Optical_Warning = Yes(c.warning);
    s.UseDefaultDrive = Yes(c.defaultDrive);
    s.OpenAfterSaving = Yes(c.openAfterSaving);
    s.Program_Caption = c.caption[0]->isChecked()   ? kCaptionTitleOnly
                        : c.caption[1]->isChecked() ? kCaptionFileName
                                                    : kCaptionFullPath;
    s.MinToSysTray = Yes(c.minToTray);
    s.GridLines = Flag(c.chkGridLines);

    s.InFileName = c.chkF->isChecked();
    s.InDirectory = c.chkD->isChecked();
    s.InFileDescription = c.chkDs->isChecked();
    s.AutoAsterisks = Yes(c.asterisks);
    s.AdvDateFormat = c.txtAdvSDtFmt->text().toStdString();
    s.ME_Logical_Op = c.optSLogOpOR->isChecked() ? kLogicalOr : kLogicalAnd;

    s.SaveSubFileCont = Yes(c.saveSubFiles);
    s.SaveZIP = Flag(c.fileTypes[0]);
    s.SaveCAB = Flag(c.fileTypes[1]);
    s.SaveRAR = Flag(c.fileTypes[2]);
    s.SaveACE = Flag(c.fileTypes[3]);
    s.Save7Z = Flag(c.fileTypes[4]);
    s.SaveTAR = Flag(c.fileTypes[5]);
    s.SaveCompressedTAR = Flag(c.fileTypes[6]);
    s.SaveISO = Flag(c.fileTypes[7]);
    s.SearchSub = Yes(c.searchSubFiles);
    s.InSubFileName = c.chkSN->isChecked();
    s.InSubDirectory = c.chkSD->isChecked();
    s.InSubComment = c.chkSC->isChecked();
    for (size_t i = 0; i < c.chkSubCol.size(); ++i) s.ShowSubCol[i] = Flag(c.chkSubCol[i]);

    s.Play = c.chkPlayWAV->isChecked();
    s.EndScan = c.txtEndScan->text().toStdString();
    s.Est_B4_Scan = Yes(c.estimate);
    s.ShowUsedSpace = Yes(c.usedSpace);
    m_facts->Read(s);
    return choice;
}

void frmOpts::ConnectHandlers() {
    connect(m_facts, &DiscFactsOptions::Changed, this, &frmOpts::Changed);
    // The Security tab acts at once and is no change for Apply.
    for (int tab = 0; tab < c.SSTab1->count(); ++tab) {
        QWidget* page = c.SSTab1->widget(tab);
        if (page == m_security) continue;
        for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
            if (button == c.cmdColor || button == c.cmdChFont || button == c.cmdBrSound) continue;
            connect(button, &QAbstractButton::toggled, this, [this] {
                UpdateDependents();
                Changed();
            });
        }
    }
    // Bytes have no decimals.
    connect(c.optB, &QRadioButton::toggled, this, [this](bool bytes) {
        if (bytes) c.cboNumDec->setCurrentIndex(0);
    });
    connect(c.cboNumDec, &QComboBox::currentIndexChanged, this, &frmOpts::Changed);
    for (QLineEdit* box : {c.txtDateFormat, c.txtAdvSDtFmt, c.txtEndScan})
        connect(box, &QLineEdit::textChanged, this, [this] {
            UpdateDependents();
            Changed();
        });
    connect(c.cmdColor, &QPushButton::clicked, this, &frmOpts::OnColour);
    connect(c.cmdChFont, &QPushButton::clicked, this, &frmOpts::OnFont);
    connect(c.cmdBrSound, &QPushButton::clicked, this, &frmOpts::OnBrowseSound);
    connect(cmdApply, &QPushButton::clicked, this, &frmOpts::Apply);
    connect(cmdOK, &QPushButton::clicked, this, &frmOpts::OnOK);
    // Esc and the close box land here as well; what was applied stays.
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOpts::Changed() {
    cmdApply->setEnabled(true);
}

void frmOpts::UpdateDependents() {
    c.cboNumDec->setEnabled(!c.optB->isChecked());
    // The warning only matters when every drive is listed.
    bool allDrives = c.opticalOnly.no->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(c.lblWarn), static_cast<QWidget*>(c.warning.yes),
                             static_cast<QWidget*>(c.warning.no)})
        control->setEnabled(allDrives);
    for (QCheckBox* type : c.fileTypes) type->setEnabled(Yes(c.saveSubFiles));
    bool searchSub = Yes(c.searchSubFiles);
    for (QCheckBox* field : {c.chkSN, c.chkSD, c.chkSC}) field->setEnabled(searchSub);
    for (QCheckBox* column : c.chkSubCol) column->setEnabled(searchSub);
    c.txtEndScan->setEnabled(c.chkPlayWAV->isChecked());
    c.cmdBrSound->setEnabled(c.chkPlayWAV->isChecked());
    ShowExample(c.lblDateEx, c.txtDateFormat);
    ShowExample(c.lblAdvSDtEx, c.txtAdvSDtFmt);
}

void frmOpts::ShowColour() {
    qreal scale = devicePixelRatioF();
    QPixmap swatch(c.cmdColor->iconSize() * scale);
    swatch.setDevicePixelRatio(scale);
    swatch.fill(Qt::transparent);
    std::optional<QColor> colour = StoredColour(m_colour);
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(colour.value_or(palette().color(QPalette::Window)));
    painter.drawRect(QRectF(QPointF(0.5, 0.5), QSizeF(c.cmdColor->iconSize()) - QSizeF(1, 1)));
    painter.end();
    c.cmdColor->setIcon(QIcon(swatch));
    c.cmdColor->setAccessibleDescription(colour ? colour->name() : QString());
}

void frmOpts::ShowFont(const QFont& font) {
    // The sample box carries the font's face at the dialog's size; its text
    // names the face and the size.
    QFont sample = c.txtFont->font();
    sample.setFamilies(font.families());
    sample.setBold(font.bold());
    sample.setItalic(font.italic());
    c.txtFont->setFont(sample);
    m_gridFont = font;
    // The face the machine really shows, not the one asked for.
    GridFont used = GridFontOf(font);
    c.txtFont->setText(QStringLiteral("%1, %2 pt").arg(FromUtf8(used.name)).arg(used.size));
}

void frmOpts::ShowProblem(const OptionsProblem& problem) {
    c.SSTab1->setCurrentIndex(static_cast<int>(problem.tab));
    m_session.prompter.Show(kOptionsErrorTitle, problem.message, Icon::Critical);
    switch (problem.field) {
        case OptionsField::SearchFields:
            c.chkF->setFocus();
            break;
        case OptionsField::FileTypes:
            c.fileTypes[0]->setFocus();
            break;
        case OptionsField::SubFileFields:
            c.chkSN->setFocus();
            break;
        case OptionsField::SoundFile:
            c.txtEndScan->setFocus();
            break;
    }
}

bool frmOpts::Apply() {
    OptionsChoice choice = Choice();
    if (std::optional<OptionsProblem> problem = ValidateOptions(choice)) {
        ShowProblem(*problem);
        return false;
    }
    BusyPointer busy;
    busy.Set(true);
    RunTrapped(m_session.prompter, "Error in apply", [&] {
        ApplyOptions(choice, m_session.settings, m_session.window);
        c.chkCol[7]->setChecked(m_session.settings.ShowCol[7] == 1);
        if (m_applied) m_applied();
    });
    cmdApply->setEnabled(false);
    return true;
}

void frmOpts::OnOK() {
    if (Apply()) accept();
}

void frmOpts::OnColour() {
    std::optional<QColor> chosen =
        PickColour(this, StoredColour(m_colour).value_or(palette().color(QPalette::Window)));
    if (!chosen) return;
    m_colour = ColourValue(*chosen);
    ShowColour();
    Changed();
}

void frmOpts::OnFont() {
    RunTrapped(m_session.prompter, "Options Error...", [this] {
        std::optional<QFont> chosen = PickFont(this, m_gridFont);
        if (!chosen) return;
        ShowFont(*chosen);
        Changed();
    });
}

void frmOpts::OnBrowseSound() {
    RunTrapped(m_session.prompter, "Error in sound select", [this] {
        std::optional<std::string> chosen =
            BrowseForSound(m_session.prompter, m_session.paths, m_session.settings);
        if (chosen) c.txtEndScan->setText(FromUtf8(*chosen));
    });
}

}  // namespace kest::gui
