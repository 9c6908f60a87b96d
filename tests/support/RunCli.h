#pragma once

#include <string>

namespace kest::test {

struct CliResult {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs kest-cli with the arguments (each one quoted for the shell), with
// standard input not a terminal.
CliResult RunCli(const std::string& args);

// Quotes one argument for the shell.
std::string ShellQuote(const std::string& arg);

}  // namespace kest::test
