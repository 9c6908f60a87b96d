#pragma once

#include <functional>

#include "core/ui/Prompter.h"

namespace kest::gui {

// Runs a window's handler under its error trap: an error is shown with the
// handler's title (critical icon, number CRLF description) and cleared.
void RunTrapped(Prompter& prompter, const char* title, const std::function<void()>& handler);

}  // namespace kest::gui
