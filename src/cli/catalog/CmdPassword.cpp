// kest-cli password set|change|remove: the rules of the password window on
// the catalog opened with --password.
#include <CLI/CLI.hpp>

#include <memory>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "core/catalog/PasswordForm.h"

namespace kest::cli {
namespace {

constexpr const char* kLockNote =
    "Set, change or remove the catalog password. The password is an access lock that is "
    "checked when the catalog is opened; it does not encrypt the file, whose contents stay "
    "readable to anyone who can read the file itself.";

struct PasswordArguments {
    std::string old, fresh, retype;
    CLI::App* set = nullptr;
    CLI::App* change = nullptr;
    CLI::App* remove = nullptr;
};

int RunPassword(CliContext& context, const PasswordArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    CurrentCatalog& current = session.current;
    if (args.remove->parsed()) {
        RemovePassword(current, context.prompter);
        return current.password.empty() ? 0 : 1;
    }
    PasswordForm form(current, context.prompter,
                      args.change->parsed() ? PasswordMode::Change : PasswordMode::Set);
    form.oldText = args.old;
    form.newText = args.fresh;
    form.retypeText = args.retype;
    return form.Ok() && current.password == args.fresh ? 0 : 1;
}

CommandRun SetupPassword(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<PasswordArguments>();
    CLI::App* password = app.add_subcommand("password", kLockNote);
    password->require_subcommand(1);
    args->set = password->add_subcommand("set", "Protect an unprotected catalog");
    args->set->add_option("NEW", args->fresh)->required();
    args->set->add_option("RETYPE", args->retype)->required();
    args->change = password->add_subcommand("change", "Change the catalog's password");
    args->change->add_option("OLD", args->old)->required();
    args->change->add_option("NEW", args->fresh)->required();
    args->change->add_option("RETYPE", args->retype)->required();
    args->remove = password->add_subcommand("remove", "Remove the protection at once");
    return [&context, args] { return RunPassword(context, *args); };
}

const CommandRegistrar kPassword("password", &SetupPassword);

}  // namespace
}  // namespace kest::cli
