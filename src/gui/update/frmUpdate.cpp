#include "gui/update/frmUpdate.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/ui/MessageText.h"
#include "gui/dialogs/CenterOnMain.h"

namespace kest::gui {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(QString::fromUtf8(tip));
    return button;
}

}  // namespace

frmUpdate::frmUpdate(QWidget* main, update::UpdateContext context)
    : QDialog(main), m_context(std::move(context)) {
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(QStringLiteral("Update"));
    auto* intro = new QLabel(QStringLiteral("Check the Kest website for a newer release."), this);
    intro->setWordWrap(true);
    m_cmdCheck = Button(this, "cmdCheck", "&Check", "Check for a newer release");
    m_cmdDown = Button(this, "cmdDown", "&Download", "Download the new release");
    m_cmdLink = Button(this, "cmdLink", "&Website", "Go to the official website");
    m_cmdCancel = Button(this, "cmdCancel", "C&ancel", "Close this window");
    m_txtInfo = new QPlainTextEdit(this);
    m_txtInfo->setObjectName(QStringLiteral("txtInfo"));
    m_txtInfo->setAccessibleName(QStringLiteral("Release news"));
    m_txtInfo->setReadOnly(true);
    m_txtInfo->hide();
    m_cmdDown->setEnabled(false);
    m_cmdLink->hide();
    m_cmdCheck->setDefault(true);

    auto* buttons = new QGridLayout;
    buttons->addWidget(m_cmdCheck, 0, 0);
    buttons->addWidget(m_cmdDown, 0, 1);
    buttons->addWidget(m_cmdLink, 1, 0);
    buttons->addWidget(m_cmdCancel, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(buttons);
    layout->addWidget(m_txtInfo, 1);

    connect(m_cmdCheck, &QPushButton::clicked, this,
            [this] { update::CheckForUpdate(m_context, *this); });
    connect(m_cmdDown, &QPushButton::clicked, this,
            [this] { update::DownloadUpdate(m_context, *this); });
    connect(m_cmdLink, &QPushButton::clicked, this,
            [this] { update::OpenAddress(m_context, update::HomePage()); });
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    SetTwipsSize(this, kCompactHeight, kWidth);
    CenterOnMain(main, this);
}

void frmUpdate::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void frmUpdate::SetBusyPointer(bool busy) {
    m_busy.Set(busy);
}

void frmUpdate::EnableCheck(bool enabled) {
    m_cmdCheck->setEnabled(enabled);
}

void frmUpdate::EnableDownload(bool enabled) {
    m_cmdDown->setEnabled(enabled);
}

void frmUpdate::ShowLink(bool shown) {
    m_cmdLink->setVisible(shown);
}

void frmUpdate::SetNews(const std::string& text) {
    QString news = QString::fromStdString(WithLineFeeds(text));
    // Laying out a line of a megabyte holds the window for minutes; news that
    // long is shown up to a limit.
    if (news.size() > kLongestNews) news.truncate(kLongestNews);
    m_txtInfo->setPlainText(news);
}

void frmUpdate::ShowNews() {
    m_txtInfo->show();
    SetTwipsSize(this, kGrownHeight, kWidth);
}

void frmUpdate::FocusDownload() {
    m_cmdDown->setFocus();
}

void frmUpdate::FocusCancel() {
    m_cmdCancel->setFocus();
}

}  // namespace kest::gui
