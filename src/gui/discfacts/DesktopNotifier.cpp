#include "gui/discfacts/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QObject>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace kest::gui {
namespace {

constexpr int kShownMilliseconds = 10000;

// Through the tray icon: the message's click is the action.
class TrayNotifier : public DesktopNotifier {
  public:
    explicit TrayNotifier(QSystemTrayIcon* tray) : m_tray(tray) {
        m_clicked = QObject::connect(m_tray, &QSystemTrayIcon::messageClicked, m_tray, [this] {
            if (m_action) m_action();
        });
    }
    ~TrayNotifier() override { QObject::disconnect(m_clicked); }
    TrayNotifier(const TrayNotifier&) = delete;
    TrayNotifier& operator=(const TrayNotifier&) = delete;
    void Notify(const QString& title, const QString& text, const QString&,
                std::function<void()> action) override {
        m_action = std::move(action);
        m_tray->showMessage(title, text, QSystemTrayIcon::Information, kShownMilliseconds);
    }

  private:
    QSystemTrayIcon* m_tray;
    QMetaObject::Connection m_clicked;
    std::function<void()> m_action;
};

// Through the desktop's notification service; nothing when there is none.
class BusNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT
  public:
    BusNotifier() {
        QDBusConnection::sessionBus().connect(QStringLiteral("org.freedesktop.Notifications"),
                                              QStringLiteral("/org/freedesktop/Notifications"),
                                              QStringLiteral("org.freedesktop.Notifications"),
                                              QStringLiteral("ActionInvoked"), this,
                                              SLOT(OnAction(uint, QString)));
    }
    void Notify(const QString& title, const QString& text, const QString& actionLabel,
                std::function<void()> action) override {
        QDBusInterface service(QStringLiteral("org.freedesktop.Notifications"),
                               QStringLiteral("/org/freedesktop/Notifications"),
                               QStringLiteral("org.freedesktop.Notifications"));
        if (!service.isValid()) return;
        QDBusReply<uint> id = service.call(
            QStringLiteral("Notify"), QStringLiteral("Kest"), m_id, QStringLiteral("kest"), title,
            text,
            QStringList{QStringLiteral("default"), actionLabel, QStringLiteral("act"), actionLabel},
            QVariantMap(), kShownMilliseconds);
        if (!id.isValid()) return;
        m_id = id.value();
        m_action = std::move(action);
    }

  public slots:
    void OnAction(uint id, const QString&) {
        if (id == m_id && m_action) m_action();
    }

  private:
    uint m_id = 0;
    std::function<void()> m_action;
};

DesktopNotifier* g_installed = nullptr;

// Hands the calls on to the notifier a test installed.
class InstalledNotifier : public DesktopNotifier {
  public:
    void Notify(const QString& title, const QString& text, const QString& actionLabel,
                std::function<void()> action) override {
        if (g_installed) g_installed->Notify(title, text, actionLabel, std::move(action));
    }
};

}  // namespace

std::unique_ptr<DesktopNotifier> MakeDesktopNotifier(QSystemTrayIcon* tray) {
    if (g_installed) return std::make_unique<InstalledNotifier>();
    if (tray) return std::make_unique<TrayNotifier>(tray);
    return std::make_unique<BusNotifier>();
}

void UseDesktopNotifier(DesktopNotifier* notifier) {
    g_installed = notifier;
}

}  // namespace kest::gui

#include "DesktopNotifier.moc"
