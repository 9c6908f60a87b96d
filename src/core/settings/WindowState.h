#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/ColumnCatalogue.h"

namespace kest {

enum class WindowMode { Normal, Minimized, Maximized };

// A column of the results grid as the save sees it: its logical number (the
// column catalogue number, kSubFileColumnBase + k for subfile column k, or a
// negative number for a column without one) and its width in twips.
struct ResultColumnWidth {
    int logical = -1;
    int32_t width = 0;
};

// The settings that belong to the main window. LoadSettings fills them for the
// window to apply; the window collects its live state here before SaveSettings.
// Geometry is in twips (15 per pixel at 96 dpi).
struct WindowState {
    // Given by the window before loading: the screen, the window's design size
    // and the disc grid's width, from which the defaults are computed.
    int32_t screenWidth = 15360;
    int32_t screenHeight = 11520;
    int32_t designWidth = 9000;
    int32_t designHeight = 6600;
    int32_t discGridWidth = 8760;

    // Main/Toolbar_Visible: the toolbar and the View menu's check mark.
    bool toolbarVisible = false;

    // Grid font of both grids (Main/Font, Font_Size, Font_Italic, Font_Bold).
    std::string fontName;
    double fontSize = 0;
    bool fontItalic = false;
    bool fontBold = false;

    // Positions: place and size, and whether the window is maximised. The
    // minimum width follows Search_Options/Advanced.
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    WindowMode mode = WindowMode::Normal;
    int32_t minWidth = 0;

    // Discs_Columns: one width per disc grid column (6, or 7 with the used-space column).
    std::vector<int32_t> discColumnWidths;

    // Remembered results widths by column catalogue number (Results_Columns)
    // and subfile column number (SubFile_Options/ResSub{k}Width).
    std::array<int16_t, kResultColumnCount> resultWidths{};
    std::array<int16_t, kSubFileColumnCount> subFileWidths{};
    // The results grid's columns at the time of saving.
    std::vector<ResultColumnWidth> resultColumns;

    // Search_Items: the search box's text and its history list.
    std::string searchText;
    std::vector<std::string> searchItems;
};

// The main window's minimum size in twips; the width depends on whether the
// advanced search panel is open.
inline constexpr int32_t kMinWidthAdvanced = 8625;
inline constexpr int32_t kMinWidthSimple = 5865;
inline constexpr int32_t kMinHeight = 6045;

}  // namespace kest
