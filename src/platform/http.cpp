// SPDX-License-Identifier: MIT
#include "http.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

bool unreachable(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return true;
    default:
        return false;
    }
}

// What went wrong, in words; the error's number says nothing to the user.
QString transferFault(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::TooManyRedirectsError:
        return u"server přesměrovává stále dokola"_s;
    case QNetworkReply::InsecureRedirectError:
        return u"server přesměroval na jiný server"_s;
    case QNetworkReply::ProtocolFailure:
    case QNetworkReply::UnknownContentError:
    case QNetworkReply::ProtocolUnknownError:
        return u"odpověď serveru nedává smysl"_s;
    case QNetworkReply::OperationCanceledError:
        return u"přenos byl přerušen"_s;
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::AuthenticationRequiredError:
        return u"server odepřel přístup"_s;
    case QNetworkReply::ContentNotFoundError:
        return u"soubor na serveru není"_s;
    case QNetworkReply::InternalServerError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return u"server má potíže, zkuste to později"_s;
    default:
        return u"přenos dat se nezdařil"_s;
    }
}

// Why a transfer stopped early, if it did.
enum class Stop { None, Idle, Deadline, TooLarge, Cancelled };

FetchResult resultOf(QNetworkReply& reply, Stop stop, const HttpLimits& limits)
{
    FetchResult result;
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (stop) {
    case Stop::Idle:
        result.status = FetchResult::Status::Unreachable;
        break;
    case Stop::Deadline:
        result.reason = u"přenos trval déle než %1 s"_s.arg(limits.deadlineMs / 1000);
        break;
    case Stop::TooLarge:
        result.reason = u"odpověď serveru je větší než %1 KiB"_s.arg(limits.maxBytes / 1024);
        break;
    case Stop::Cancelled:
        result.status = FetchResult::Status::Cancelled;
        break;
    case Stop::None:
        if (status >= 400)
            result.reason = u"HTTP %1"_s.arg(status);
        else if (unreachable(reply.error()))
            result.status = FetchResult::Status::Unreachable;
        else if (reply.error() == QNetworkReply::RemoteHostClosedError)
            result.reason = u"server předčasně ukončil spojení"_s;
        else if (reply.error() != QNetworkReply::NoError)
            result.reason = transferFault(reply.error());
        else if (status < 200 || status >= 300)
            result.reason = u"HTTP %1"_s.arg(status); // a redirect that was not followed, or no answer at all
        else {
            result.status = FetchResult::Status::Ok;
            result.body = reply.readAll();
        }
        break;
    }
    return result;
}

} // namespace

void httpGet(const QUrl& url, const HttpLimits& limits, std::function<bool()> cancelled,
             std::function<void(const FetchResult&)> done)
{
    static QNetworkAccessManager* manager = new QNetworkAccessManager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    QNetworkReply* reply = manager->get(request);
    // The timers live with the reply and go with it.
    auto* idle = new QTimer(reply);
    auto* deadline = new QTimer(reply);
    auto* poll = new QTimer(reply);
    idle->setSingleShot(true);
    deadline->setSingleShot(true);
    auto stop = std::make_shared<Stop>(Stop::None);
    const auto abort = [reply, stop](Stop why) {
        if (*stop == Stop::None)
            *stop = why;
        reply->abort();
    };
    QObject::connect(idle, &QTimer::timeout, reply, [abort] { abort(Stop::Idle); });
    QObject::connect(deadline, &QTimer::timeout, reply, [abort] { abort(Stop::Deadline); });
    QObject::connect(poll, &QTimer::timeout, reply, [abort, cancelled] {
        if (cancelled && cancelled())
            abort(Stop::Cancelled);
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [abort, idle, limits](qint64 received, qint64 total) {
                         idle->start(limits.idleMs);
                         if (received > limits.maxBytes || total > limits.maxBytes)
                             abort(Stop::TooLarge);
                     });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, stop, limits, done] {
        reply->deleteLater();
        done(resultOf(*reply, *stop, limits));
    });
    idle->start(limits.idleMs);
    deadline->start(limits.deadlineMs);
    poll->start(50);
}
