#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/settings/AppSettings.h"
#include "core/settings/ColumnCatalogue.h"

namespace kest::search {

inline constexpr int kFileColumns = kResultColumnCount;
inline constexpr int kSubFileColumns = kSubFileColumnCount;

template <size_t N>
std::array<std::string, N> CaptionTexts(const std::array<std::string_view, N>& titles) {
    std::array<std::string, N> texts;
    for (size_t i = 0; i < N; ++i) texts[i] = std::string(titles[i]);
    return texts;
}

// The captions of the file and subfile columns, by column number; they are the
// result grid's headers and (with one blank appended) the statement's aliases.
inline const std::array<std::string, kFileColumns> kFileCaptions = CaptionTexts(kResultTitles);
inline const std::array<std::string, kSubFileColumns> kSubFileCaptions =
    CaptionTexts(kSubFileTitles);

// Size units of SizeFormat.
inline constexpr int kSizeMegabytes = kSizeInMB;
inline constexpr int kSizeKilobytes = kSizeInKB;
inline constexpr int kSizeBytes = kSizeInBytes;

// Everything the statement builder and the result grid read from the user's
// settings, gathered in one place so the search needs no settings store.
struct SearchOptions {
    int logicalOp = kLogicalOr;  // how several terms are joined: kLogicalOr or kLogicalAnd
    bool autoAsterisks = true;
    bool inFileName = true;
    bool inDirectory = false;
    bool inFileDescription = false;
    bool advanced = false;
    int sizeFormat = kSizeMegabytes;
    int sizeNumDec = 4;
    std::string dateFormat = "mm/dd/yy hh:nn:ss AMPM";
    bool searchSub = false;
    bool refreshImmediately = false;  // RefResultsImm: description changes re-run the list
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
