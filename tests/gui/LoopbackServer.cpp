#include "LoopbackServer.h"

#include <QTcpSocket>

namespace kest::test {

LoopbackServer::LoopbackServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Reply(socket); });
        }
    });
}

std::string LoopbackServer::Base() const {
    return "http://127.0.0.1:" + std::to_string(m_server.serverPort());
}

void LoopbackServer::Reply(QTcpSocket* socket) {
    QByteArray request = socket->peek(64 * 1024);
    if (!request.contains("\r\n\r\n")) return;
    socket->readAll();
    QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
    std::string path = first.size() > 1 ? first[1].toStdString() : "";
    auto it = m_answers.find(path);
    Answer answer = it != m_answers.end() ? it->second : Answer{404, "Not Found"};
    if (answer.silent) return;
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " Status\r\n";
    if (!answer.location.empty())
        reply += "Location: " + QByteArray::fromStdString(answer.location) + "\r\n";
    reply += "Content-Length: " + QByteArray::number(qsizetype(answer.body.size())) +
             "\r\nConnection: close\r\n\r\n" + QByteArray::fromStdString(answer.body);
    socket->write(reply);
    socket->disconnectFromHost();
}

}  // namespace kest::test
