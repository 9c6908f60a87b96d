#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "cli/CliPrompter.h"

namespace CLI {
class App;
}

namespace kest::cli {

// What the global options give every command.
struct CliContext {
    std::string home;     // --home DIR; empty = the usual program folder
    std::string catalog;  // --catalog PATH; empty = the start-up catalog
    CliPrompter prompter;
    // A settings save failed (and was reported): the exit status says so.
    bool settingsUnsaved = false;
};

// A command adds its subcommand to the app and gives back what runs it; the
// returned function gives the exit status.
using CommandRun = std::function<int()>;
using CommandSetup = std::function<CommandRun(CLI::App& app, CliContext& context)>;

// Commands register themselves from their own file with a static object
// naming the subcommand its setup adds:
//   static const CommandRegistrar kCreate("create", &SetupCreate);
struct CommandRegistrar {
    CommandRegistrar(const char* name, CommandSetup setup);
};

struct RegisteredCommand {
    const char* name;
    CommandSetup setup;
};
std::vector<RegisteredCommand>& RegisteredCommands();

}  // namespace kest::cli
