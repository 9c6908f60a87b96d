#pragma once

#include <QTcpServer>
#include <chrono>
#include <map>
#include <string>

namespace kest::test {

// The tests' limit for one exchange with the server: an exchange takes
// milliseconds, but under ThreadSanitizer on a busy machine it has taken
// over 800; a server that never answers is waited for this long.
inline constexpr std::chrono::milliseconds kHttpTimeLimit{3000};

// A small HTTP server on 127.0.0.1 and a free port, in the test's own thread
// (the client's wait runs its event loop). Paths not in the table answer 404.
class LoopbackServer : public QObject {
  public:
    struct Answer {
        Answer(int code = 200, std::string text = {}, std::string redirect = {}, bool quiet = false)
            : status(code), body(std::move(text)), location(std::move(redirect)), silent(quiet) {}
        int status;
        std::string body;
        std::string location;  // for a redirect
        bool silent;           // accept the request and never answer
    };

    LoopbackServer();
    // "http://127.0.0.1:<port>".
    std::string Base() const;
    void Serve(const std::string& path, Answer answer) { m_answers[path] = std::move(answer); }
    void Serve(const std::string& path, const std::string& body) { m_answers[path] = {200, body}; }
    void Clear() { m_answers.clear(); }

  private:
    void Reply(QTcpSocket* socket);

    QTcpServer m_server;
    std::map<std::string, Answer> m_answers;
};

}  // namespace kest::test
