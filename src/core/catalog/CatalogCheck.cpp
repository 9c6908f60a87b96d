#include "core/catalog/CatalogCheck.h"

#include <strings.h>

#include <filesystem>

#include "core/catalog/CatalogUpgrade.h"
#include "core/common/KestError.h"
#include "core/settings/ColumnCatalogue.h"

namespace kest {

namespace {

constexpr const char* kUpgradeQuestion =
    "This version of Kest requires a new database format.\r\n"
    "\r\n"
    "The required modifications will be as follows:\r\n"
    "1. New tables will be added as well as modifications to\r\n"
    "the exisiting tables.\r\n"
    "2. All records with a folder name of \"[root]\" will be\r\n"
    "changed to \"<root>\".\r\n"
    "3. New methodology for storing the file size.\r\n"
    "\r\n"
    "A backup will be made with the extension \".old\"\r\n"
    "before updating.\r\n"
    "\r\n"
    "Would you like to update the database format now?\r\n"
    "(This might take a few minutes and will be done only once.)";

bool HasField(const std::vector<std::string>& fields, std::string_view name) {
    for (const auto& f : fields) {
        if (strncasecmp(f.c_str(), name.data(), name.size()) == 0 && f.size() == name.size())
            return true;
    }
    return false;
}

// Whether the file holds the catalog tables and fields; files gets
// tblFiles' field names.
bool IsCatalog(engine::Database& db, std::vector<std::string>& files) {
    if (!db.HasTable("tblDiscs") || !db.HasTable("tblFiles")) return false;
    std::vector<std::string> discs = db.FieldNames("tblDiscs");
    for (auto name : kDiscFieldNames) {
        if (!HasField(discs, name)) return false;
    }
    files = db.FieldNames("tblFiles");
    // "FileID" plays no part and "FileDesc" only tells the formats apart.
    for (size_t i = 1; i + 1 < kFileFieldNames.size(); ++i) {
        if (!HasField(files, kFileFieldNames[i])) return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<engine::Database> OpenWithPassword(const std::string& path, Prompter& prompter,
                                                   std::string& password) {
    for (;;) {
        try {
            return engine::Database::Open(path, password);
        } catch (const KestError& e) {
            if (e.Number() != err::kInvalidPassword) throw;
        }
        auto entered = prompter.Password();
        if (!entered) return nullptr;
        password = *entered;
    }
}

CheckResult CheckCatalog(const std::string& path, Prompter& prompter) {
    CheckResult result;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        result.code = CheckCode::Missing;
        return result;
    }
    std::unique_ptr<engine::Database> db;
    try {
        db = OpenWithPassword(path, prompter, result.password);
        if (!db) {
            result.password.clear();
            result.code = CheckCode::PasswordCancelled;
            return result;
        }
        std::vector<std::string> files;
        if (!IsCatalog(*db, files)) {
            result.code = CheckCode::WrongFormat;
            return result;
        }
        if (HasField(files, "FileDesc")) {
            result.valid = true;
            result.database = std::move(db);
            return result;
        }
        if (prompter.Show("New DB format", kUpgradeQuestion, Icon::Exclamation, Buttons::YesNo) !=
            Answer::Yes) {
            result.code = CheckCode::WrongFormat;
            return result;
        }
        std::string backupPath = path + ".old";
        if (std::filesystem::exists(backupPath, ec)) {
            Answer overwrite = prompter.Show(
                "Backup file exists",
                backupPath + "\r\n\r\nThe file already exists.\r\nDo you want to overwrite it?",
                Icon::Question, Buttons::YesNo, 2);
            if (overwrite != Answer::Yes) {
                result.code = CheckCode::WrongFormat;
                return result;
            }
            std::filesystem::remove(backupPath, ec);
        }
        if (!MakeBackup(db, path, backupPath, result.password)) {
            result.code = CheckCode::WrongFormat;
            return result;
        }
        UpgradeCatalog(*db, prompter);
        result.valid = true;
        result.database = std::move(db);
    } catch (const KestError& e) {
        result.valid = false;
        result.code = CheckCode::EngineError;
        result.errorNumber = e.Number();
        result.errorText = e.Description();
    }
    return result;
}

std::string OpenWarningText(CheckCode code, long errorNumber, const std::string& errorText) {
    switch (code) {
        case CheckCode::Missing:
            return "Default database was not found.";
        case CheckCode::WrongFormat:
            return "The database was in the wrong format.";
        case CheckCode::PasswordCancelled:
            return "The database password was incorrect.";
        default:
            return "There was an error in opening the database.\r\n \r\n" +
                   std::to_string(errorNumber) + "\r\n" + errorText;
    }
}

Answer ShowOpenWarning(Prompter& prompter, CheckCode code, OpenWarning mode, long errorNumber,
                       const std::string& errorText) {
    std::string text = OpenWarningText(code, errorNumber, errorText);
    if (mode == OpenWarning::StartUp) {
        return prompter.Show("Load Database Warning...",
                             text + "\r\nWould you like to create a new database?",
                             Icon::Exclamation, Buttons::YesNo);
    }
    return prompter.Show("Open Database Warning...", text, Icon::Critical);
}

}  // namespace kest
