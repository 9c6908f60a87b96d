#pragma once

#include <QString>
#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace kest::gui {

// A desktop notification with one action: the tray icon's message (a click on
// it runs the action) or, without a tray icon, org.freedesktop.Notifications
// over the session bus (the action as its button).
class DesktopNotifier {
  public:
    virtual ~DesktopNotifier() = default;
    virtual void Notify(const QString& title, const QString& text, const QString& actionLabel,
                        std::function<void()> action) = 0;
};

// The window's notifier: the one a test installed, else the tray icon's
// messages when there is a tray icon, else the desktop's service.
std::unique_ptr<DesktopNotifier> MakeDesktopNotifier(QSystemTrayIcon* tray);
void UseDesktopNotifier(DesktopNotifier* notifier);

}  // namespace kest::gui
