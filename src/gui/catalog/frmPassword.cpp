#include "gui/catalog/frmPassword.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/CenterOnMain.h"
#include "gui/dialogs/DetailsForm.h"

namespace kest::gui {
namespace {

QLineEdit* MaskedBox(QWidget* parent, const char* name, const QString& toolTip, QLabel* label) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setEchoMode(QLineEdit::Password);
    box->setToolTip(toolTip);
    box->setAccessibleName(label->text().remove(QLatin1Char('&')));
    SelectAllOnFocus(box);
    label->setBuddy(box);
    return box;
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

frmPassword::frmPassword(QWidget* owner, const QWidget* main, PasswordForm& form)
    : QDialog(owner), m_form(form) {
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QString::fromStdString(form.Caption()));
    setModal(true);

    fraOldPswd = new QGroupBox(this);
    fraOldPswd->setObjectName(QStringLiteral("fraOldPswd"));
    lblOldPswd = Caption(fraOldPswd, "lblOldPswd", QStringLiteral("Ol&d Password:"));
    txtOldPswd =
        MaskedBox(fraOldPswd, "txtOldPswd", QStringLiteral("The old password"), lblOldPswd);
    auto* oldLayout = new QGridLayout(fraOldPswd);
    oldLayout->addWidget(lblOldPswd, 0, 0);
    oldLayout->addWidget(txtOldPswd, 0, 1);

    fraNewPswd = new QGroupBox(this);
    fraNewPswd->setObjectName(QStringLiteral("fraNewPswd"));
    lblNewPswd = Caption(fraNewPswd, "lblNewPswd", QStringLiteral("&New Password(4-16):"));
    txtNewPswd =
        MaskedBox(fraNewPswd, "txtNewPswd", QStringLiteral("The new password"), lblNewPswd);
    lblNewPswdRe = Caption(fraNewPswd, "lblNewPswdRe", QStringLiteral("&Re-Type New Password:"));
    txtNewPswdRe =
        MaskedBox(fraNewPswd, "txtNewPswdRe",
                  QStringLiteral("To avoid mistakes input your new password again"), lblNewPswdRe);
    auto* newLayout = new QGridLayout(fraNewPswd);
    newLayout->addWidget(lblNewPswd, 0, 0);
    newLayout->addWidget(txtNewPswd, 0, 1);
    newLayout->addWidget(lblNewPswdRe, 1, 0);
    newLayout->addWidget(txtNewPswdRe, 1, 1);
    // Both frames' boxes line up.
    oldLayout->setColumnMinimumWidth(0, lblNewPswdRe->sizeHint().width());

    if (!form.OldBoxEnabled()) {
        txtOldPswd->clear();
        txtOldPswd->setEnabled(false);
        QPalette grey = txtOldPswd->palette();
        grey.setColor(QPalette::Disabled, QPalette::Base, QColor(192, 192, 192));
        txtOldPswd->setPalette(grey);
    }

    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("&OK"), QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"), QStringLiteral("Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraOldPswd);
    layout->addWidget(fraNewPswd);
    layout->addLayout(ButtonRow(nullptr, {cmdOK, cmdCancel}));
    setMinimumWidth(380);

    connect(cmdOK, &QPushButton::clicked, this, &frmPassword::OnOK);
    // Esc and the close box land here as well.
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    CenterOnMain(main, this);
    Box(form.OldBoxEnabled() ? PasswordBox::Old : PasswordBox::New)->setFocus();
}

QLineEdit* frmPassword::Box(PasswordBox box) const {
    switch (box) {
        case PasswordBox::Old:
            return txtOldPswd;
        case PasswordBox::New:
            return txtNewPswd;
        default:
            return txtNewPswdRe;
    }
}

void frmPassword::OnOK() {
    m_form.oldText = txtOldPswd->text().toStdString();
    m_form.newText = txtNewPswd->text().toStdString();
    m_form.retypeText = txtNewPswdRe->text().toStdString();
    if (m_form.Ok()) {
        accept();
        return;
    }
    for (QLineEdit* box : {txtOldPswd, txtNewPswd, txtNewPswdRe}) box->clear();
    Box(m_form.Focus())->setFocus();
}

void frmPassword::done(int result) {
    if (result != Accepted) m_form.Cancel();
    QDialog::done(result);
}

}  // namespace kest::gui
