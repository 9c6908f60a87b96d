#include "gui/details/frmFileDetails.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/CenterOnMain.h"
#include "gui/dialogs/DetailsForm.h"
#include "gui/discs/frmDiscDetails.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {
namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

frmFileDetails::frmFileDetails(QWidget* main, details::FileDetailsWindow& window,
                               engine::Database& db, Prompter& prompter, const QFont& resultsFont,
                               const QFont& discListFont, std::function<void()> listsChanged)
    : QDialog(main),
      m_window(window),
      m_db(db),
      m_prompter(prompter),
      m_discListFont(discListFont),
      m_listsChanged(std::move(listsChanged)) {
    setObjectName(QStringLiteral("frmFileDetails"));
    setWindowTitle(QStringLiteral("File Details"));
    setModal(true);
    const QFont font = BoxFont(this->font(), resultsFont);
    const details::CurrentFile& file = window.File();
    auto* grid = new QGridLayout;
    txtKestID = AddDetailRow(grid, 0, "txtKestID", QStringLiteral("Kest ID"), QString(), font);
    txtFileID = AddDetailRow(grid, 1, "txtFileID", QStringLiteral("FileID"), QString(), font);
    txtDir = AddDetailRow(grid, 2, "txtDir", QStringLiteral("Directory"),
                          QStringLiteral("Directory where the file resides"), font);
    txtName = AddDetailRow(grid, 3, "txtName", QStringLiteral("Name"),
                           QStringLiteral("Name of the file including extension"), font);
    txtAtt = AddDetailRow(grid, 4, "txtAtt", QStringLiteral("Attributes"),
                          QStringLiteral("Attributes of the file"), font);
    txtSz = AddDetailRow(grid, 5, "txtSz", Text(window.SizeLabel()),
                         QStringLiteral("Size of the file"), font, &lblSize);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    txtDt = AddDetailRow(grid, 6, "txtDt", QStringLiteral("Date"),
                         QStringLiteral("Date the file was last modified"), font);
    txtDesc = AddDescriptionRow(grid, 7, QStringLiteral("Description"),
                                QStringLiteral("User defined description of the file"), font,
                                Text(window.description));
    txtKestID->setText(Text(window.Disc().kestId));
    txtFileID->setText(Text(file.fileId));
    txtDir->setText(Text(file.dir));
    txtName->setText(Text(file.name));
    txtAtt->setText(Text(file.attributes));
    txtSz->setText(Text(window.SizeText()));
    txtDt->setText(Text(window.DateText()));

    cmdUpDesc =
        MakeButton(this, "cmdUpDesc", QStringLiteral("&Update File Description"), QString());
    cmdDiscInfo = MakeButton(this, "cmdDiscInfo", QStringLiteral("&Disc Detail..."),
                             QStringLiteral("View the Disc Details"));
    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("&Close"), QStringLiteral("Close"));
    cmdOK->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow(cmdDiscInfo, {cmdUpDesc, cmdOK}));
    setMinimumWidth(480);

    connect(cmdUpDesc, &QPushButton::clicked, this, &frmFileDetails::OnUpdateDescription);
    connect(cmdDiscInfo, &QPushButton::clicked, this, &frmFileDetails::OnDiscInfo);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    CenterOnMain(main, this);
    txtDesc->setFocus();
}

void frmFileDetails::OnUpdateDescription() {
    m_window.description = txtDesc->toPlainText().toStdString();
    if (!m_window.UpdateDescription(m_prompter)) return;
    txtDesc->setPlainText(Text(m_window.File().description));
    m_listsChanged();
}

void frmFileDetails::OnDiscInfo() {
    discs::DiscDetails disc = m_window.DiscInfo();
    {
        frmDiscDetails dialog(this, parentWidget(), disc, m_db, m_prompter, m_discListFont);
        RunModal(dialog);
    }
    const bool changed = disc.DiscsChanged() > 0;
    if (changed) {
        setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    m_window.AfterDiscInfo(disc, m_prompter);
    if (changed) {
        m_listsChanged();
        QApplication::restoreOverrideCursor();
        setEnabled(true);
    }
    if (m_window.Closed()) accept();
}

void frmFileDetails::done(int result) {
    m_window.Close();
    QDialog::done(result);
}

}  // namespace kest::gui
