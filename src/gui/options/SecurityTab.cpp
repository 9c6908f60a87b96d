#include "gui/options/SecurityTab.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/catalog/frmPassword.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {

SecurityTab::SecurityTab(QWidget* optionsDialog, const QWidget* main, CurrentCatalog& current,
                         Prompter& prompter)
    : QWidget(optionsDialog),
      m_optionsDialog(optionsDialog),
      m_main(main),
      m_current(current),
      m_prompter(prompter),
      m_password(current) {
    setObjectName(QStringLiteral("tabSecurity"));
    fraSecurity = new QGroupBox(QStringLiteral("db Security"), this);
    fraSecurity->setObjectName(QStringLiteral("fraSecurity"));
    chkPass = new QCheckBox(QStringLiteral("&Password Protection"), fraSecurity);
    chkPass->setObjectName(QStringLiteral("chkPass"));
    chkPass->setToolTip(QStringLiteral("Check this if you want database password protection"));
    cmdChangePass = new QPushButton(QStringLiteral("Change Pass&word"), fraSecurity);
    cmdChangePass->setObjectName(QStringLiteral("cmdChangePass"));
    cmdChangePass->setToolTip(QStringLiteral("Click here to change the database password"));
    cmdChangePass->setAutoDefault(false);
    auto* frame = new QVBoxLayout(fraSecurity);
    frame->addWidget(chkPass);
    frame->addWidget(cmdChangePass, 0, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraSecurity);
    layout->addStretch();

    if (current.HasDatabase())
        fraSecurity->setTitle(QString::fromStdString(current.name) + QStringLiteral(" Security"));
    else
        setEnabled(false);
    // Set while loading through setChecked, which is no click: only the
    // user's clicks reach the handler.
    ShowState();
    connect(chkPass, &QCheckBox::clicked, this, &SecurityTab::OnCheckClicked);
    connect(cmdChangePass, &QPushButton::clicked, this, &SecurityTab::OnChangeClicked);
}

void SecurityTab::ShowState() {
    chkPass->setChecked(m_password.Checked());
    cmdChangePass->setEnabled(m_password.ChangeEnabled());
}

void SecurityTab::ShowPasswordWindow(PasswordForm& form) {
    frmPassword window(m_optionsDialog, m_main, form);
    RunModal(window);
}

void SecurityTab::OnCheckClicked(bool checked) {
    m_password.Click(checked, m_current, m_prompter,
                     [this](PasswordForm& form) { ShowPasswordWindow(form); });
    ShowState();
}

void SecurityTab::OnChangeClicked() {
    m_password.ChangeClicked(m_current, m_prompter,
                             [this](PasswordForm& form) { ShowPasswordWindow(form); });
}

}  // namespace kest::gui
