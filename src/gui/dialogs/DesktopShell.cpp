#include "gui/dialogs/DesktopShell.h"

#include <memory>

namespace kest::gui {
namespace {

struct ShellChoice {
    std::unique_ptr<platform::Shell> system;
    platform::Shell* given = nullptr;
};

ShellChoice& Choice() {
    static ShellChoice choice;
    return choice;
}

}  // namespace

platform::Shell& DesktopShell() {
    ShellChoice& choice = Choice();
    if (choice.given) return *choice.given;
    if (!choice.system) choice.system = platform::MakeDesktopShell();
    return *choice.system;
}

void UseDesktopShell(platform::Shell* shell) {
    Choice().given = shell;
}

}  // namespace kest::gui
