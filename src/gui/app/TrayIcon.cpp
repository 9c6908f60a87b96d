#include "gui/app/TrayIcon.h"

#include <QWidget>

#include "gui/widgets/Pictures.h"

namespace kest::gui {
namespace {

QAction* Entry(QMenu& menu, const char* name, const char* caption) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(QLatin1String(name));
    return action;
}

}  // namespace

TrayIcon* TrayIcon::Create(QWidget* window) {
    return QSystemTrayIcon::isSystemTrayAvailable() ? new TrayIcon(window) : nullptr;
}

TrayIcon::TrayIcon(QWidget* window)
    : QObject(window), m_window(window), m_icon(ProgramIcon()), m_menu(window) {
    setObjectName(QStringLiteral("trayIcon"));
    m_menu.setObjectName(QStringLiteral("mnuPopUp3"));
    QAction* restore = Entry(m_menu, "mnuRestore", "&Restore");
    QFont bold = restore->font();
    bold.setBold(true);
    restore->setFont(bold);
    m_menu.setDefaultAction(restore);
    m_menu.addSeparator();
    QAction* maximize = Entry(m_menu, "mnuMax", "Ma&ximize");
    QAction* minimize = Entry(m_menu, "mnuMin", "Mi&nimize");
    m_menu.addSeparator();
    QAction* about = Entry(m_menu, "mnuAbout2", "&About Kest");
    QAction* exit = Entry(m_menu, "mnuExit2", "&Exit");
    m_icon.setContextMenu(&m_menu);

    connect(restore, &QAction::triggered, this, [this] { emit Restore(Qt::WindowNoState); });
    connect(maximize, &QAction::triggered, this, [this] { emit Restore(Qt::WindowMaximized); });
    connect(minimize, &QAction::triggered, this, [this] { emit Restore(Qt::WindowMinimized); });
    connect(about, &QAction::triggered, this, &TrayIcon::About);
    connect(exit, &QAction::triggered, this, &TrayIcon::Exit);
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) emit Restore(Qt::WindowNoState);
            });
    connect(this, &TrayIcon::Restore, this, &TrayIcon::RestoreWindow);
}

void TrayIcon::Show(const QString& caption) {
    m_icon.setToolTip(caption.left(63));
    m_icon.show();
}

void TrayIcon::Remove() {
    m_icon.hide();
}

void TrayIcon::Reinstall() {
    if (!IsShown()) return;
    Remove();
    Show(m_window->windowTitle());
}

void TrayIcon::MinimiseWindow() {
    Show(m_window->windowTitle());
    m_window->hide();
}

void TrayIcon::RestoreWindow(Qt::WindowState state) {
    Remove();
    m_window->setWindowState(state);
    m_window->show();
    if (state != Qt::WindowMinimized) m_window->activateWindow();
}

}  // namespace kest::gui
