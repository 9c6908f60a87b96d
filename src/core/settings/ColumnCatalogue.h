#pragma once

#include <array>
#include <string_view>

namespace kest {

// The numbering of the results columns that several settings are indexed by:
// file columns 0 to 11 and subfile columns 0 to 9.
inline constexpr int kResultColumnCount = 12;
inline constexpr int kSubFileColumnCount = 10;

inline constexpr std::array<std::string_view, kResultColumnCount> kResultTitles = {
    "Kest ID",          "Disc Serial #", "Disc File System", "Disc Vol Label",
    "Disc Description", "# of Files",    "File Directory",   "File Name",
    "File Attributes",  "File Size",     "File Date",        "File Description"};

inline constexpr std::array<std::string_view, kSubFileColumnCount> kSubFileTitles = {
    "SubFile Directory", "SubFile Name",      "SubFile Attributes", "SubFile Size",
    "SubFile Packed",    "SubFile Ratio (%)", "SubFile Date",       "SubFile CRC",
    "SubFile Encrypted", "SubFile Comment"};

// The catalog fields behind the disc columns (0 to 5) and the file table's fields.
inline constexpr std::array<std::string_view, 6> kDiscFieldNames = {
    "KestID", "DiscSer", "DiscFSys", "DiscLbl", "DiscDesc", "DiscNumF"};
inline constexpr std::array<std::string_view, 8> kFileFieldNames = {
    "FileID", "KestID", "FileDir", "FileName", "FileAtt", "FileSize", "FileDate", "FileDesc"};

// The results grid marks a subfile column k with the logical number 100 + k.
inline constexpr int kSubFileColumnBase = 100;

}  // namespace kest
