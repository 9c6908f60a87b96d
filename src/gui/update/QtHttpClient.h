#pragma once

#include <QNetworkAccessManager>
#include <chrono>

#include "core/update/HttpClient.h"

namespace kest::gui {

// GETs over Qt Network: redirects followed (a loop ends as an error), HTTPS
// where the address says so, and a time limit on a server that stops
// answering. While it waits the windows keep handling their events.
class QtHttpClient : public update::HttpClient {
  public:
    static constexpr std::chrono::milliseconds kTimeLimit{15000};
    // Answers larger than this are refused rather than held in memory.
    static constexpr qint64 kLargestAnswer = 8 * 1024 * 1024;

    explicit QtHttpClient(std::chrono::milliseconds timeLimit = kTimeLimit)
        : m_timeLimit(timeLimit) {}

    std::optional<std::string> Get(const std::string& address) override;

  private:
    QNetworkAccessManager m_network;
    std::chrono::milliseconds m_timeLimit;
};

}  // namespace kest::gui
