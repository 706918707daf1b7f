// SPDX-License-Identifier: MIT
#include "http.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

FetchResult httpGet(const QUrl& url, int timeoutMs)
{
    static QNetworkAccessManager* manager = new QNetworkAccessManager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = manager->get(request);
    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    bool timedOut = false, tooLarge = false;
    QObject::connect(&idle, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        idle.start(timeoutMs);
        if (received > kMaxResponseBytes || total > kMaxResponseBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    idle.start(timeoutMs);
    loop.exec();

    FetchResult result;
    if (timedOut) {
        result.error = kTimeoutError;
        result.description = u"vypršel časový limit"_qs;
    } else if (tooLarge) {
        result.error = QNetworkReply::UnknownContentError;
        result.description = u"odpověď serveru je větší než 1 MiB"_qs;
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = reply->error();
        result.description = reply->errorString();
    } else {
        result.ok = true;
        result.body = reply->readAll();
    }
    reply->deleteLater();
    return result;
}
