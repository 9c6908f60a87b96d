// kest-cli duplicates and single-copy: files the catalog holds more than
// once, and files that exist on one disc only.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/search/CliLists.h"
#include "cli/search/CliSave.h"
#include "core/discfacts/CopyLists.h"

namespace kest::cli {
namespace {

constexpr const char* kCopiesErrorTitle = "Error in finding copies";

struct CopyArguments {
    std::string discs;
    bool sameDate = false;
    SaveArguments save;
};

// Writes the text out a megabyte at a time.
class Output {
  public:
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    Output() = default;
    Output& operator<<(std::string_view text) {
        m_buffer += text;
        if (m_buffer.size() > (1u << 20)) Flush();
        return *this;
    }
    Output& operator<<(int64_t number) { return *this << std::string_view(std::to_string(number)); }
    void Flush() {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
        std::fflush(stdout);
        m_buffer.clear();
    }

  private:
    std::string m_buffer;
};

// One block per group: the name, the size and copies, a line per copy (its
// Kest ID and folder, and its name when it differs), an empty line.
void PrintGroups(const std::vector<discfacts::DuplicateGroup>& groups) {
    int64_t waste = 0;
    {
        Output out;
        for (const discfacts::DuplicateGroup& group : groups) {
            out << group.name << "\n"
                << group.size << " bytes, " << static_cast<int64_t>(group.copies.size())
                << " copies";
            if (!group.hash.empty()) out << ", content " << group.hash;
            out << "\n";
            for (const discfacts::CatalogFile& copy : group.copies) {
                out << "  " << copy.kestId << "\t" << copy.folder;
                if (copy.name != group.name) out << "\t" << copy.name;
                out << "\n";
            }
            out << "\n";
            waste += group.Waste();
        }
    }
    std::cerr << groups.size() << (groups.size() == 1 ? " group" : " groups") << " of copies, "
              << waste << " bytes in extra copies." << std::endl;
}

void PrintFiles(const std::vector<discfacts::CatalogFile>& files) {
    {
        Output out;
        // The header of the saved list; the rows in the same order of columns.
        std::string_view tab;
        const ListTable header = discfacts::SingleCopyTable({});
        for (const ListColumn& column : header.Columns()) {
            if (column.tag < 0) continue;
            out << tab << column.header;
            tab = "\t";
        }
        out << "\n";
        for (const discfacts::CatalogFile& file : files)
            out << file.kestId << "\t" << file.folder << "\t" << file.name << "\t" << file.size
                << "\t" << file.date << "\n";
    }
    std::cerr << files.size() << (files.size() == 1 ? " file" : " files") << " on one disc only."
              << std::endl;
}

// Runs one of the two lists: find prints it and, when it is to be saved,
// gives it as a table.
template <typename Find>
int RunCopies(CliContext& context, const CopyArguments& args, const char* title, Find find) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    const bool save = !args.save.textFile.empty() || !args.save.csvFile.empty();
    ListTable table;
    try {
        auto rule = discfacts::RuleFromTyped(session.current.Db(), args.discs, args.sameDate);
        table = find(session.current.Db(), rule, save);
    } catch (const KestError& e) {
        context.prompter.ShowError(kCopiesErrorTitle, e.Number(), e.Description());
        return 1;
    }
    if (!save) return 0;
    discs::DiscList list;
    if (!LoadDiscList(session, list)) return 1;
    return SaveOtherList(session, list, table, title, args.save) ? 0 : 1;
}

void AddCopyOptions(CLI::App& sub, CopyArguments& args) {
    sub.add_option("--discs", args.discs, "Only these discs: Kest IDs and ranges, \"3,7-9\"");
    sub.add_flag("--same-date", args.sameDate, "Copies must also have the same date");
    AddSaveOptions(sub, args.save);
}

CommandRun SetupDuplicates(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<CopyArguments>();
    CLI::App* sub = app.add_subcommand(
        "duplicates",
        "List files kept more than once (same name and size, or same content hash), largest "
        "waste first");
    AddCopyOptions(*sub, *args);
    return [&context, args] {
        return RunCopies(context, *args, discfacts::kDuplicatesTitle,
                         [](engine::Database& db, const discfacts::CopyRule& rule, bool save) {
                             auto groups = discfacts::FindDuplicates(db, rule);
                             PrintGroups(groups);
                             return save ? discfacts::DuplicatesTable(groups) : ListTable();
                         });
    };
}

CommandRun SetupSingleCopy(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<CopyArguments>();
    CLI::App* sub = app.add_subcommand("single-copy",
                                       "List files that exist on exactly one of the chosen discs");
    AddCopyOptions(*sub, *args);
    return [&context, args] {
        return RunCopies(context, *args, discfacts::kSingleCopyTitle,
                         [](engine::Database& db, const discfacts::CopyRule& rule, bool save) {
                             auto files = discfacts::FilesOnOneDisc(db, rule);
                             PrintFiles(files);
                             return save ? discfacts::SingleCopyTable(files) : ListTable();
                         });
    };
}

const CommandRegistrar kDuplicates("duplicates", &SetupDuplicates);
const CommandRegistrar kSingleCopy("single-copy", &SetupSingleCopy);

}  // namespace
}  // namespace kest::cli
