#include "gui/explore/ExplorePathBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "gui/widgets/Named.h"

namespace kest::gui {
namespace {

QToolButton* Step(QWidget* bar, const char* name, const char* caption, Qt::ArrowType arrow,
                  const char* tip) {
    auto* button = Named(new QToolButton(bar), name, caption);
    button->setArrowType(arrow);
    button->setToolTip(QString::fromLatin1(tip));
    return button;
}

}  // namespace

ExplorePathBar::ExplorePathBar(QWidget* parent) : QWidget(parent) {
    cmdBack = Step(this, "cmdBack", "Back", Qt::LeftArrow, "Back (Alt+Left)");
    cmdForward = Step(this, "cmdForward", "Forward", Qt::RightArrow, "Forward (Alt+Right)");
    cmdUp = Step(this, "cmdUp", "Up", Qt::UpArrow, "Up (Alt+Up, Backspace)");
    auto* pathLabel = new QLabel(QStringLiteral("&Path:"), this);
    txtPath = Named(new QLineEdit(this), "txtPath", "Path");
    pathLabel->setBuddy(txtPath);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(cmdBack), static_cast<QWidget*>(cmdForward),
                       static_cast<QWidget*>(cmdUp), static_cast<QWidget*>(pathLabel),
                       static_cast<QWidget*>(txtPath)})
        layout->addWidget(w);

    connect(cmdBack, &QToolButton::clicked, this, &ExplorePathBar::BackWanted);
    connect(cmdForward, &QToolButton::clicked, this, &ExplorePathBar::ForwardWanted);
    connect(cmdUp, &QToolButton::clicked, this, &ExplorePathBar::UpWanted);
    connect(txtPath, &QLineEdit::returnPressed, this,
            [this] { emit PathEntered(explore::ParseFolderPath(txtPath->text().toStdString())); });
}

void ExplorePathBar::Show(const explore::FolderPath& path, bool canGoBack, bool canGoForward) {
    m_shown = path;
    txtPath->setText(path.empty() ? QStringLiteral("<root>")
                                  : QString::fromStdString(explore::FolderPathText(path)));
    cmdBack->setEnabled(canGoBack);
    cmdForward->setEnabled(canGoForward);
    cmdUp->setEnabled(!path.empty());
}

void ExplorePathBar::RevertPath() {
    txtPath->setText(QString::fromStdString(explore::FolderPathText(m_shown)));
}

}  // namespace kest::gui
