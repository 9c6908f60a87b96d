#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

namespace kest::gui {

// The icon in the notification area that stands for the hidden main window,
// with its pop-up menu mnuPopUp3: minimising to it hides the window, its
// restore entries (and a double click) bring the window back. Made only
// where the desktop has a notification area.
class TrayIcon : public QObject {
    Q_OBJECT
  public:
    // Null when the desktop has no notification area.
    static TrayIcon* Create(QWidget* window);

    // Shows the icon with the caption as its tip (the notification area keeps
    // 63 characters of it).
    void Show(const QString& caption);
    void Remove();
    // Removed and shown again, when it is shown.
    void Reinstall();
    bool IsShown() const { return m_icon.isVisible(); }
    // The window hidden behind the icon, and back in the given state.
    void MinimiseWindow();
    void RestoreWindow(Qt::WindowState state);
    QMenu* PopUpMenu() { return &m_menu; }
    QSystemTrayIcon& Icon() { return m_icon; }

  signals:
    // mnuRestore and a double-click; mnuMax; mnuMin; mnuAbout2; mnuExit2.
    void Restore(Qt::WindowState state);
    void About();
    void Exit();

  private:
    explicit TrayIcon(QWidget* window);

    QWidget* m_window;
    QSystemTrayIcon m_icon;
    QMenu m_menu;
};

// Shows a window hidden behind the tray icon again: Qt::WindowNoState
// (mnuRestore, a double click) as it was, maximised or not; mnuMax and
// mnuMin ask for their state.
void ShowFromTray(QWidget* window, Qt::WindowState state);

}  // namespace kest::gui
