#include "gui/discfacts/frmLentDiscs.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/discfacts/DiscListFacts.h"
#include "gui/dialogs/DetailsForm.h"
#include "gui/grids/ListGrid.h"
#include "gui/grids/ListTableModel.h"

namespace kest::gui {

frmLentDiscs::frmLentDiscs(QWidget* owner, engine::Database& db)
    : QDialog(owner), m_model(new ListTableModel(m_table, this)) {
    setObjectName(QStringLiteral("frmLentDiscs"));
    setWindowTitle(QStringLiteral("Lent Discs"));
    std::vector<discfacts::LentDisc> lent = discfacts::LentDiscs(db, discfacts::Now());
    m_table = discfacts::LentDiscsTable(lent);
    fgdLent = new ListGrid(m_model, this);
    fgdLent->setObjectName(QStringLiteral("fgdLent"));
    fgdLent->setAccessibleName(QStringLiteral("Lent discs"));
    fgdLent->setTabKeyNavigation(false);
    fgdLent->Reload();
    size_t overdue = 0;
    for (const auto& disc : lent) overdue += disc.overdue ? 1 : 0;
    auto* count =
        new QLabel(QStringLiteral("%1 discs lent, %2 overdue").arg(lent.size()).arg(overdue), this);
    count->setObjectName(QStringLiteral("lblLent"));
    QPushButton* cmdClose =
        MakeButton(this, "cmdClose", QStringLiteral("&Close"), QStringLiteral("Close"));
    cmdClose->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fgdLent, 1);
    layout->addWidget(count);
    layout->addLayout(ButtonRow(nullptr, {cmdClose}));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(720, 320);
}

}  // namespace kest::gui
