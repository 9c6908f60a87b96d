#include "gui/dialogs/ErrorTrap.h"

#include "core/common/KestError.h"

namespace kest::gui {
namespace {

// The classic "Internal error" number, for failures that carry no number.
constexpr long kInternalError = 51;

}  // namespace

void RunTrapped(Prompter& prompter, const char* title, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const KestError& e) {
        prompter.ShowError(title, e.Number(), e.Description());
    } catch (const std::exception& e) {
        prompter.ShowError(title, kInternalError, e.what());
    }
}

}  // namespace kest::gui
