#include "gui/discfacts/frmDuplicates.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/ListSaving.h"
#include "core/common/KestError.h"
#include "core/discfacts/CopyLists.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/dialogs/DetailsForm.h"
#include "gui/explore/FileDetailsOfFile.h"
#include "gui/explore/frmExplore.h"
#include "gui/grids/ListGrid.h"
#include "gui/grids/ListTableModel.h"
#include "gui/widgets/Named.h"

namespace kest::gui {
namespace {

constexpr const char* kCopiesErrorTitle = "Error in finding copies";

}  // namespace

frmDuplicates::frmDuplicates(QWidget* owner, ExploreHost host, const std::string& discSummary)
    : QDialog(owner),
      m_host(std::move(host)),
      m_session(m_host.session),
      m_discSummary(discSummary),
      m_model(new ListTableModel(m_table, this)) {
    setObjectName(QStringLiteral("frmDuplicates"));
    setWindowTitle(QStringLiteral("Find Duplicates"));
    cboList = Named(new QComboBox(this), "cboList", "List");
    cboList->addItems({QStringLiteral("Duplicates: files kept more than once"),
                       QStringLiteral("Files on one disc only")});
    cboList->setToolTip(
        QStringLiteral("Duplicates come largest waste first; files on one disc "
                       "only exist on exactly one of the chosen discs"));
    auto* listLabel = new QLabel(QStringLiteral("&List"), this);
    listLabel->setBuddy(cboList);
    txtDiscs = Named(new QLineEdit(this), "txtDiscs", "Discs");
    txtDiscs->setPlaceholderText(QStringLiteral("all discs, or Kest IDs like 3,7-9"));
    auto* discsLabel = new QLabel(QStringLiteral("D&iscs"), this);
    discsLabel->setBuddy(txtDiscs);
    chkSameDate = new QCheckBox(QStringLiteral("Same d&ate"), this);
    chkSameDate->setObjectName(QStringLiteral("chkSameDate"));
    chkSameDate->setToolTip(QStringLiteral("Copies must also have the same date"));
    cmdFind = MakeButton(this, "cmdFind", QStringLiteral("&Find"),
                         QStringLiteral("List the files by the choices above"));
    cmdFind->setDefault(true);
    fgdCopies = Named(new ListGrid(m_model, this), "fgdCopies", "Files found");
    fgdCopies->setTabKeyNavigation(false);  // Tab goes on to the buttons
    BuildMenu();
    lblCopies = new QLabel(this);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    cmdSaveText = MakeButton(this, "cmdSaveText", QStringLiteral("Save as &Text..."),
                             QStringLiteral("Save the list as plain text"));
    cmdSaveCsv = MakeButton(this, "cmdSaveCsv", QStringLiteral("Save as &CSV..."),
                            QStringLiteral("Save the list as comma-separated values"));
    cmdClose = MakeButton(this, "cmdClose", QStringLiteral("&Close"), QStringLiteral("Close"));
    auto* choices = new QGridLayout;
    choices->addWidget(listLabel, 0, 0, Qt::AlignRight);
    choices->addWidget(cboList, 0, 1, 1, 3);
    choices->addWidget(discsLabel, 1, 0, Qt::AlignRight);
    choices->addWidget(txtDiscs, 1, 1);
    choices->addWidget(chkSameDate, 1, 2);
    choices->addWidget(cmdFind, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(fgdCopies, 1);
    layout->addWidget(lblCopies);
    layout->addLayout(ButtonRow(nullptr, {cmdSaveText, cmdSaveCsv, cmdClose}));
    resize(760, 480);

    connect(cmdFind, &QPushButton::clicked, this, &frmDuplicates::OnFind);
    connect(cmdSaveText, &QPushButton::clicked, this, [this] { OnSave(1); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] { OnSave(2); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(fgdCopies, &ListGrid::RowChosen, this, &frmDuplicates::ShowFileDetails);
    cboList->setFocus();
}

// The list's pop-up: a file's details, or its folder in the Explore window.
void frmDuplicates::BuildMenu() {
    fgdCopies->setContextMenuPolicy(Qt::CustomContextMenu);
    mnuCopiesPopUp = Named(new QMenu(this), "mnuCopiesPopUp", "File actions");
    QAction* details = mnuCopiesPopUp->addAction(QStringLiteral("File &Details..."));
    details->setObjectName(QStringLiteral("mnuCopyDetails"));
    QAction* tree = mnuCopiesPopUp->addAction(QStringLiteral("Show in Folder &Tree"));
    tree->setObjectName(QStringLiteral("mnuCopyInTree"));
    connect(fgdCopies, &QWidget::customContextMenuRequested, this, &frmDuplicates::ShowMenu);
    connect(details, &QAction::triggered, this, &frmDuplicates::ShowFileDetails);
    connect(tree, &QAction::triggered, this, &frmDuplicates::ShowInFolderTree);
}

void frmDuplicates::OnFind() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        engine::Database& db = m_session.current.Db();
        auto rule =
            discfacts::RuleFromTyped(db, txtDiscs->text().toStdString(), chkSameDate->isChecked());
        m_singleCopy = cboList->currentIndex() == 1;
        QString summary;
        if (m_singleCopy) {
            auto files = discfacts::FilesOnOneDisc(db, rule);
            m_table = discfacts::SingleCopyTable(files);
            summary = QStringLiteral("%1 files on one disc only").arg(files.size());
        } else {
            auto groups = discfacts::FindDuplicates(db, rule);
            int64_t waste = 0;
            for (const auto& group : groups) waste += group.Waste();
            m_table = discfacts::DuplicatesTable(groups);
            summary = QStringLiteral("%1 groups of copies, %2 bytes in extra copies")
                          .arg(groups.size())
                          .arg(waste);
        }
        fgdCopies->Reload();
        lblCopies->setText(summary);
    } catch (const KestError& e) {
        QApplication::restoreOverrideCursor();
        m_session.prompter.ShowError(kCopiesErrorTitle, e.Number(), e.Description());
        txtDiscs->setFocus();
        return;
    }
    QApplication::restoreOverrideCursor();
}

void frmDuplicates::OnSave(int format) {
    app::SaveOtherList(m_session, m_discSummary, m_table,
                       m_singleCopy ? discfacts::kSingleCopyTitle : discfacts::kDuplicatesTitle,
                       static_cast<search::ListFormat>(format), DesktopShell());
}

std::optional<int64_t> frmDuplicates::CurrentFileId() const {
    const int row = fgdCopies->currentIndex().row();
    if (row < 0) return std::nullopt;
    return discfacts::FileIdOfRow(m_table, static_cast<size_t>(row));
}

void frmDuplicates::ShowFileDetails() {
    auto fileId = CurrentFileId();
    if (!fileId || !m_session.current.HasDatabase()) return;
    ShowFileDetailsOf(this, m_host, *fileId);
    // File Details may have deleted the file's disc: the list follows.
    if (m_session.current.HasDatabase() &&
        !discfacts::IsCatalogued(m_session.current.Db(), *fileId))
        OnFind();
}

void frmDuplicates::ShowInFolderTree() {
    if (auto fileId = CurrentFileId()) frmExplore::ShowFile(this, m_host, *fileId);
}

void frmDuplicates::ShowMenu(const QPoint& at) {
    const QModelIndex index = fgdCopies->indexAt(at);
    if (index.isValid()) fgdCopies->setCurrentIndex(index);
    const bool file = CurrentFileId().has_value();
    for (QAction* entry : mnuCopiesPopUp->actions()) entry->setEnabled(file);
    mnuCopiesPopUp->popup(fgdCopies->viewport()->mapToGlobal(at));
}

}  // namespace kest::gui
