#include "gui/filefunc/frmFileFunc.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/CenterOnMain.h"
#include "gui/dialogs/DetailsForm.h"

namespace kest::gui {

frmFileFunc::frmFileFunc(QWidget* main, filefunc::FileFuncDialog& function, Prompter& prompter)
    : QDialog(main), m_function(function), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmFileFunc"));
    setWindowTitle(QString::fromStdString(function.Caption()));
    setModal(true);
    lblInstruction = new QLabel(
        QStringLiteral(
            "Put the Disc in the drive, select the drive in the list, and then click on OK."),
        this);
    lblInstruction->setObjectName(QStringLiteral("lblInstruction"));
    lblInstruction->setWordWrap(true);
    drvFile = new QComboBox(this);
    drvFile->setObjectName(QStringLiteral("drvFile"));
    drvFile->setToolTip(QStringLiteral("Select the drive here"));
    drvFile->setAccessibleName(QStringLiteral("Drive"));
    lblInstruction->setBuddy(drvFile);
    for (const platform::Drive& drive : function.Drives())
        drvFile->addItem(QString::fromStdString(drive.text));
    if (function.Selected()) drvFile->setCurrentIndex(int(*function.Selected()));

    cmdSetDefDr =
        MakeButton(this, "cmdSetDefDr", QString::fromStdString(function.DefaultDriveCaption()),
                   QStringLiteral("This shows the current default drive"));
    cmdSetDefDr->setAccessibleName(QStringLiteral("Default drive"));
    lblDDmsg = new QLabel(QStringLiteral("Set selected drive as default"), this);
    lblDDmsg->setObjectName(QStringLiteral("lblDDmsg"));
    cmdSetDefDr->setVisible(function.ShowsDefaultDrive());
    lblDDmsg->setVisible(function.ShowsDefaultDrive());
    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("&OK"), QString());
    cmdOK->setDefault(true);
    cmdOK->setEnabled(function.OkEnabled());
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"), QStringLiteral("Cancel"));

    auto* defaults = new QHBoxLayout;
    defaults->addWidget(cmdSetDefDr);
    defaults->addWidget(lblDDmsg, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInstruction);
    layout->addWidget(drvFile);
    layout->addLayout(defaults);
    layout->addLayout(ButtonRow(nullptr, {cmdOK, cmdCancel}));
    setMinimumWidth(380);

    connect(drvFile, &QComboBox::currentIndexChanged, this, &frmFileFunc::OnDriveChosen);
    connect(cmdSetDefDr, &QPushButton::clicked, this, &frmFileFunc::OnSetDefaultDrive);
    connect(cmdOK, &QPushButton::clicked, this, &frmFileFunc::OnOK);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    OnDriveChosen(drvFile->currentIndex());
    CenterOnMain(main, this);
    drvFile->setFocus();
}

void frmFileFunc::OnDriveChosen(int index) {
    if (index >= 0) m_function.SelectDrive(size_t(index));
    cmdOK->setToolTip(QString::fromStdString(m_function.Target()));
}

void frmFileFunc::OnSetDefaultDrive() {
    m_function.SetDefaultDrive();
    cmdSetDefDr->setText(QString::fromStdString(m_function.DefaultDriveCaption()));
}

void frmFileFunc::OnOK() {
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool opened = m_function.Ok(m_prompter);
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    if (opened) accept();
}

}  // namespace kest::gui
