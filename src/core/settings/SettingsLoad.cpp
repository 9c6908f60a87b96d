#include "core/settings/SettingsLoad.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/settings/SettingsKeys.h"
#include "core/settings/VbConvert.h"

namespace kest {

namespace {

// Reads keys and converts them, noting each key once it has converted.
class KeyReader {
  public:
    KeyReader(const IniFile& ini, std::vector<std::string>* keysRead)
        : m_ini(ini), m_keysRead(keysRead) {}

    std::string Text(std::string_view section, std::string_view key, std::string_view def) {
        std::string value = m_ini.Read(section, key, def);
        Note(section, key);
        return value;
    }
    bool Bool(std::string_view section, std::string_view key, std::string_view def) {
        bool value = vb::CBool(m_ini.Read(section, key, def));
        Note(section, key);
        return value;
    }
    double Number(std::string_view section, std::string_view key, std::string_view def) {
        double value = vb::Val(m_ini.Read(section, key, def));
        Note(section, key);
        return value;
    }
    int16_t Int16(std::string_view section, std::string_view key, std::string_view def) {
        int16_t value = vb::CInt(vb::Val(m_ini.Read(section, key, def)));
        Note(section, key);
        return value;
    }
    int32_t Int32(std::string_view section, std::string_view key, std::string_view def) {
        int32_t value = vb::CLng(vb::Val(m_ini.Read(section, key, def)));
        Note(section, key);
        return value;
    }

  private:
    void Note(std::string_view section, std::string_view key) {
        if (m_keysRead) m_keysRead->push_back(std::string(section) + "/" + std::string(key));
    }

