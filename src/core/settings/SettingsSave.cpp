#include "core/settings/SettingsSave.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/VbConvert.h"
#include "core/text/AsciiCase.h"

namespace kest {

namespace {

class EntryList {
  public:
    void Text(std::string_view section, std::string_view key, std::string_view value) {
        m_entries.push_back({std::string(section), std::string(key), std::string(value)});
    }
    void Bool(std::string_view section, std::string_view key, bool value) {
        Text(section, key, vb::BoolText(value));
    }
    void Int(std::string_view section, std::string_view key, long value) {
        Text(section, key, std::to_string(value));
    }
    void DeleteSection(std::string_view section) { Text(section, "", ""); }

    std::vector<SettingsEntry> Take() { return std::move(m_entries); }

  private:
    std::vector<SettingsEntry> m_entries;
};

void AddSearchOptions(EntryList& out, const AppSettings& s) {
    out.Bool("Drives", "Only_Optical", s.Only_Optical);
    out.Bool("Drives", "Show_Non-Optical_Warning", s.Show_Non_Optical_Warning);
    out.Bool("Search_Options", "InFileName", s.InFileName);
    out.Bool("Search_Options", "InDirectory", s.InDirectory);
    out.Bool("Search_Options", "InFileDescription", s.InFileDescription);
    out.Bool("Search_Options", "AutoAsterisks", s.AutoAsterisks);
    out.Bool("Search_Options", "Advanced", s.Advanced);
    out.Int("Search_Options", "SizeFormat", s.SizeFormat);
    out.Int("Search_Options", "SizeNumDec", s.SizeNumDec);
    out.Text("Search_Options", "DateFormat", vb::Trim(s.DateFormat));
    out.Text("Search_Options", "AdvDateFormat", vb::Trim(s.AdvDateFormat));
}

void AddSubFileOptions(EntryList& out, const AppSettings& s) {
    constexpr std::string_view kSection = "SubFile_Options";
    out.Bool(kSection, "SaveSubFileCont", s.SaveSubFileCont);
    out.Int(kSection, "SaveZIP", s.SaveZIP);
    out.Int(kSection, "SaveCAB", s.SaveCAB);
    out.Int(kSection, "SaveRAR", s.SaveRAR);
    out.Int(kSection, "SaveACE", s.SaveACE);
    out.Int(kSection, "Save7Z", s.Save7Z);
    out.Int(kSection, "SaveTAR", s.SaveTAR);
    out.Int(kSection, "SaveCompressedTAR", s.SaveCompressedTAR);
    out.Int(kSection, "SaveISO", s.SaveISO);
    out.Bool(kSection, "SearchSub", s.SearchSub);
    out.Bool(kSection, "InSubFileName", s.InSubFileName);
    out.Bool(kSection, "InSubDirectory", s.InSubDirectory);
    out.Bool(kSection, "InSubComment", s.InSubComment);
    for (int i = 0; i < kSubFileColumnCount; ++i) {
        out.Int(kSection, IndexedKey("ShowSubCol", i), s.ShowSubCol[static_cast<size_t>(i)]);
    }
}

void AddOtherOptions(EntryList& out, const AppSettings& s, const WindowState& w) {
    out.Bool("File_Functions", "UseDefaultDrive", s.UseDefaultDrive);
    out.Text("File_Functions", "DefaultDrive", s.DefaultDrive);
    out.Bool("Save_List", "OpenAfterSaving", s.OpenAfterSaving);
    out.Int("Main", "Program_Caption", s.Program_Caption);
    out.Bool("Main", "MinToSysTray", s.MinToSysTray);
    out.Int("Main", "GridLines", s.GridLines);
    out.Text("Main", "Font", w.fontName);
    out.Text("Main", "Font_Size", vb::NumberText(w.fontSize));
    out.Bool("Main", "Font_Italic", w.fontItalic);
    out.Bool("Main", "Font_Bold", w.fontBold);
    out.Bool("Search_Options", "RefResultsImm", s.RefResultsImm);
    out.Int("Search_Options", "ME_Logical_Op", s.ME_Logical_Op);
    out.Bool("Sounds", "Play", s.Play);
    out.Text("Sounds", "EndScan", s.EndScan);
    out.Bool("Scan_Options", "Est_B4_Scan", s.Est_B4_Scan);
    out.Bool("Discs_Options", "ShowUsedSpace", s.ShowUsedSpace);
    out.Bool("Scan_Options", "HashContents", s.HashContents);
    out.Int("Discs_Options", "FactColumns", s.FactColumns);
    out.Bool("Main", "ScanUnknownDiscs", s.ScanUnknownDiscs);
}

void AddWindow(EntryList& out, const WindowState& w, PlaceRule place) {
    // A minimised or maximised window keeps the place it had when last normal.
    if (place == PlaceRule::Always || w.mode == WindowMode::Normal) {
        out.Int("Positions", "Left", w.left);
        out.Int("Positions", "Top", w.top);
        out.Int("Positions", "Width", w.width);
        out.Int("Positions", "Height", w.height);
    }
    out.Bool("Positions", "Maximized", w.mode == WindowMode::Maximized);
    for (size_t i = 0; i < w.discColumnWidths.size(); ++i) {
        out.Int("Discs_Columns", IndexedKey("Col", static_cast<int>(i), "Width"),
                w.discColumnWidths[i]);
    }
    for (const ResultColumnWidth& column : w.resultColumns) {
        if (column.logical < 0) continue;
        if (column.logical >= kSubFileColumnBase) {
            out.Int("SubFile_Options",
                    IndexedKey("ResSub", column.logical - kSubFileColumnBase, "Width"),
                    column.width);
        } else {
            out.Int("Results_Columns", IndexedKey("Res", column.logical, "Width"), column.width);
        }
    }
}

void AddSearchItems(EntryList& out, const WindowState& w) {
    constexpr size_t kMaxItems = 15;
    out.DeleteSection("Search_Items");
    size_t number = std::min(w.searchItems.size(), kMaxItems);
    out.Int("Search_Items", "Number", static_cast<long>(number));
    out.Text("Search_Items", "Current", vb::Trim(w.searchText));
    for (size_t k = 0; k < number; ++k) {
        out.Text("Search_Items", std::to_string(k), vb::Trim(w.searchItems[k]));
    }
}

std::string Folded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), text::AsciiLower);
    return folded;
}

