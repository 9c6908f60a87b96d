#pragma once

#include <string>
#include <utility>

#include "core/ui/Prompter.h"

namespace kest {

// The trimmed path up to, not including, its last '/'. A path without one
// raises error 5 ("Invalid procedure call or argument").
std::string GetDirectory(const std::string& path);

// (directory, name): the name follows the last '/' or, when there is none, the
// last '\'; the directory is what precedes it, separator included.
std::pair<std::string, std::string> SplitPath(const std::string& path);

// The open dialog for a catalog file: the catalog filters, the program
// folder, "file must exist", hide read-only and no read-only return.
FileDialogRequest CatalogOpenDialog(const std::string& title, const std::string& programFolder);

// Text without leading and trailing blanks.
std::string Trim(const std::string& text);

}  // namespace kest
