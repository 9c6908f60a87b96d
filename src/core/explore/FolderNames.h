#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kest::explore {

// A folder's place below the disc's root: the names of the folders from the
// root down. An archive file's name may stand among them, its entries'
// folders following it.
using FolderPath = std::vector<std::string>;

// The folder names of a stored folder text. "<root>" is the root. Names are
// the texts between separators, taken as they are ("." and ".." are names
// like any other, never resolved); empty names (a doubled or missing
// trailing separator) are left out, except that a text starting with a
// separator starts below a folder named "/", so an absolute path shows as
// one. FileDir separates with "/"; archive entries' folders with "/" or "\".
FolderPath FileDirNames(std::string_view fileDir);
FolderPath SubFileDirNames(std::string_view subFileDir);

// A folder path as a user writes it and as it is shown: the names joined by
// "/", a folder named "/" written as an empty name ("a.zip//etc"; "//etc"
// at the start, one leading "/" being optional); "" and "/" are the root.
FolderPath ParseFolderPath(std::string_view text);
std::string FolderPathText(const FolderPath& path);

}  // namespace kest::explore
