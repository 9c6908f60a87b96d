// kest-cli disc-details KESTID, describe-disc --text TEXT KESTID and
// delete-disc KESTID...: the disc details window and the disc deletions.
#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/details/CliViews.h"
#include "core/discs/DiscDeletion.h"
#include "core/discs/DiscDetails.h"

namespace kest::cli {
namespace {

// The details window of a disc of the disc list; nullopt (and a note) when
// the list does not show it.
std::optional<discs::DiscDetails> OpenDetails(const CliViews& cli, const std::string& kestId) {
    auto row = discs::FindDiscRow(cli.list.table, kestId);
    if (!row) {
        std::cerr << "kest-cli: the disc list shows no disc with Kest ID " << kestId << std::endl;
        return std::nullopt;
    }
    return discs::OpenDiscDetails(cli.list, cli.views.listOptions, {*row + 1, *row + 1});
}

int RunDiscDetails(CliContext& context, const std::string& kestId) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    CliViews cli(session);
    auto window = OpenDetails(cli, kestId);
    if (!window) return 1;
    const discs::SelectedDisc& disc = window->Disc();
    std::cout << "Kest ID\t" << disc.kestId << "\nSerial\t" << disc.serial << "\nFile System\t"
              << disc.fileSystem << "\nVolume Label\t" << disc.label << "\nDescription\t"
              << disc.description << "\nFiles\t" << disc.fileCount << "\n"
              << window->UsedSpaceLabel() << "\t" << disc.usedSpace << std::endl;
    return 0;
}

int RunDescribeDisc(CliContext& context, const std::string& text, const std::string& kestId) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    CliViews cli(session);
    auto window = OpenDetails(cli, kestId);
    if (!window) return 1;
    window->description = text;
    return window->UpdateDescription(cli.views.db, context.prompter) ? 0 : 1;
}

int RunDeleteDisc(CliContext& context, const std::vector<std::string>& kestIds) {
    std::vector<int64_t> numbers;
    for (const std::string& id : kestIds) {
        int64_t number = 0;
        auto parsed = std::from_chars(id.data(), id.data() + id.size(), number);
        if (kestIds.size() > 1 && (parsed.ec != std::errc() || parsed.ptr != id.data() + id.size()))
            throw CLI::ValidationError("KESTID", "not a whole number: " + id);
        numbers.push_back(number);
    }
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    CliViews cli(session);
    auto outcome = kestIds.size() == 1
                       ? discs::DeleteDiscFromMenu(cli.views, kestIds.front(), context.prompter)
                       : discs::DeleteSelectedDiscs(cli.views, numbers, context.prompter);
    if (outcome == discs::DeleteOutcome::Deleted) std::cerr << cli.list.summary << std::endl;
    return outcome == discs::DeleteOutcome::Deleted ? 0 : 1;
}

CommandRun SetupDiscDetails(CLI::App& app, CliContext& context) {
    auto kestId = std::make_shared<std::string>();
    CLI::App* sub = app.add_subcommand("disc-details", "Show the details of a disc");
    sub->add_option("KESTID", *kestId, "The disc's Kest ID")->required();
    return [&context, kestId] { return RunDiscDetails(context, *kestId); };
}

CommandRun SetupDescribeDisc(CLI::App& app, CliContext& context) {
    auto text = std::make_shared<std::string>();
    auto kestId = std::make_shared<std::string>();
    CLI::App* sub = app.add_subcommand("describe-disc", "Change the description of a disc");
    sub->add_option("--text", *text, "The new description")->required();
    sub->add_option("KESTID", *kestId, "The disc's Kest ID")->required();
    return [&context, text, kestId] { return RunDescribeDisc(context, *text, *kestId); };
}

CommandRun SetupDeleteDisc(CLI::App& app, CliContext& context) {
    auto kestIds = std::make_shared<std::vector<std::string>>();
    CLI::App* sub = app.add_subcommand("delete-disc", "Delete discs with all of their files");
    sub->add_option("KESTID", *kestIds, "The discs' Kest IDs")->required();
    return [&context, kestIds] { return RunDeleteDisc(context, *kestIds); };
}

const CommandRegistrar kDiscDetails("disc-details", &SetupDiscDetails);
const CommandRegistrar kDescribeDisc("describe-disc", &SetupDescribeDisc);
const CommandRegistrar kDeleteDisc("delete-disc", &SetupDeleteDisc);

}  // namespace
}  // namespace kest::cli
