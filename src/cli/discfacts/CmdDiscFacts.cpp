// kest-cli disc-facts KESTID [changes]: the facts Kest keeps about a disc
// (dates, space, location, tags, lending, notes), shown or changed.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "core/discfacts/DiscFactsChange.h"
#include "core/discfacts/DiscListFacts.h"
#include "core/text/VbFormat.h"

namespace kest::cli {
namespace {

struct DiscFactsArguments {
    int64_t kestId = 0;
    std::optional<std::string> location, lentTo, lentOn, due, notes;
    std::vector<std::string> tags, untags;
    bool returned = false;
};

std::string BytesText(const std::optional<int64_t>& bytes) {
    if (!bytes) return {};
    return text::FormatNumber(static_cast<double>(*bytes), "#,##0") + " bytes";
}

void PrintDiscFacts(const discfacts::DiscFacts& facts) {
    using discfacts::DayText;
    std::cout << "Kest ID\t" << facts.kestId << "\nCatalogued\t" << DayText(facts.catalogued)
              << "\nRe-catalogued\t" << DayText(facts.recatalogued) << "\nCapacity\t"
              << BytesText(facts.capacity) << "\nFree Space\t" << BytesText(facts.freeSpace)
              << "\nLocation\t" << facts.location << "\n";
    for (const std::string& tag : facts.tags) std::cout << "Tag\t" << tag << "\n";
    std::string due = DayText(facts.dueBack);
    if (facts.Overdue(discfacts::Now())) due += " (overdue)";
    std::cout << "Lent To\t" << facts.lentTo << "\nLent On\t" << DayText(facts.lentOn)
              << "\nDue Back\t" << due << "\nNotes\t" << facts.notes << std::endl;
}

int RunDiscFacts(CliContext& context, const DiscFactsArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    discfacts::DiscFactsChange change;
    change.location = args.location;
    change.addTags = args.tags;
    change.removeTags = args.untags;
    change.lentTo = args.lentTo;
    change.lentOn = args.lentOn;
    change.dueBack = args.due;
    change.returned = args.returned;
    change.notes = args.notes;
    try {
        discfacts::DiscFacts facts =
            change.Empty() ? discfacts::FactsOfDisc(session.current.Db(), args.kestId)
                           : discfacts::ChangeDiscFacts(session.current.Db(), args.kestId, change);
        PrintDiscFacts(facts);
        return 0;
    } catch (const KestError& e) {
        context.prompter.ShowError(discfacts::kFactsErrorTitle, e.Number(), e.Description());
        return 1;
    }
}

CommandRun SetupDiscFacts(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<DiscFactsArguments>();
    CLI::App* sub = app.add_subcommand(
        "disc-facts",
        "Show or change what Kest keeps about a disc: location, tags, lending, notes");
    sub->add_option("KESTID", args->kestId, "The disc's Kest ID")->required();
    sub->add_option("--location", args->location, "Where the disc is kept (\"Shelf B, box 3\")");
    sub->add_option("--tag", args->tags, "Add a tag (repeat for more)");
    sub->add_option("--untag", args->untags, "Remove a tag (repeat for more)");
    auto* lentTo = sub->add_option("--lent-to", args->lentTo, "Lend the disc to NAME");
    auto* lentOn = sub->add_option("--lent-on", args->lentOn, "Lent on DATE (default today)");
    auto* due = sub->add_option("--due", args->due, "Due back on DATE");
    auto* returned = sub->add_flag("--returned", args->returned, "The disc came back");
    for (CLI::Option* lending : {lentTo, lentOn, due}) returned->excludes(lending);
    sub->add_option("--notes", args->notes, "Notes about the disc");
    return [&context, args] { return RunDiscFacts(context, *args); };
}

const CommandRegistrar kDiscFacts("disc-facts", &SetupDiscFacts);

}  // namespace
}  // namespace kest::cli
