#include "core/catalog/PropertiesReport.h"

#include "core/catalog/CatalogPaths.h"
#include "core/common/KestError.h"
#include "core/common/ReplacementFile.h"
#include "core/scan/FileFacts.h"
#include "core/shell/ShellRun.h"
#include "core/text/UnicodeCase.h"
#include "core/text/VbFormat.h"
#include "platform/Shell.h"

namespace kest {
namespace {

constexpr const char* kRule = "----------------------------------";

// "#,##0" of a whole number, exact over the whole 64-bit range.
std::string Grouped(int64_t number) {
    uint64_t magnitude =
        number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
    std::string digits = std::to_string(magnitude);
    const std::string& separator = text::CurrentNumberLocale().thousands;
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
        grouped += digits[i];
    }
    return number < 0 ? "-" + grouped : grouped;
}

int64_t Number(engine::Database& db, const std::string& sql) {
    auto rows = db.Query(sql).rows;
    if (rows.empty() || engine::IsNull(rows[0][0])) return 0;
    if (auto whole = std::get_if<int64_t>(&rows[0][0])) return *whole;
    if (auto real = std::get_if<double>(&rows[0][0])) return static_cast<int64_t>(*real);
    return 0;
}

std::string FileDate(const scan::FileFacts& facts) {
    auto date = text::ParseIsoDateTime(facts.isoDate);
    return date ? text::FormatDate(*date, "MMM DD, YYYY HH:NN:SS AM/PM") : "";
}

}  // namespace

std::string PropertiesReport(const CurrentCatalog& current, Prompter& prompter) {
    scan::FileFacts facts = scan::FileFactsReader(prompter, nullptr).Read(current.path, "/");
    engine::Database& db = current.Db();
    return std::string("Database File Properties:\r\n") + kRule + "\r\n" + "Name: \t" +
           text::UpperCase(current.path) + "\r\n" + "Date: \t" + FileDate(facts) + "\r\n" +
           "Size: \t" + Grouped(facts.size) + " bytes\r\n" + "Attr: \t" + facts.attributes +
           "\r\n" + "Pwd: \t" + (Trim(current.password).empty() ? "No" : "Yes") + "\r\n" + "\r\n" +
           "Database Contents:\r\n" + kRule + "\r\n" + "Discs: \t\t" +
           Grouped(Number(db, "SELECT count(*) FROM tblDiscs")) + "\r\n" + "Files: \t\t" +
           Grouped(Number(db, "SELECT count(*) FROM tblFiles")) + "\r\n" + "SubFiles: \t\t" +
           Grouped(Number(db, "SELECT count(*) FROM tblSubFiles")) + "\r\n" +
           "Total File Size: \t" + Grouped(Number(db, "SELECT SUM(FileSize) FROM tblFiles;")) +
           " bytes\r\n" + "Total SubFile Size: \t" +
           Grouped(Number(db, "SELECT SUM(SubFileSize) FROM tblSubFiles;")) + " bytes";
}

std::optional<std::string> PropertiesCommand(const CurrentCatalog& current, CatalogHost& host,
                                             Prompter& prompter, const std::string& reportPath,
                                             platform::Shell& shell) {
    try {
        if (!current.HasDatabase()) return std::nullopt;
        host.SetBusyPointer(true);
        std::string report = PropertiesReport(current, prompter);
        host.SetBusyPointer(false);
        Answer answer = prompter.Show(
            "Database properties",
            report + "\r\n\r\n\r\nWould you like to print this information to a file?",
            Icon::Information, Buttons::YesNo, 2);
        if (answer == Answer::Yes) {
            WriteLog(reportPath, report + "\r\n");
            shell::ShellRun(shell, prompter, reportPath, platform::ShellVerb::None);
        }
        return report;
    } catch (const KestError& e) {
        host.SetBusyPointer(false);
        prompter.ShowError("Error in getting Properties", e.Number(), e.Description());
        return std::nullopt;
    }
}

}  // namespace kest
