#pragma once

#include <optional>
#include <string>

namespace kest::update {

// One HTTP GET. The desktop implements it over the network (redirects
// followed, a time limit); tests answer from a table.
class HttpClient {
  public:
    virtual ~HttpClient() = default;
    // The body of a successful answer; nullopt on any error (no connection,
    // an HTTP error status, too many redirects, the time limit).
    virtual std::optional<std::string> Get(const std::string& address) = 0;
};

}  // namespace kest::update
