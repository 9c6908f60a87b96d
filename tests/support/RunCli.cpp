#include "support/RunCli.h"

#include <sys/wait.h>

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

CliResult RunCli(const std::string& args, const std::string& env, const std::string& program) {
    TempDir dir;
    std::string outPath = dir.File("out"), errPath = dir.File("err");
    std::string command = "env " + env + " " + ShellQuote(program) + " " + args + " </dev/null >" +
                          outPath + " 2>" + errPath;
    CliResult result;
    int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    auto slurp = [](const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

}  // namespace kest::test
