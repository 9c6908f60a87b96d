#include "gui/update/frmContents.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "core/update/InfoTexts.h"
#include "gui/dialogs/CenterOnMain.h"
#include "gui/update/frmAbout.h"
#include "gui/update/frmPic.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/Pictures.h"

namespace kest::gui {

frmContents::frmContents(QWidget* main) : QDialog(main) {
    setObjectName(QStringLiteral("frmContents"));
    setWindowTitle(QStringLiteral("Help Content"));
    auto* imgIcon = new ClickLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* Label1 = new QLabel(QStringLiteral("Kest version ") + ReleaseCaption(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const update::HelpTopic& topic : update::HelpTopics()) {
        auto* txtCont = new QPlainTextEdit(QString::fromStdString(topic.text), SSTab1);
        txtCont->setObjectName(QStringLiteral("txtCont"));
        txtCont->setReadOnly(true);
        txtCont->setFont(fixed);
        txtCont->setLineWrapMode(QPlainTextEdit::NoWrap);
        SSTab1->addTab(txtCont, QString::fromStdString(topic.title));
    }
    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(imgIcon, 0, 0);
    layout->addWidget(Label1, 0, 1);
    layout->addWidget(SSTab1, 1, 0, 1, 2);
    layout->addWidget(cmdOK, 2, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    resize(640, 480);

    connect(imgIcon, &ClickLabel::Pressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers keys) {
                if (button != Qt::LeftButton || !(keys & Qt::ControlModifier)) return;
                auto* picture = new frmPic(this);
                picture->setAttribute(Qt::WA_DeleteOnClose);
                picture->show();
            });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    CenterOnMain(main, this);
}

}  // namespace kest::gui
