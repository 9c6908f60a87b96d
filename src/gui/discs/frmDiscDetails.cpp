#include "gui/discs/frmDiscDetails.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/CenterOnMain.h"
#include "gui/dialogs/DetailsForm.h"
#include "gui/discfacts/DiscFactsGroup.h"
#include "gui/widgets/Twips.h"

namespace kest::gui {

frmDiscDetails::frmDiscDetails(QWidget* owner, const QWidget* main, discs::DiscDetails& details,
                               engine::Database& db, Prompter& prompter, const QFont& discListFont)
    : QDialog(owner), m_details(details), m_db(db), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmDiscDetails"));
    setWindowTitle(QStringLiteral("Disc Details"));
    setModal(true);
    const QFont font = BoxFont(this->font(), discListFont);
    const discs::SelectedDisc& disc = details.Disc();
    auto* grid = new QGridLayout;
    txtKestID = AddDetailRow(grid, 0, "txtKestID", QStringLiteral("Kest ID"), QString(), font);
    txtSer = AddDetailRow(grid, 1, "txtSer", QStringLiteral("Serial No."), QString(), font);
    txtFileSys =
        AddDetailRow(grid, 2, "txtFileSys", QStringLiteral("File System"), QString(), font);
    txtVolLbl = AddDetailRow(grid, 3, "txtVolLbl", QStringLiteral("Volume Label"), QString(), font);
    txtDesc = AddDescriptionRow(grid, 4, QStringLiteral("Description"), QString(), font,
                                QString::fromStdString(details.description));
    txtNumF = AddDetailRow(grid, 5, "txtNumF", QStringLiteral("Number of Files"), QString(), font);
    txtUDS = AddDetailRow(grid, 6, "txtUDS", QString::fromStdString(details.UsedSpaceLabel()),
                          QStringLiteral("Total used space on the Disc"), font, &Label1);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtKestID->setText(QString::fromStdString(disc.kestId));
    txtSer->setText(QString::fromStdString(disc.serial));
    txtFileSys->setText(QString::fromStdString(disc.fileSystem));
    txtVolLbl->setText(QString::fromStdString(disc.label));
    txtNumF->setText(QString::fromStdString(disc.fileCount));
    txtUDS->setText(QString::fromStdString(disc.usedSpace));
    txtUDS->setAccessibleName(QStringLiteral("Used Space"));

    cmdDel = MakeButton(this, "cmdDel", QStringLiteral("&Delete Disc"),
                        QStringLiteral("Delete this Disc from the collection"));
    cmdUpDesc = MakeButton(this, "cmdUpDesc", QStringLiteral("&Update Disc Description"),
                           QStringLiteral("Update the Disc description"));
    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("&Close"), QStringLiteral("Close"));
    cmdOK->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new DiscFactsGroup(this, db, std::atoll(disc.kestId.c_str()), prompter, font,
                                         [this] { m_details.CountChange(); }));
    layout->addLayout(ButtonRow(cmdDel, {cmdUpDesc, cmdOK}));
    setMinimumWidth(440);

    connect(cmdUpDesc, &QPushButton::clicked, this, &frmDiscDetails::OnUpdateDescription);
    connect(cmdDel, &QPushButton::clicked, this, &frmDiscDetails::OnDelete);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    CenterOnMain(main, this, TwipsToPixels(details.OffsetY()), TwipsToPixels(details.OffsetX()));
    txtDesc->setFocus();
}

void frmDiscDetails::SetBusy(bool busy) {
    setEnabled(!busy);
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmDiscDetails::OnUpdateDescription() {
    m_details.description = txtDesc->toPlainText().toStdString();
    SetBusy(true);
    bool stored = m_details.UpdateDescription(m_db, m_prompter);
    SetBusy(false);
    if (stored) txtDesc->setPlainText(QString::fromStdString(m_details.Disc().description));
}

void frmDiscDetails::OnDelete() {
    SetBusy(true);
    m_details.Delete(m_db, m_prompter);
    SetBusy(false);
    if (m_details.Closed()) accept();
}

void frmDiscDetails::done(int result) {
    m_details.Close();
    QDialog::done(result);
}

}  // namespace kest::gui
