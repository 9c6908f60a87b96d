#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kest {

// One choice of a file dialog's type list.
struct FileFilter {
    std::string description;            // "Kest Database (*.kst)"
    std::vector<std::string> patterns;  // "*.kst"
    bool operator==(const FileFilter&) const = default;
};

// The classic filter text "Desc|*.a;*.b|Desc|*.c" as its choices; a last
// description without patterns is no choice.
std::vector<FileFilter> ParseFileFilter(std::string_view classic);
// The choices back as the classic filter text.
std::string ClassicFileFilter(const std::vector<FileFilter>& filters);

}  // namespace kest
