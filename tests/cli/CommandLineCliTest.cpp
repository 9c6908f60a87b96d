// kest-cli builds the options of the commands its command line names only;
// the usage, each command's help and the parse errors stay as they were.
#include <gmock/gmock.h>

#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/search/SearchFixture.h"

namespace kest::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// The command names the usage lists under "Subcommands:".
std::vector<std::string> ListedCommands(const CliResult& usage) {
    std::vector<std::string> names;
    bool listing = false;
    for (const auto& line : usage.OutLines()) {
        if (line == "Subcommands:") {
            listing = true;
        } else if (listing && line.size() > 2 && line[2] != ' ') {
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return names;
}

TEST(CommandLineCli, UsageListsEveryCommandAndEachHelpIsItsOwn) {
    CliResult usage = RunCli("--help");
    EXPECT_EQ(usage.status, 0) << usage.err;
    EXPECT_THAT(usage.out, StartsWith("Kest - a catalog of removable media\n"));
    std::vector<std::string> names = ListedCommands(usage);
    EXPECT_GE(names.size(), 20u) << usage.out;
    for (const auto& name : names) {
        CliResult help = RunCli(name + " --help");
        EXPECT_EQ(help.status, 0) << name << ": " << help.err;
        EXPECT_THAT(help.out, HasSubstr("Usage: kest-cli " + name + " ")) << name;
    }
}

TEST(CommandLineCli, ParseErrorsStayWhateverTheWordsNameCommands) {
    TempDir home;
    struct Case {
        std::string args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"", 106, "A subcommand is required\n"},
        {"search", 106, "TEXT is required\n"},
        {"serch x", 106, "A subcommand is required\n"},
        {"search x discs", 109, "The following argument was not expected: discs\n"},
        {"discs search", 109, "The following argument was not expected: search\n"},
        {"--answer Maybe search x", 105, "--answer: unknown answer: Maybe\n"},
        {"search x --bogus", 109, "The following argument was not expected: --bogus\n"},
        {"--home", 114, "--home: 1 required TEXT:FOLDER missing\n"},
    };
    for (const auto& c : cases) {
        CliResult r = RunCli("--home " + ShellQuote(home.Path().string()) + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.err, c.err + "Run with --help for more information.\n") << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
}

TEST(CommandLineCli, ACommandsNameAsAnotherCommandsValueIsThatValue) {
    TempDir home;
    MakeSearchCatalog(home).reset();
    // "discs" here is the search text, whatever the discs command is.
    CliResult r = RunCli("--home " + ShellQuote(home.Path().string()) + " search discs");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("Matches Found: 0\n"));
}

}  // namespace
}  // namespace kest::test
