// kest-cli contents [KESTID]: every file of one disc, or of the whole catalog.
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/search/CliLists.h"
#include "cli/search/CliSearchView.h"
#include "core/search/SearchCommand.h"
#include "core/search/SearchSettings.h"

namespace kest::cli {
namespace {

int RunContents(CliContext& context, const std::optional<int32_t>& kestId) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    search::SearchOptions options = search::SearchOptionsFrom(session.settings);
    search::SearchPanel panel = PanelFromSettings(session);
    std::optional<std::string> id;
    if (kestId) id = std::to_string(*kestId);
    // Nothing reads the list twice: it goes out as it comes.
    ListPrinter printer(stdout);
    IgnoreBrokenPipe ignoreBrokenPipe;
    bool ok = false;
    try {
        panel.results.HandOverRows(kRowsPerHandOver,
                                   [&](const ListTable& rows) { printer.Print(rows); });
        CliSearchView view;
        ok = search::ShowContents(session.current.Db(), panel, options, id, context.prompter, view);
        printer.Print(panel.results);
    } catch (const OutputClosed&) {
        SaveSearchState(session, panel);
        return 0;
    }
    std::cerr << panel.resultCount << "\n" << panel.status1 << std::endl;
    SaveSearchState(session, panel);
    return ok ? 0 : 1;
}

CommandRun SetupContents(CLI::App& app, CliContext& context) {
    auto kestId = std::make_shared<std::optional<int32_t>>();
    CLI::App* sub = app.add_subcommand("contents", "List one disc, or the whole catalog");
    sub->add_option("KESTID", *kestId, "The disc's Kest ID (none: the whole catalog)");
    return [&context, kestId] { return RunContents(context, *kestId); };
}

const CommandRegistrar kContents("contents", &SetupContents);

}  // namespace
}  // namespace kest::cli