// Whether writing the entries in order would leave the settings the file
// holds as they are: every value already there, every deleted key absent,
// and a deleted section holding just the keys written after its deletion.
// Unsure cases (a key written before its section is deleted) count as changes.
bool AlreadyHeld(const IniFile& ini, const std::vector<SettingsEntry>& entries) {
    std::map<std::string, std::set<std::string>> rewritten;  // deleted section -> keys since
    for (const SettingsEntry& e : entries) {
        auto section = rewritten.find(Folded(e.section));
        if (e.key.empty()) {
            rewritten[Folded(e.section)].clear();
            continue;
        }
        const auto stored = ini.Stored(e.section, e.key);
        if (e.value.empty()) {
            if (section != rewritten.end())
                section->second.erase(Folded(e.key));
            else if (stored)
                return false;
            continue;
        }
        if (stored != e.value) return false;
        if (section != rewritten.end()) section->second.insert(Folded(e.key));
    }
    for (const auto& [section, keys] : rewritten) {
        const long held = ini.KeysIn(section);
        if (keys.empty() ? held != -1 : held != static_cast<long>(keys.size())) return false;
    }
    return true;
}

}  // namespace

std::vector<SettingsEntry> SettingsEntries(const AppSettings& settings, const WindowState& window,
                                           const CatalogName& current, PlaceRule place) {
    EntryList out;
    out.Int("Main", "Back_Color", settings.Back_Color);
    out.Text("Main", "DatabaseName", current.name);
    out.Text("Main", "DatabaseDir", current.folder);
    out.Bool("Main", "Toolbar_Visible", window.toolbarVisible);
    for (int i = 1; i < kResultColumnCount; ++i) {
        // The disc id is always shown and the file count never: neither is stored.
        if (i != 5)
            out.Int("Results_Columns", IndexedKey("ShowCol", i),
                    settings.ShowCol[static_cast<size_t>(i)]);
    }
    AddSearchOptions(out, settings);
    AddSubFileOptions(out, settings);
    AddOtherOptions(out, settings, window);
    AddWindow(out, window, place);
    AddSearchItems(out, window);
    return out.Take();
}

bool SaveSettings(const AppPaths& paths, const AppSettings& settings, const WindowState& window,
                  CatalogName* current, std::optional<KestError>* failure, const IniFile* loaded) {
    CatalogName catalog = current ? *current : CatalogName{};
    if (vb::Trim(catalog.name).empty()) catalog.name = kNoCatalogName;
    if (vb::Trim(catalog.folder).empty()) catalog.folder = paths.FolderText();
    if (current) *current = catalog;
    const auto entries = SettingsEntries(settings, window, catalog);
    // A search saves the history each time, mostly as it was: the file read at
    // start-up answers that without reading and parsing it again.
    if (loaded && loaded->Path() == paths.IniPath() && loaded->UnchangedOnDisk() &&
        AlreadyHeld(*loaded, entries))
        return true;
    IniFile ini(paths.IniPath());
    for (const SettingsEntry& entry : entries) ini.Write(entry.section, entry.key, entry.value);
    bool saved = ini.Save();
    if (failure && ini.SaveFailure()) *failure = *ini.SaveFailure();
    return saved;
}

std::vector<ResultColumnWidth> AllResultColumns(const WindowState& window) {
    std::vector<ResultColumnWidth> columns;
    columns.reserve(kResultColumnCount + kSubFileColumnCount);
    for (int i = 0; i < kResultColumnCount; ++i)
        columns.push_back({i, window.resultWidths[static_cast<size_t>(i)]});
    for (int k = 0; k < kSubFileColumnCount; ++k) {
        columns.push_back({kSubFileColumnBase + k, window.subFileWidths[static_cast<size_t>(k)]});
    }
    return columns;
}

}  // namespace kest
