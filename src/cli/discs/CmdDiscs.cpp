// kest-cli discs: the disc list of the catalog and its summary line.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/search/CliLists.h"
#include "cli/search/CliSave.h"

namespace kest::cli {
namespace {

int RunDiscs(CliContext& context, const SaveArguments& save) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    discs::DiscList list;
    if (!LoadDiscList(session, list)) return 1;
    PrintList(stdout, list.table);
    std::cerr << list.summary << std::endl;
    return SaveDiscs(session, list, save) ? 0 : 1;
}

CommandRun SetupDiscs(CLI::App& app, CliContext& context) {
    auto save = std::make_shared<SaveArguments>();
    CLI::App* sub = app.add_subcommand("discs", "Show the disc list");
    AddSaveOptions(*sub, *save);
    return [&context, save] { return RunDiscs(context, *save); };
}

const CommandRegistrar kDiscs("discs", &SetupDiscs);

}  // namespace
}  // namespace kest::cli
