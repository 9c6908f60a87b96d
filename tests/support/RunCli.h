#pragma once

#include <string>
#include <vector>

namespace kest::test {

struct CliResult {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
    std::vector<std::string> OutLines() const;
};

// Runs kest-cli (or program) with the arguments (quoted for the shell
// already) and standard input not a terminal; env holds "NAME=value" words
// for env(1), e.g. "-u HOME XDG_DATA_HOME=/tmp/x".
CliResult RunCli(const std::string& args, const std::string& env = "",
                 const std::string& program = KEST_CLI_PATH);

// Quotes one argument for the shell.
std::string ShellQuote(const std::string& arg);

}  // namespace kest::test
