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

// The extension a save dialog gives a name typed without one under this
// choice: its first pattern "*.ext" as ".ext"; none for "*.*", "*" or a
// pattern with wildcards after its first dot.
std::string FilterExtension(const FileFilter& filter);
// A path chosen in a save dialog under the choice filterIndex (1-based) of
// the classic filter text, with that choice's extension added when the
// file's name has none ("mycat" becomes "mycat.kst"; "my.cat" stays).
std::string WithFilterExtension(const std::string& path, std::string_view classicFilter,
                                int filterIndex);

}  // namespace kest
