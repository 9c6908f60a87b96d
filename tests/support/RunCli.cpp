#include "support/RunCli.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"

namespace kest::test {

std::string ShellQuote(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

std::vector<std::string> CliResult::OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

CliProcess::CliProcess(const std::string& args) : m_dir(std::make_unique<TempDir>()) {
    std::string command = "exec " + ShellQuote(KEST_CLI_PATH) + " " + args + " </dev/null >" +
                          m_dir->File("out") + " 2>" + m_dir->File("err");
    m_pid = fork();
    if (m_pid == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

CliProcess::~CliProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

void CliProcess::Signal(int signal) const {
    kill(m_pid, signal);
}

void CliProcess::Pause() const {
    kill(m_pid, SIGSTOP);
    int raw = 0;
    waitpid(m_pid, &raw, WUNTRACED);
}

CliResult CliProcess::Wait() {
    int raw = 0;
    waitpid(m_pid, &raw, 0);
    m_pid = -1;
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = Slurp(m_dir->File("out"));
    result.err = Slurp(m_dir->File("err"));
    return result;
}

CliResult RunCli(const std::string& args, const std::string& env, const std::string& program) {
    TempDir dir;
    std::string outPath = dir.File("out"), errPath = dir.File("err");
    std::string command = "env " + env + " " + ShellQuote(program) + " " + args + " </dev/null >" +
                          outPath + " 2>" + errPath;
    CliResult result;
    int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

}  // namespace kest::test
