#include "gui/dialogs/DesktopPlatform.h"

#include <memory>

namespace kest::gui {
namespace {

struct Platform {
    std::unique_ptr<platform::Volumes> systemVolumes;
    std::unique_ptr<platform::Shell> systemShell;
    platform::Volumes* volumes = nullptr;
    platform::Shell* shell = nullptr;
};

Platform& Current() {
    static Platform platform;
    return platform;
}

}  // namespace

platform::Volumes& DesktopVolumes() {
    Platform& p = Current();
    if (p.volumes) return *p.volumes;
    if (!p.systemVolumes) p.systemVolumes = platform::MakeSystemVolumes();
    return *p.systemVolumes;
}

platform::Shell& DesktopShell() {
    Platform& p = Current();
    if (p.shell) return *p.shell;
    if (!p.systemShell) p.systemShell = platform::MakeDesktopShell();
    return *p.systemShell;
}

void UseDesktopPlatform(platform::Volumes* volumes, platform::Shell* shell) {
    Current().volumes = volumes;
    Current().shell = shell;
}

}  // namespace kest::gui
