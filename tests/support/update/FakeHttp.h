#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/update/HttpClient.h"

namespace kest::test {

// Answers GETs from a table of address -> body; an address not in the table
// fails as an unreachable server does. Remembers every address asked for.
class FakeHttp : public update::HttpClient {
  public:
    std::optional<std::string> Get(const std::string& address) override {
        asked.push_back(address);
        auto it = bodies.find(address);
        if (it == bodies.end()) return std::nullopt;
        return it->second;
    }

    std::map<std::string, std::string> bodies;
    std::vector<std::string> asked;
};

}  // namespace kest::test
