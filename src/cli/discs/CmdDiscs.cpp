// kest-cli discs [--tag T]... [--location L] [--lent]: the disc list of the
// catalog (only the discs the filter keeps) and its summary line.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/search/CliLists.h"
#include "cli/search/CliSave.h"

namespace kest::cli {
namespace {

int RunDiscs(CliContext& context, const SaveArguments& save, const discfacts::DiscFilter& filter) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    discs::DiscList list;
    list.filter = filter;
    if (!LoadDiscList(session, list)) return 1;
    PrintList(stdout, list.table);
    std::cerr << list.summary << std::endl;
    return SaveDiscs(session, list, save) ? 0 : 1;
}

CommandRun SetupDiscs(CLI::App& app, CliContext& context) {
    auto save = std::make_shared<SaveArguments>();
    auto filter = std::make_shared<discfacts::DiscFilter>();
    CLI::App* sub = app.add_subcommand("discs", "Show the disc list");
    AddSaveOptions(*sub, *save);
    sub->add_option("--tag", filter->tags, "Only discs with this tag (repeat: with every one)");
    sub->add_option("--location", filter->location, "Only discs whose location holds this text");
    sub->add_flag("--lent", filter->lentOnly, "Only discs that are lent");
    sub->add_option("--filter", filter->text,
                    "Only discs with this text in a cell, location, tag, borrower or notes");
    return [&context, save, filter] { return RunDiscs(context, *save, *filter); };
}

const CommandRegistrar kDiscs("discs", &SetupDiscs);

}  // namespace
}  // namespace kest::cli
