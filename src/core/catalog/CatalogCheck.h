#pragma once

#include <memory>
#include <string>

#include "core/engine/Database.h"

#include "core/ui/Prompter.h"

namespace kest {

// Why the catalog check failed (kest-cli check prints the number).
enum class CheckCode {
    EngineError = 0,
    Missing = 1,
    WrongFormat = 2,
    PasswordCancelled = 3,
};

// Where a failed open is reported: the start-up offers to create a new
// catalog, the open command only warns.
enum class OpenWarning { StartUp, OpenCommand };

struct CheckResult {
    bool valid = false;
    CheckCode code = CheckCode::EngineError;
    long errorNumber = 0;
    std::string errorText;
    std::string password;  // the password that opened the file
    // The file as the check opened it (exclusively), when valid: whoever
    // makes it the current catalog takes it rather than opening it again.
    std::unique_ptr<engine::Database> database;
};

// Opens the file by itself (asking for the password while the engine refuses
// it), makes sure it holds the catalog tables and fields, and upgrades a
// catalog of the older format when the user agrees. Only a valid result keeps
// the file open.
CheckResult CheckCatalog(const std::string& path, Prompter& prompter);

// Opens a catalog file exclusively, asking for the password for as long as
// the engine refuses it and the user presses OK; null when the user cancelled.
// password carries the first try in and the one that worked out.
std::unique_ptr<engine::Database> OpenWithPassword(const std::string& path, Prompter& prompter,
                                                   std::string& password);

// The warning text for a failed check (without the start-up's question).
std::string OpenWarningText(CheckCode code, long errorNumber, const std::string& errorText);

// Tells the user why a catalog could not be opened.
Answer ShowOpenWarning(Prompter& prompter, CheckCode code, OpenWarning mode, long errorNumber,
                       const std::string& errorText);

}  // namespace kest
