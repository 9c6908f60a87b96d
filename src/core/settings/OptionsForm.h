#pragma once

#include <optional>
#include <string>

#include "core/settings/AppPaths.h"
#include "core/settings/AppSettings.h"
#include "core/settings/WindowState.h"
#include "core/ui/Prompter.h"

namespace kest {

// The tabs of the options dialog, in their order.
enum class OptionsTab {
    Results = 0,
    General = 1,
    Security = 2,
    Search = 3,
    CompressedFiles = 4,
    Misc = 5
};

// The grid font as the options dialog's sample box carries it.
struct GridFont {
    std::string name;
    double size = 0;
    bool bold = false;
    bool italic = false;
};

// What the options dialog shows and edits: a copy of the settings record and
// the grid font. The dialog's controls write into it; only ApplyOptions
// moves it into the live record.
struct OptionsChoice {
    AppSettings settings;
    GridFont font;
};

// The dialog's starting values: the settings as they stand, with the Kest ID
// column always shown and no decimals while sizes are shown in bytes.
OptionsChoice LoadOptions(const AppSettings& settings, const WindowState& window);

// The control a refused choice puts the focus in.
enum class OptionsField { SearchFields, FileTypes, SubFileFields, SoundFile };

// Why the choice cannot be applied: the tab to select, the control to focus
// and the message of the "Option error" box.
struct OptionsProblem {
    OptionsTab tab;
    OptionsField field;
    std::string message;
};

inline constexpr const char* kOptionsErrorTitle = "Option error";

// The checks run by Apply and OK, in order; the first failure is returned.
std::optional<OptionsProblem> ValidateOptions(const OptionsChoice& choice);

// Apply: the choice into the live record and the window's grid font. Date
// formats are trimmed, sizes in bytes keep no decimals, and a results list
// left with the Kest ID column alone gets the File Name column.
void ApplyOptions(const OptionsChoice& choice, AppSettings& settings, WindowState& window);

// The live examples of both date formats: the fixed date through the format.
inline constexpr const char* kExampleDateText = "September 18, 1999 2:32:21 PM";
std::string DateExample(const std::string& format);

// The sound browser: an existing file, looked for first in the program
// folder's sounds. A chosen file becomes the end-of-scan sound at once, so it
// stays chosen even when the dialog is then cancelled; nullopt when none was.
std::optional<std::string> BrowseForSound(Prompter& prompter, const AppPaths& paths,
                                          AppSettings& settings);

// What the disc list shows depends on these; a change means a reload.
struct DiscListShape {
    bool showUsedSpace = false;
    int16_t sizeFormat = 0;
    int16_t sizeNumDec = 0;
    int32_t factColumns = 0;
    bool operator==(const DiscListShape&) const = default;
};
DiscListShape DiscListShapeOf(const AppSettings& settings);

}  // namespace kest
