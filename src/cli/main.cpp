// kest-cli: the command-line front end over the Kest core.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <map>

#include "cli/CliContext.h"
#include "core/common/KestError.h"
#include "core/common/PendingFiles.h"
#include "core/update/BuildInfo.h"
#include "core/update/UpdateFiles.h"

namespace kest::cli {

std::vector<RegisteredCommand>& RegisteredCommands() {
    static std::vector<RegisteredCommand> commands;
    return commands;
}

CommandRegistrar::CommandRegistrar(const char* name, CommandSetup setup) {
    RegisteredCommands().push_back({name, std::move(setup)});
}

namespace {

// The commands whose options are built: those a word of the command line
// names, or every one when none is (the usage lists them all). CLI11 tells a
// subcommand by its name alone, so one not named cannot change how it reads
// the line; building them all was a tenth of a short command's time.
std::vector<const RegisteredCommand*> NamedCommands(int argc, char** argv) {
    std::vector<const RegisteredCommand*> named, all;
    for (const auto& command : RegisteredCommands()) {
        all.push_back(&command);
        if (std::any_of(argv + 1, argv + argc,
                        [&](const char* word) { return std::strcmp(word, command.name) == 0; }))
            named.push_back(&command);
    }
    return named.empty() ? all : named;
}

}  // namespace
}  // namespace kest::cli

int main(int argc, char** argv) {
    using namespace kest::cli;
    // Ctrl-C or a kill while a list or catalog is being written leaves no half-written file.
    kest::RemovePendingFilesWhenKilled();
    CLI::App app{"Kest - a catalog of removable media", "kest-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    app.set_version_flag("--version",
                         "kest-cli " + kest::update::ReleaseText(kest::update::ProgramRelease()));

    CliContext context;
    std::vector<std::string> answers;
    // A script whose variable is unset must not fall back to the user's own
    // settings folder.
    app.add_option("--home", context.home, "Program folder (settings, logs, default catalog)")
        ->check(CLI::Validator(
            [](const std::string& folder) {
                return folder.empty() ? std::string("the folder name is empty") : std::string();
            },
            "FOLDER"));
    app.add_option("--catalog", context.catalog,
                   "Catalog to work on (default: the start-up catalog)");
    // One value each, repeated for more, so that a command's own arguments
    // may follow them.
    app.add_option("--answer", answers,
                   "Answer for the next message box (Yes, No, Cancel, OK, ...)")
        ->allow_extra_args(false);
    app.add_option("--input", context.prompter.inputs, "Text for the next input box")
        ->allow_extra_args(false);
    app.add_option("--password", context.prompter.passwords, "Text for the next password prompt")
        ->allow_extra_args(false);

    std::map<CLI::App*, CommandRun> runs;
    for (const RegisteredCommand* command : NamedCommands(argc, argv)) {
        size_t before = app.get_subcommands({}).size();
        CommandRun run = command->setup(app, context);
        auto subs = app.get_subcommands({});
        if (subs.size() > before) runs[subs.back()] = std::move(run);
    }

    try {
        app.parse(argc, argv);
        for (const auto& a : answers) {
            auto parsed = kest::ParseAnswer(a);
            if (!parsed) throw CLI::ValidationError("--answer", "unknown answer: " + a);
            context.prompter.answers.push_back(*parsed);
        }
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }

    for (CLI::App* sub : app.get_subcommands()) {
        auto it = runs.find(sub);
        if (it == runs.end()) continue;
        try {
            int status = it->second();
            return status == 0 && context.settingsUnsaved ? 1 : status;
        } catch (const kest::KestError& e) {
            std::cout << "error " << e.Number() << ": " << e.Description() << std::endl;
            return 1;
        } catch (const std::exception& e) {
            std::cerr << "kest-cli: " << e.what() << std::endl;
            return 1;
        }
    }
    return 0;
}