    const IniFile& m_ini;
    std::vector<std::string>* m_keysRead;
};

int16_t WithinOr(int16_t value, int16_t low, int16_t high, int16_t fallback) {
    return value < low || value > high ? fallback : value;
}

void LoadResultColumns(KeyReader& keys, AppSettings& s) {
    constexpr std::array<int, kResultColumnCount> kShownByDefault = {1, 0, 0, 0, 0, 0,
                                                                     1, 1, 0, 1, 0, 0};
    for (int i = 0; i < kResultColumnCount; ++i) {
        const auto at = static_cast<size_t>(i);
        // The disc id is always selected and the file count never is.
        if (i == 0 || i == 5) {
            s.ShowCol[at] = i == 0 ? 1 : 0;
            continue;
        }
        s.ShowCol[at] = keys.Int16("Results_Columns", IndexedKey("ShowCol", i),
                                   kShownByDefault[at] ? "1" : "0");
    }
    int sum = 0;
    for (int16_t shown : s.ShowCol) sum += shown;
    if (sum == 1) s.ShowCol[7] = 1;
}

void LoadSearchOptions(KeyReader& keys, AppSettings& s) {
    s.Only_Optical = keys.Bool("Drives", "Only_Optical", "True");
    s.Show_Non_Optical_Warning = keys.Bool("Drives", "Show_Non-Optical_Warning", "True");
    s.InFileName = keys.Bool("Search_Options", "InFileName", "True");
    s.InDirectory = keys.Bool("Search_Options", "InDirectory", "False");
    s.InFileDescription = keys.Bool("Search_Options", "InFileDescription", "False");
    if (!s.InFileName && !s.InDirectory && !s.InFileDescription) s.InFileName = true;
    s.AutoAsterisks = keys.Bool("Search_Options", "AutoAsterisks", "True");
    s.Advanced = keys.Bool("Search_Options", "Advanced", "False");
    s.SizeFormat = keys.Int16("Search_Options", "SizeFormat", "1");
    s.SizeNumDec = WithinOr(keys.Int16("Search_Options", "SizeNumDec", "4"), 0, 10, 0);
    s.DateFormat = vb::Trim(keys.Text("Search_Options", "DateFormat", "mm/dd/yy hh:nn:ss AMPM"));
    s.AdvDateFormat =
        vb::Trim(keys.Text("Search_Options", "AdvDateFormat", "mm/dd/yy hh:nn:ss AMPM"));
}

void LoadSubFileOptions(KeyReader& keys, AppSettings& s) {
    constexpr std::string_view kSection = "SubFile_Options";
    s.SaveSubFileCont = keys.Bool(kSection, "SaveSubFileCont", "False");
    s.SaveZIP = WithinOr(keys.Int16(kSection, "SaveZIP", "1"), 0, 1, 1);
    s.SaveCAB = WithinOr(keys.Int16(kSection, "SaveCAB", "0"), 0, 1, 0);
    s.SaveRAR = WithinOr(keys.Int16(kSection, "SaveRAR", "0"), 0, 1, 0);
    s.SaveACE = WithinOr(keys.Int16(kSection, "SaveACE", "0"), 0, 1, 0);
    s.Save7Z = WithinOr(keys.Int16(kSection, "Save7Z", "1"), 0, 1, 1);
    s.SaveTAR = WithinOr(keys.Int16(kSection, "SaveTAR", "1"), 0, 1, 1);
    s.SaveCompressedTAR = WithinOr(keys.Int16(kSection, "SaveCompressedTAR", "1"), 0, 1, 1);
    s.SaveISO = WithinOr(keys.Int16(kSection, "SaveISO", "1"), 0, 1, 1);
    if (s.SaveSubFileCont && !ListsAnyArchiveType(s)) s.SaveZIP = 1;
    s.SearchSub = keys.Bool(kSection, "SearchSub", "False");
    s.InSubFileName = keys.Bool(kSection, "InSubFileName", "True");
    s.InSubDirectory = keys.Bool(kSection, "InSubDirectory", "False");
    s.InSubComment = keys.Bool(kSection, "InSubComment", "False");
    if (s.SearchSub && !s.InSubFileName && !s.InSubDirectory && !s.InSubComment) {
        s.InSubFileName = true;
    }
    for (int i = 0; i < kSubFileColumnCount; ++i) {
        bool shown = i == 0 || i == 1 || i == 3;
        s.ShowSubCol[static_cast<size_t>(i)] =
            keys.Int16(kSection, IndexedKey("ShowSubCol", i), shown ? "1" : "0");
    }
}

void LoadMainOptions(KeyReader& keys, AppSettings& s) {
    s.UseDefaultDrive = keys.Bool("File_Functions", "UseDefaultDrive", "False");
    s.DefaultDrive = vb::Trim(keys.Text("File_Functions", "DefaultDrive", ""));
    s.OpenAfterSaving = keys.Bool("Save_List", "OpenAfterSaving", "True");
    s.Program_Caption = keys.Int16("Main", "Program_Caption", "2");
    s.MinToSysTray = keys.Bool("Main", "MinToSysTray", "False");
    s.GridLines = WithinOr(keys.Int16("Main", "GridLines", "1"), 0, 1, 1);
}

void LoadGridFont(KeyReader& keys, WindowState& w) {
    w.fontName = keys.Text("Main", "Font", "Microsoft Sans Serif");
    double size = std::nearbyint(keys.Number("Main", "Font_Size", "8.25"));
    w.fontSize = size < 1 || size > 72 ? 8 : size;
    w.fontItalic = keys.Bool("Main", "Font_Italic", "False");
    w.fontBold = keys.Bool("Main", "Font_Bold", "False");
}

void LoadScanOptions(KeyReader& keys, const AppPaths& paths, AppSettings& s) {
    s.RefResultsImm = keys.Bool("Search_Options", "RefResultsImm", "True");
    int16_t op = keys.Int16("Search_Options", "ME_Logical_Op", "1");
    s.ME_Logical_Op = op == kLogicalOr || op == kLogicalAnd ? op : kLogicalOr;
    s.Play = keys.Bool("Sounds", "Play", "True");
    s.EndScan = keys.Text("Sounds", "EndScan", paths.DefaultEndScanSound().string());
    std::string sound = vb::Trim(s.EndScan);
    std::error_code ec;
    if (sound.empty() || !std::filesystem::is_regular_file(sound, ec)) s.Play = false;
    s.Est_B4_Scan = keys.Bool("Scan_Options", "Est_B4_Scan", "True");
    s.ShowUsedSpace = keys.Bool("Discs_Options", "ShowUsedSpace", "False");
    s.HashContents = keys.Bool("Scan_Options", "HashContents", "False");
    s.FactColumns = keys.Int32("Discs_Options", "FactColumns", "0");
    s.ScanUnknownDiscs = keys.Bool("Main", "ScanUnknownDiscs", "False");
}

// Keeps the window on the screen: first the size, then the place.
void ClampToScreen(int32_t& place, int32_t& size, int32_t screen) {
    if (size < 0) size = 0;
    if (size > screen) size = screen;
    if (place < 0) place = 0;
    if (place > screen - size) place = screen - size;
}

void LoadWindowPlace(KeyReader& keys, const AppSettings& s, WindowState& w) {
    w.minWidth = s.Advanced ? kMinWidthAdvanced : kMinWidthSimple;
    auto half = [](int32_t screen, int32_t window) {
        return vb::NumberText((screen - window) / 2.0);
    };
    w.left = keys.Int32("Positions", "Left", half(w.screenWidth, w.designWidth));
    w.top = keys.Int32("Positions", "Top", half(w.screenHeight, w.designHeight));
    w.width = keys.Int32("Positions", "Width", std::to_string(w.designWidth));
    w.height = keys.Int32("Positions", "Height", std::to_string(w.designHeight));
    if (w.width < w.minWidth) w.width = w.minWidth;
    ClampToScreen(w.left, w.width, w.screenWidth);
    ClampToScreen(w.top, w.height, w.screenHeight);
    bool maximized = keys.Bool("Positions", "Maximized", "False");
    w.mode = maximized ? WindowMode::Maximized : WindowMode::Normal;
}

void LoadColumnWidths(KeyReader& keys, const AppSettings& s, WindowState& w) {
    w.discColumnWidths.clear();
    std::string otherWidth = vb::NumberText((w.discGridWidth - 930) / 4.0);
    for (int i = 0; i < (s.ShowUsedSpace ? 7 : 6); ++i) {
        w.discColumnWidths.push_back(keys.Int32("Discs_Columns", IndexedKey("Col", i, "Width"),
                                                i == 0 ? "930" : otherWidth));
    }
    std::string fileWidth = std::to_string(w.discColumnWidths[1]);
    for (int i = 0; i < kResultColumnCount; ++i) {
        w.resultWidths[static_cast<size_t>(i)] = keys.Int16(
            "Results_Columns", IndexedKey("Res", i, "Width"), i == 0 ? "930" : fileWidth);
    }
    for (int i = 0; i < kSubFileColumnCount; ++i) {
        w.subFileWidths[static_cast<size_t>(i)] =
            keys.Int16("SubFile_Options", IndexedKey("ResSub", i, "Width"), "960");
    }
}

void LoadSearchItems(KeyReader& keys, WindowState& w) {
    constexpr int kMaxItems = 15;
    w.searchText = keys.Text("Search_Items", "Current", "*.exe");
    int16_t number = std::max<int16_t>(keys.Int16("Search_Items", "Number", "1"), 1);
    w.searchItems.clear();
    // Keys "0" up to and including Number, as the history has always been read.
    for (int k = 0; k <= number && k < kMaxItems; ++k) {
        std::string item = vb::Trim(keys.Text("Search_Items", std::to_string(k), ""));
        if (!item.empty()) w.searchItems.push_back(item);
    }
}

}  // namespace

void LoadSettings(const IniFile& ini, const AppPaths& paths, AppSettings& settings,
                  CatalogName& startup, WindowState& window, std::vector<std::string>* keysRead) {
    KeyReader keys(ini, keysRead);
    settings.Back_Color = keys.Int32("Main", "Back_Color", "&H000000C0&");
    startup.name = keys.Text("Main", "DatabaseName", AppPaths::kDefaultCatalogName);
    startup.folder = keys.Text("Main", "DatabaseDir", paths.FolderText());
    window.toolbarVisible = keys.Bool("Main", "Toolbar_Visible", "True");
    LoadResultColumns(keys, settings);
    LoadSearchOptions(keys, settings);
    LoadSubFileOptions(keys, settings);
    LoadMainOptions(keys, settings);
    LoadGridFont(keys, window);
    LoadScanOptions(keys, paths, settings);
    LoadWindowPlace(keys, settings, window);
    LoadColumnWidths(keys, settings, window);
    LoadSearchItems(keys, window);
}

}  // namespace kest
