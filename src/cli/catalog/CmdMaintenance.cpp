// kest-cli compact, repair, reindex, save-as, close and properties: looking
// after the catalog file itself.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/scan/StopSignals.h"
#include "core/catalog/CloseCatalog.h"
#include "core/catalog/CompactCatalog.h"
#include "core/catalog/PropertiesReport.h"
#include "core/catalog/RebuildIndex.h"
#include "core/catalog/RepairCatalog.h"
#include "core/catalog/SaveCatalogAs.h"
#include "platform/Shell.h"

namespace kest::cli {
namespace {

CommandRun SetupCompact(CLI::App& app, CliContext& context) {
    app.add_subcommand("compact", "Compact and repair the catalog, then open it again");
    return [&context] {
        CliSession session(context);
        if (!session.OpenCatalog()) return 1;
        StopSignals stopSignals;  // Ctrl-C cancels a salvage
        CompactResult result = CompactCommand(session.current, session, context.prompter);
        std::cout << "Size before compact/repair:\t" << result.sizeBefore << "\n"
                  << "Size after compact/repair:\t" << result.sizeAfter << "\n";
        return result.errorShown ? 1 : 0;
    };
}

CommandRun SetupRepair(CLI::App& app, CliContext& context) {
    auto path = std::make_shared<std::string>();
    app.add_subcommand("repair", "Repair the catalog file at PATH (any catalog, open or not)")
        ->add_option("PATH", *path)
        ->required();
    return [&context, path] {
        CliSession session(context);
        context.prompter.files.push_back(AbsolutePath(*path));
        StopSignals stopSignals;  // Ctrl-C cancels a salvage
        return RepairCommand(session.current, session, context.prompter) ? 0 : 1;
    };
}

CommandRun SetupReindex(CLI::App& app, CliContext& context) {
    app.add_subcommand("reindex",
                       "Rebuild the catalog's search index from its rows (Ctrl-C stops it)");
    return [&context] {
        CliSession session(context);
        if (!session.OpenCatalog()) return 1;
        StopSignals stop;
        return RebuildIndexCommand(
                   session.current, context.prompter,
                   [&session](int64_t done, int64_t total) {
                       session.ShowIndexProgress(done, total);
                   },
                   [] { return StopSignals::Received(); })
                   ? 0
                   : 1;
    };
}

CommandRun SetupSaveAs(CLI::App& app, CliContext& context) {
    auto path = std::make_shared<std::string>();
    app.add_subcommand("save-as",
                       "Copy the catalog to NEWPATH and make the copy the start-up catalog")
        ->add_option("NEWPATH", *path)
        ->required();
    return [&context, path] {
        CliSession session(context);
        if (!session.OpenCatalog()) return 1;
        std::string target = AbsolutePath(*path);
        context.prompter.files.push_back(target);
        SaveCatalogAs(session.current, session, context.prompter);
        return session.current.HasDatabase() && session.current.path == target ? 0 : 1;
    };
}

CommandRun SetupClose(CLI::App& app, CliContext& context) {
    app.add_subcommand("close", "Close the catalog, so that no start-up catalog is named");
    return [&context] {
        CliSession session(context);
        if (!session.OpenCatalog()) return 1;
        CloseCatalog(session.current, session, context.prompter);
        return 0;
    };
}

CommandRun SetupProperties(CLI::App& app, CliContext& context) {
    app.add_subcommand("properties",
                       "Print the catalog's properties report (and write Kest.log on Yes)");
    return [&context] {
        CliSession session(context);
        if (!session.OpenCatalog()) return 1;
        auto shell = platform::MakeDesktopShell();
        auto report = PropertiesCommand(session.current, session, context.prompter,
                                        session.paths.ReportPath().string(), *shell);
        if (!report) return 1;
        EchoLines(std::cout, *report);
        return 0;
    };
}

const CommandRegistrar kCompact("compact", &SetupCompact);
const CommandRegistrar kRepair("repair", &SetupRepair);
const CommandRegistrar kReindex("reindex", &SetupReindex);
const CommandRegistrar kSaveAs("save-as", &SetupSaveAs);
const CommandRegistrar kClose("close", &SetupClose);
const CommandRegistrar kProperties("properties", &SetupProperties);

}  // namespace
}  // namespace kest::cli
