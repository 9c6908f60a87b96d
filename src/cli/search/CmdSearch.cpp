// kest-cli search TEXT: the search command on the catalog, with the results
// list on standard output.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/search/CliLists.h"
#include "cli/search/CliSave.h"
#include "cli/search/CliSearchView.h"
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

int RunSearchCommand(CliContext& context, const SearchArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    discs::DiscList discList;
    LoadDiscList(session, discList);

    search::SearchOptions options = search::SearchOptionsFrom(session.settings);
    search::SearchPanel panel = PanelFromSettings(session);
    panel.searchText = args.text;
    if (AnyBound(args.bounds)) {
        options.advanced = true;  // for this run only; the settings keep theirs
        panel.bounds = args.bounds;
    }
    CliSearchView view;
    auto outcome = search::SearchCommand(session.current.Db(), panel, options, discList.discCount,
                                         context.prompter, view);
    int status = outcome == search::SearchOutcome::Ran ? 0 : 1;
    if (outcome == search::SearchOutcome::Ran || outcome == search::SearchOutcome::Failed) {
        if (!args.sort.empty() && !SortResultsBy(panel.results, args.sort))
            throw CLI::ValidationError("--sort", "no shown column " + args.sort);
        if (args.showSql) std::cout << panel.statement << std::endl;
        PrintList(stdout, panel.results);
    }
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
