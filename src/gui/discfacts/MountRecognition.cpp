#include "gui/discfacts/MountRecognition.h"

#include <QTimer>

#include "core/common/KestError.h"
#include "core/discfacts/Recognition.h"

namespace kest::gui {

MountRecognition::MountRecognition(QObject* parent, const platform::Volumes& volumes,
                                   std::unique_ptr<DesktopNotifier> notifier,
                                   RecognitionHooks hooks)
    : QObject(parent),
      m_volumes(volumes),
      m_notifier(std::move(notifier)),
      m_hooks(std::move(hooks)),
      m_mounted(MountedRoots()) {}

std::set<std::string> MountRecognition::MountedRoots() const {
    std::set<std::string> roots;
    // An optical drive without a medium is named by its device, not mounted.
    for (const platform::Drive& drive : m_volumes.ListDrives())
        if (!drive.root.starts_with("/dev/")) roots.insert(drive.root);
    return roots;
}

void MountRecognition::OnMountsChanged() {
    std::set<std::string> now = MountedRoots();
    for (const std::string& root : now)
        if (!m_mounted.contains(root)) Recognize(root);
    m_mounted = std::move(now);
}

void MountRecognition::Recognize(const std::string& root) {
    engine::Database* db = m_hooks.catalog();
    if (!db) return;
    platform::VolumeInfo volume = m_volumes.GetVolumeInfo(root);
    if (!volume.ok) return;
    discfacts::Recognition found;
    try {
        found = discfacts::Recognize(*db, volume.label, volume.serial);
    } catch (const KestError&) {
        return;  // a catalog that cannot be read now says nothing
    }
    QString text = QString::fromStdString(found.Message());
    m_hooks.status(text.section(QLatin1Char('\n'), 0, 0));
    if (found.Known()) {
        int64_t first = found.discs.front().kestId;
        m_notifier->Notify(QStringLiteral("Kest"), text, QStringLiteral("Show"),
                           [this, first] { m_hooks.showDisc(first); });
        return;
    }
    m_notifier->Notify(QStringLiteral("Kest"), text, QStringLiteral("Scan & Save"),
                       [this, root] { m_hooks.chooseDrive(root); });
    if (m_hooks.scanUnknown()) {
        m_hooks.chooseDrive(root);
        // Out of the mount watch's signal before the scan's own event loop.
        QTimer::singleShot(0, this, [this] { m_hooks.scan(); });
    }
}

}  // namespace kest::gui
