#include "gui/update/QtHttpClient.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace kest::gui {

std::optional<std::string> QtHttpClient::Get(const std::string& address) {
    QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return std::nullopt;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    request.setTransferTimeout(int(m_timeLimit.count()));
    std::unique_ptr<QNetworkReply> reply(m_network.get(request));

    QEventLoop wait;
    QObject::connect(reply.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(),
                     [&reply](qint64 received, qint64) {
                         if (received > kLargestAnswer) reply->abort();
                     });
    // The transfer limit counts from the last byte; this one bounds the whole
    // exchange, so a server that trickles bytes cannot hold the window.
    QTimer whole;
    whole.setSingleShot(true);
    QObject::connect(&whole, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
    whole.start(m_timeLimit * 2);
    if (!reply->isFinished()) wait.exec();

    if (reply->error() != QNetworkReply::NoError) return std::nullopt;
    QByteArray body = reply->readAll();
    if (body.size() > kLargestAnswer) return std::nullopt;
    return body.toStdString();
}

}  // namespace kest::gui
