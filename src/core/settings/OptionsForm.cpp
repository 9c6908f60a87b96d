#include "core/settings/OptionsForm.h"

#include <filesystem>
#include <numeric>

#include "core/settings/VbConvert.h"
#include "core/text/VbFormat.h"

namespace kest {
namespace {

// The File Name column, switched on when no other file column is left.
constexpr size_t kFileNameColumn = 7;

// File dialog flags: the read-only box hidden, only an existing file taken.
constexpr int kHideReadOnly = 0x4;
constexpr int kFileMustExist = 0x1000;

bool SoundFileExists(const std::string& path) {
    std::string trimmed = vb::Trim(path);
    std::error_code ec;
    return !trimmed.empty() && std::filesystem::is_regular_file(trimmed, ec);
}

}  // namespace

OptionsChoice LoadOptions(const AppSettings& settings, const WindowState& window) {
    OptionsChoice choice{settings,
                         {window.fontName, window.fontSize, window.fontBold, window.fontItalic}};
    choice.settings.ShowCol[0] = 1;
    if (settings.SizeFormat == kSizeInBytes) choice.settings.SizeNumDec = 0;
    return choice;
}

std::optional<OptionsProblem> ValidateOptions(const OptionsChoice& choice) {
    const AppSettings& s = choice.settings;
    if (!s.InFileName && !s.InDirectory && !s.InFileDescription)
        return OptionsProblem{OptionsTab::Search, OptionsField::SearchFields,
                              "At least one checkbox must be selected in 'Fields to Search'."};
    if (s.SaveSubFileCont && !ListsAnyArchiveType(s))
        return OptionsProblem{OptionsTab::CompressedFiles, OptionsField::FileTypes,
                              "You decided to include compressed file information\r\n"
                              "but did not select at least one file type."};
    if (s.SearchSub && !s.InSubFileName && !s.InSubDirectory && !s.InSubComment)
        return OptionsProblem{OptionsTab::CompressedFiles, OptionsField::SubFileFields,
                              "You decided to search in the subfile information\r\n"
                              "but did not select at least one database field."};
    if (s.Play && !SoundFileExists(s.EndScan))
        return OptionsProblem{OptionsTab::Misc, OptionsField::SoundFile,
                              "Invalid sound file or it does not exist."};
    return std::nullopt;
}

void ApplyOptions(const OptionsChoice& choice, AppSettings& settings, WindowState& window) {
    // Settings the dialog does not show (Advanced, DefaultDrive) stay as they are.
    const AppSettings& c = choice.settings;
    AppSettings applied = c;
    applied.Advanced = settings.Advanced;
    applied.DefaultDrive = settings.DefaultDrive;
    applied.SizeNumDec = c.SizeFormat == kSizeInBytes ? 0 : c.SizeNumDec;
    applied.DateFormat = vb::Trim(c.DateFormat);
    applied.AdvDateFormat = vb::Trim(c.AdvDateFormat);
    if (std::accumulate(c.ShowCol.begin(), c.ShowCol.end(), 0) == 1)
        applied.ShowCol[kFileNameColumn] = 1;
    settings = applied;
    window.fontName = choice.font.name;
    window.fontSize = choice.font.size;
    window.fontBold = choice.font.bold;
    window.fontItalic = choice.font.italic;
}

std::string DateExample(const std::string& format) {
    return text::FormatDate(text::DateTime{1999, 9, 18, 14, 32, 21}, format);
}

std::optional<std::string> BrowseForSound(Prompter& prompter, const AppPaths& paths,
                                          AppSettings& settings) {
    FileDialogRequest dialog;
    dialog.title = "Select a sound file...";
    dialog.initialDir = paths.SoundsFolder().string();
    dialog.filter = "WAV file (*.wav)|*.wav|All Files (*.*)|*.*";
    dialog.flags = kHideReadOnly | kFileMustExist;
    std::optional<std::string> chosen = prompter.OpenFile(dialog);
    if (chosen) settings.EndScan = *chosen;
    return chosen;
}

DiscListShape DiscListShapeOf(const AppSettings& settings) {
    return {settings.ShowUsedSpace, settings.SizeFormat, settings.SizeNumDec, settings.FactColumns};
}

}  // namespace kest
