#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/ColumnCatalogue.h"

namespace kest {

// Values of Search_Options/SizeFormat.
inline constexpr int16_t kSizeInMB = 1;
inline constexpr int16_t kSizeInKB = 2;
inline constexpr int16_t kSizeInBytes = 3;
// Values of Search_Options/ME_Logical_Op: how several search terms are joined.
inline constexpr int16_t kLogicalOr = 1;
inline constexpr int16_t kLogicalAnd = 2;
// Values of Main/Program_Caption.
inline constexpr int16_t kCaptionTitleOnly = 0;
inline constexpr int16_t kCaptionFileName = 1;
inline constexpr int16_t kCaptionFullPath = 2;

// Every user preference of the program. Members carry the names of their INI
// keys (Show_Non-Optical_Warning becomes Show_Non_Optical_Warning). A fresh
// record is all zero and empty: LoadSettings fills it in key order, so after
// a conversion error the keys not yet reached keep those values. The settings
// of the main window itself (toolbar, grid font, place, column widths, search
// box) live in WindowState.
struct AppSettings {
    // Main
    int32_t Back_Color = 0;
    int16_t Program_Caption = 0;
    bool MinToSysTray = false;
    int16_t GridLines = 0;

    // Results_Columns: 1 shown, 0 hidden, by column catalogue number.
    std::array<int16_t, kResultColumnCount> ShowCol{};

    // Drives
    bool Only_Optical = false;
    bool Show_Non_Optical_Warning = false;

    // Search_Options
    bool InFileName = false;
    bool InDirectory = false;
    bool InFileDescription = false;
    bool AutoAsterisks = false;
    bool Advanced = false;
    int16_t SizeFormat = 0;
    int16_t SizeNumDec = 0;
    std::string DateFormat;
    std::string AdvDateFormat;
    bool RefResultsImm = false;
    int16_t ME_Logical_Op = 0;

    // SubFile_Options
    bool SaveSubFileCont = false;
    int16_t SaveZIP = 0;
    int16_t SaveCAB = 0;
    int16_t SaveRAR = 0;
    int16_t SaveACE = 0;
    // The kinds libarchive lists, beyond the classic four.
    int16_t Save7Z = 0;
    int16_t SaveTAR = 0;
    int16_t SaveCompressedTAR = 0;
    int16_t SaveISO = 0;
    bool SearchSub = false;
    bool InSubFileName = false;
    bool InSubDirectory = false;
    bool InSubComment = false;
    std::array<int16_t, kSubFileColumnCount> ShowSubCol{};

    // File_Functions
    bool UseDefaultDrive = false;
    std::string DefaultDrive;

    // Save_List
    bool OpenAfterSaving = false;

    // Sounds
    bool Play = false;
    std::string EndScan;

    // Scan_Options
    bool Est_B4_Scan = false;

    // Discs_Options
    bool ShowUsedSpace = false;

    // Kest's own keys beside the classic ones: content hashes while scanning
    // (Scan_Options/HashContents), the disc list's optional fact columns as
    // bits (Discs_Options/FactColumns) and scanning an unknown disc as soon
    // as it is mounted (Main/ScanUnknownDiscs). All off by default.
    bool HashContents = false;
    int32_t FactColumns = 0;
    bool ScanUnknownDiscs = false;
};

// Whether any archive type is chosen for listing (a scan that saves subfile
// contents needs one).
inline bool ListsAnyArchiveType(const AppSettings& s) {
    return s.SaveZIP + s.SaveCAB + s.SaveRAR + s.SaveACE + s.Save7Z + s.SaveTAR +
               s.SaveCompressedTAR + s.SaveISO !=
           0;
}

// The catalog to open at start-up (Main/DatabaseName and Main/DatabaseDir), and
// at a save the catalog that is open. The folder has no trailing '/'.
struct CatalogName {
    std::string name;
    std::string folder;
};

// The name stored when no catalog is open; it names no file, so the next
// start opens nothing by itself.
inline constexpr std::string_view kNoCatalogName = "?null?";

}  // namespace kest
