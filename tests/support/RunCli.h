#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kest::test {

class TempDir;

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

// kest-cli started in the background, for tests that stop it from outside.
class CliProcess {
  public:
    explicit CliProcess(const std::string& args);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    void Signal(int signal) const;
    // Stops it (SIGSTOP) and returns once it has stopped.
    void Pause() const;
    // Waits for the end; the status is -1 when a signal ended it.
    CliResult Wait();

  private:
    std::unique_ptr<TempDir> m_dir;
    int m_pid = -1;
};

// Quotes one argument for the shell.
std::string ShellQuote(const std::string& arg);

}  // namespace kest::test
