#pragma once

#include <array>
#include <string>

namespace kest::search {

inline constexpr int kFileColumns = 12;
inline constexpr int kSubFileColumns = 10;

// The captions of the file and subfile columns, by column number; they are the
// result grid's headers and (with one blank appended) the statement's aliases.
inline const std::array<std::string, kFileColumns> kFileCaptions = {
    "Kest ID",          "Disc Serial #", "Disc File System", "Disc Vol Label",
    "Disc Description", "# of Files",    "File Directory",   "File Name",
    "File Attributes",  "File Size",     "File Date",        "File Description"};
inline const std::array<std::string, kSubFileColumns> kSubFileCaptions = {
    "SubFile Directory", "SubFile Name",      "SubFile Attributes", "SubFile Size",
    "SubFile Packed",    "SubFile Ratio (%)", "SubFile Date",       "SubFile CRC",
    "SubFile Encrypted", "SubFile Comment"};

// Size units of SizeFormat.
inline constexpr int kSizeMegabytes = 1;
inline constexpr int kSizeKilobytes = 2;
inline constexpr int kSizeBytes = 3;

// Everything the statement builder and the result grid read from the user's
// settings, gathered in one place so the search needs no settings store.
struct SearchOptions {
    int logicalOp = 1;  // 1 joins the terms with OR, 2 with AND
    bool autoAsterisks = true;
    bool inFileName = true;
    bool inDirectory = false;
    bool inFileDescription = false;
    bool advanced = false;
    int sizeFormat = kSizeMegabytes;
    int sizeNumDec = 4;
    std::string dateFormat = "mm/dd/yy hh:nn:ss AMPM";
    bool searchSub = false;
    bool inSubFileName = true;
    bool inSubDirectory = false;
    bool inSubComment = false;
    std::array<int, kFileColumns> showCol = {1, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0};
    std::array<int, kSubFileColumns> showSubCol = {1, 1, 0, 1, 0, 0, 0, 0, 0, 0};
    std::array<std::string, kFileColumns> fileCaptions = kFileCaptions;
    std::array<std::string, kSubFileColumns> subFileCaptions = kSubFileCaptions;
};

// The unit text of a size column: " ( B) ", " (KB) " or " (MB) ".
std::string SizeUnitText(int sizeFormat);
// The number pattern of shown sizes: "0" or "0." and sizeNumDec zeros.
std::string SizeNumberPattern(int sizeNumDec);

}  // namespace kest::search
