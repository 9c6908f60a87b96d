#include "gui/update/frmDonate.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ui/MessageText.h"
#include "gui/dialogs/CenterOnMain.h"

namespace kest::gui {

frmDonate::frmDonate(QWidget* main, update::UpdateContext context)
    : QDialog(main), m_context(std::move(context)) {
    setObjectName(QStringLiteral("frmDonate"));
    setWindowTitle(QStringLiteral("Donation"));
    auto* txtDon = new QPlainTextEdit(this);
    txtDon->setObjectName(QStringLiteral("txtDon"));
    txtDon->setReadOnly(true);
    txtDon->setPlainText(QString::fromStdString(WithLineFeeds(update::DonationText())));
    m_cmdUp = new QPushButton(QStringLiteral("&Get Links"), this);
    m_cmdUp->setObjectName(QStringLiteral("cmdUp"));
    m_cmdUp->setToolTip(QStringLiteral("Get the links from the internet"));
    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto* links = new QHBoxLayout;
    for (size_t i = 0; i < m_cmdLink.size(); ++i) {
        m_cmdLink[i] = new QPushButton(QStringLiteral("Link%1").arg(i + 1), this);
        m_cmdLink[i]->setObjectName(QStringLiteral("cmdLink%1").arg(i));
        m_cmdLink[i]->setToolTip(QStringLiteral("Click here to go to the website"));
        m_cmdLink[i]->hide();
        links->addWidget(m_cmdLink[i]);
        connect(m_cmdLink[i], &QPushButton::clicked, this,
                [this, i] { update::OpenAddress(m_context, m_links[i].address); });
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdUp);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtDon, 1);
    layout->addLayout(buttons);
    layout->addLayout(links);

    ShowLinks(update::HomePageLinks(), true);
    connect(m_cmdUp, &QPushButton::clicked, this, &frmDonate::GetLinks);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    SetTwipsSize(this, kCompactHeight, kWidth);
    CenterOnMain(main, this);
}

void frmDonate::ShowLinks(const update::DonationLinks& links, bool enabled) {
    m_links = links;
    for (size_t i = 0; i < m_cmdLink.size(); ++i) {
        m_cmdLink[i]->setText(QString::fromStdString(links[i].caption));
        m_cmdLink[i]->setEnabled(enabled);
    }
}

void frmDonate::GetLinks() {
    m_cmdUp->setEnabled(false);
    m_busy.Set(true);
    ShowLinks(update::HomePageLinks(), false);
    std::optional<update::DonationLinks> links =
        update::FetchDonationLinks(m_context.http, m_context.base);
    if (!links) {
        m_busy.Set(false);
        update::ReportLinksFailure(m_context.prompter);
    }
    m_cmdUp->setEnabled(true);
    m_busy.Set(false);
    ShowLinks(links.value_or(update::HomePageLinks()), true);
    for (QPushButton* link : m_cmdLink) link->show();
    m_cmdLink[0]->setFocus();
    SetTwipsSize(this, kGrownHeight, kWidth);
}

}  // namespace kest::gui
