#include "gui/dialogs/frmAsk4Pwd.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/CenterOnMain.h"

namespace kest::gui {

frmAsk4Pwd::frmAsk4Pwd(QWidget* main) : QDialog(main) {
    setObjectName(QStringLiteral("frmAsk4Pwd"));
    setWindowTitle(QStringLiteral("Password Input"));
    setModal(true);

    Label1 = new QLabel(
        QStringLiteral("Please input the database password. The password is case sensitive."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    txtPwd = new QLineEdit(this);
    txtPwd->setObjectName(QStringLiteral("txtPwd"));
    txtPwd->setEchoMode(QLineEdit::Password);
    txtPwd->setAccessibleName(Label1->text());
    Label1->setBuddy(txtPwd);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdOK->setEnabled(false);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setToolTip(QStringLiteral("Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(txtPwd);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    // Once enabled, OK stays enabled even when the box is emptied again.
    connect(txtPwd, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.trimmed().isEmpty()) cmdOK->setEnabled(true);
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmAsk4Pwd::OnOK);
    // Esc and the close box land here as well.
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    CenterOnMain(main, this);
}

void frmAsk4Pwd::OnOK() {
    m_result = 1;
    m_password = txtPwd->text();
    accept();
}

}  // namespace kest::gui
