#include "core/search/SaveListCommand.h"

#include <filesystem>

#include "core/common/FileSystemError.h"
#include "core/common/KestError.h"
#include "core/common/ReplaceableFile.h"
#include "core/search/SearchText.h"
#include "core/shell/ShellRun.h"

namespace kest::search {
namespace {

bool NothingToSave(const DumpSource& source, int64_t matchCount) {
    if (!source.results || !source.title.empty()) return source.table->RowCount() == 0;
    return source.table->RowCount() == 0 || source.resultCount.find("---") != std::string::npos ||
           matchCount < 1;
}

FileDialogRequest SaveDialog(ListFormat format, const std::string& folder) {
    FileDialogRequest dialog;
    if (format == ListFormat::Csv) {
        dialog.title = "Save List as CSV...";
        dialog.filter = "CSV File (*.csv)|*.csv|All Files (*.*)|*.*";
    } else {
        dialog.title = "Save List as Plain Text...";
        dialog.filter = "Text File (*.txt)|*.txt|Data File (*.dat)|*.dat|All Files (*.*)|*.*";
    }
    dialog.initialDir = folder;
    dialog.filterIndex = 1;
    dialog.flags = kHideReadOnlyFlag;
    return dialog;
}

}  // namespace

SaveOutcome SaveListCommand(const DumpSource& source, ListFormat format, int64_t matchCount,
                            const SaveListSettings& settings, Prompter& prompter,
                            platform::Shell& shell) {
    try {
        if (NothingToSave(source, matchCount)) {
            prompter.Show(source.results ? "No Results" : "No Discs", "There is nothing to save.",
                          Icon::Exclamation);
            return SaveOutcome::NothingToSave;
        }
        auto chosen = prompter.SaveFile(SaveDialog(format, settings.programFolder));
        if (!chosen || TrimBlanks(*chosen).empty()) return SaveOutcome::Cancelled;
        const std::string& fileName = *chosen;
        CheckReplaceable(fileName);
        std::error_code ec;
        if (std::filesystem::exists(fileName, ec)) {
            Answer answer = prompter.Show(
                "File already exists",
                fileName + "\r\nThe file already exists.\r\nDo you want to overwrite it?",
                Icon::Exclamation, Buttons::YesNo, 2);
            if (answer != Answer::Yes) {
                prompter.Show("File write aborted", "The file was not generated.",
                              Icon::Information);
                return SaveOutcome::Declined;
            }
            if (!std::filesystem::remove(fileName, ec) && ec) throw FileSystemError(ec.value());
        }
        if (!DumpList(source, format, fileName, prompter)) return SaveOutcome::Failed;
        if (settings.openAfterSaving)
            shell::ShellRun(shell, prompter, fileName, platform::ShellVerb::None);
        return SaveOutcome::Saved;
    } catch (const KestError& e) {
        prompter.ShowError("Error in saving file", e.Number(), e.Description());
        return SaveOutcome::Failed;
    }
}

}  // namespace kest::search
