#include "gui/update/frmAbout.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/ui/MessageText.h"
#include "core/update/InfoTexts.h"
#include "core/update/UpdateFiles.h"
#include "gui/dialogs/CenterOnMain.h"
#include "gui/update/frmUpdate.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/ModalRun.h"
#include "gui/widgets/Pictures.h"

namespace kest::gui {

QString ReleaseCaption() {
    return QString::fromStdString(update::ReleaseText(update::ProgramRelease()));
}

frmAbout::frmAbout(QWidget* main, update::UpdateContext context)
    : QDialog(main), m_context(std::move(context)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Kest"));
    const QString website = QStringLiteral("Go to the official website");
    auto* imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(ProgramIcon().pixmap(48, 48));
    auto* lblProduct =
        LinkLabel(this, "lblProduct", QString::fromUtf8(update::MakerName()), website);
    QFont bold = lblProduct->font();
    bold.setBold(true);
    lblProduct->setFont(bold);
    auto* lblVersion = new QLabel(QStringLiteral("Version: ") + ReleaseCaption(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblVersionUpdate =
        LinkLabel(this, "lblVersionUpdate", QStringLiteral("Update Information"),
                  QStringLiteral("Check for an update"));
    auto* lblURL = LinkLabel(this, "lblURL", QString::fromUtf8(update::HomePage()), website);
    auto* lblCopyright =
        LinkLabel(this, "lblCopyright",
                  QStringLiteral("Copyright \u00A9 2026 ") + QString::fromUtf8(update::MakerName()),
                  QStringLiteral("Email the owner/programmer"));
    auto* txtProgInfo = new QPlainTextEdit(this);
    txtProgInfo->setObjectName(QStringLiteral("txtProgInfo"));
    txtProgInfo->setReadOnly(true);
    txtProgInfo->setPlainText(QString::fromStdString(WithLineFeeds(update::ReleaseHistory())));
    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(imgIcon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(lblProduct, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblVersionUpdate, 2, 1);
    layout->addWidget(lblURL, 3, 1);
    layout->addWidget(lblCopyright, 4, 1);
    layout->addWidget(txtProgInfo, 5, 0, 1, 2);
    layout->addWidget(cmdOK, 6, 1, Qt::AlignRight);
    resize(520, 420);

    LinkTo(lblProduct, update::HomePage());
    LinkTo(lblURL, update::HomePage());
    LinkTo(lblCopyright, std::string("mailto:") + update::MakerEmail());
    connect(lblVersionUpdate, &ClickLabel::Pressed, this,
            [this, lblVersionUpdate](Qt::MouseButton button, Qt::KeyboardModifiers) {
                if (button != Qt::LeftButton) return;
                MarkClicked(lblVersionUpdate);
                frmUpdate window(this, m_context);
                RunModal(window);
            });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    CenterOnMain(main, this);
}

void frmAbout::LinkTo(ClickLabel* label, const std::string& address) {
    connect(label, &ClickLabel::Pressed, this,
            [this, label, address](Qt::MouseButton button, Qt::KeyboardModifiers) {
                if (button != Qt::LeftButton) return;
                MarkClicked(label);
                update::OpenAddress(m_context, address);
            });
}

}  // namespace kest::gui
