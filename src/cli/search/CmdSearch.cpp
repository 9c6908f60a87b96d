// kest-cli search TEXT: the search command on the catalog, with the results
// list on standard output.
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/search/CliLists.h"
#include "cli/search/CliSave.h"
#include "cli/search/CliSearchView.h"
#include "core/common/KestError.h"
#include "core/discs/DiscList.h"
#include "core/search/SearchCommand.h"
#include "core/search/SearchSettings.h"

namespace kest::cli {
namespace {

struct SearchArguments {
    std::string text;
    search::SearchBounds bounds;
    std::string sort;
    bool showSql = false;
    SaveArguments save;
};

bool AnyBound(const search::SearchBounds& b) {
    return !(b.sizeFrom.empty() && b.sizeTo.empty() && b.dateFrom.empty() && b.dateTo.empty() &&
             b.discFrom.empty() && b.discTo.empty());
}

// Runs the search and prints its list. Without a sort or a saved list nothing
// reads the results twice, so they go out as they come and memory does not grow
// with their number. Gives nullopt when the reader of the list went away.
std::optional<search::SearchOutcome> SearchAndPrint(CliContext& context, CliSession& session,
                                                    search::SearchPanel& panel,
                                                    const search::SearchOptions& options,
                                                    int64_t discCount,
                                                    const SearchArguments& args) {
    const bool stream =
        args.sort.empty() && args.save.textFile.empty() && args.save.csvFile.empty();
    ListPrinter printer(stdout);
    auto preface = [&] {
        if (args.showSql) printer.SetPreface(panel.statement);
    };
    IgnoreBrokenPipe ignoreBrokenPipe;
    try {
        if (stream)
            panel.results.HandOverRows(kRowsPerHandOver, [&](const ListTable& rows) {
                preface();
                printer.Print(rows);
            });
        CliSearchView view;
        auto outcome = search::SearchCommand(session.current.Db(), panel, options, discCount,
                                             context.prompter, view);
        panel.results.HandOverRows(0, {});
        if (outcome == search::SearchOutcome::Ran || outcome == search::SearchOutcome::Failed) {
            if (!args.sort.empty() && !SortResultsBy(panel.results, args.sort))
                throw CLI::ValidationError("--sort", "no shown column " + args.sort);
            preface();
            printer.Print(panel.results);
        }
        return outcome;
    } catch (const OutputClosed&) {
        return std::nullopt;
    }
}

int RunSearchCommand(CliContext& context, const SearchArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    // A saved list is headed by the disc list's summary; a search alone needs
    // only the disc count (its failure is shown as the disc list shows it).
    discs::DiscList discList;
    try {
        if (!args.save.textFile.empty() || !args.save.csvFile.empty())
            LoadDiscList(session, discList);
        else
            discList.discCount = discs::DiscCount(session.current.Db());
    } catch (const KestError&) {
        LoadDiscList(session, discList);
    }

    search::SearchOptions options = search::SearchOptionsFrom(session.settings);
    search::SearchPanel panel = PanelFromSettings(session);
    panel.searchText = args.text;
    if (AnyBound(args.bounds)) {
        options.advanced = true;  // for this run only; the settings keep theirs
        panel.bounds = args.bounds;
    }
    auto outcome = SearchAndPrint(context, session, panel, options, discList.discCount, args);
    if (!outcome) {
        SaveSearchState(session, panel);
        return 0;
    }
    int status = *outcome == search::SearchOutcome::Ran ? 0 : 1;
    if (status == 0 && !SaveResults(session, panel, discList, args.save)) status = 1;
    std::cerr << panel.resultCount << "\n" << panel.status1 << std::endl;
    SaveSearchState(session, panel);
    return status;
}

CommandRun SetupSearch(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<SearchArguments>();
    CLI::App* sub = app.add_subcommand("search", "Search the catalog");
    sub->add_option("TEXT", args->text, "Search text: comma-separated patterns")->required();
    sub->add_option("--size-from", args->bounds.sizeFrom, "Lower bound of size");
    sub->add_option("--size-to", args->bounds.sizeTo, "Upper bound of size");
    sub->add_option("--date-from", args->bounds.dateFrom, "Lower bound of date");
    sub->add_option("--date-to", args->bounds.dateTo, "Upper bound of date");
    sub->add_option("--disc-from", args->bounds.discFrom, "Lower bound of Kest ID");
    sub->add_option("--disc-to", args->bounds.discTo, "Upper bound of Kest ID");
    sub->add_option("--sort", args->sort, "Sort by a shown column (header or index)[:desc]");
    sub->add_flag("--show-sql", args->showSql, "Print the statement first");
    AddSaveOptions(*sub, args->save);
    return [&context, args] { return RunSearchCommand(context, *args); };
}

const CommandRegistrar kSearch("search", &SetupSearch);

}  // namespace
}  // namespace kest::cli
