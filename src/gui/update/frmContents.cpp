#include "gui/update/frmContents.h"

#include <QGridLayout>
#include <QPushButton>
#include <QTabWidget>

#include "core/update/InfoTexts.h"
#include "gui/dialogs/CenterOnMain.h"
#include "gui/update/TextBox.h"
#include "gui/update/frmAbout.h"
#include "gui/update/frmPic.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/Pictures.h"

namespace kest::gui {
namespace {

// The longest topic shows whole on most screens.
constexpr int kShownLines = 30;

}  // namespace

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
    // Every topic's tab shows: the window is as wide as the tab row.
    SSTab1->setUsesScrollButtons(false);
    const QFont fixed = FixedWidthFont();
    for (const update::HelpTopic& topic : update::HelpTopics()) {
        auto* txtCont = new TextBox(QString::fromStdString(topic.text), kShownLines, SSTab1);
        txtCont->setObjectName(QStringLiteral("txtCont"));
        txtCont->setFont(fixed);
        txtCont->setAccessibleName(QString::fromStdString(topic.title));
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

    // Sized to its text (within the screen).
    resize(sizeHint());

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
