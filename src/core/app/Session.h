#pragma once

#include <memory>
#include <string>

#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogHost.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/settings/AppPaths.h"
#include "core/settings/AppSettings.h"
#include "core/settings/WindowState.h"
#include "core/ui/Prompter.h"

namespace kest {
class IniFile;
}

namespace kest::app {

// What the program works in after start-up: the program folder, the settings
// as loaded from it, the start-up catalog's name and the catalog it opened.
// Both front ends (the window and the command line) start from one; each is
// the catalog commands' CatalogHost itself.
class Session {
  public:
    // Works in the given program folder (the run's one, AppPaths::ForRun, in
    // the programs; a test's own); nothing is read yet.
    Session(AppPaths paths, Prompter& prompter);
    ~Session();

    // Loads the settings. `prepared` gives the screen and design sizes the
    // window place is computed from. A conversion error raises KestError and
    // leaves the keys after it at their zero values.
    void LoadSettings(const WindowState& prepared = {});

    // Opens path, or the start-up catalog of the settings when path is empty,
    // through the catalog check (password prompts through the prompter). On
    // failure shows the open warning in the given mode and returns false.
    // The host shows the search index's progress.
    bool OpenCatalog(CatalogHost& host, const std::string& path = {},
                     OpenWarning warningMode = OpenWarning::OpenCommand);
    // The answer of the last failed OpenCatalog's warning (Yes = create one).
    Answer lastWarningAnswer = Answer::OK;

    // The start-up catalog's full path as the settings name it.
    std::string StartupPath() const;

    std::string ProgramFolder() const;
    // Saves the settings with the open catalog recorded as the start-up one.
    // A save that cannot write the file (a full disk) is reported through the
    // prompter, once until a save works again; returns whether it worked.
    bool SaveSettings();

    Prompter& prompter;
    const AppPaths paths;
    AppSettings settings;
    // Why the settings file could not be read (its settings are then the
    // defaults); empty when it was read or does not exist.
    std::string settingsProblem;
    WindowState window;
    CatalogName startup;
    CurrentCatalog current;

  private:
    bool m_saveFailureShown = false;
    std::unique_ptr<IniFile> m_loadedFile;  // the settings file as LoadSettings read it
};

// An absolute form of a path given by the user (command line, file manager).
std::string AbsolutePath(const std::string& path);

}  // namespace kest::app
