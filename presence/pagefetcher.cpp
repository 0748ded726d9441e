#include "presence/pagefetcher.h"

#include "presence/pagedecoder.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

using namespace Qt::StringLiterals;

PageFetcher::PageFetcher(QObject* parent)
    : QObject(parent)
    , manager_(new QNetworkAccessManager(this)) {
    manager_->setProxy(QNetworkProxy::NoProxy);
    manager_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    stallTimer_.setSingleShot(true);
    connect(&stallTimer_, &QTimer::timeout, this, [this] {
        abortWith(u"The chat page did not answer within %1 s"_s.arg(
            std::chrono::ceil<std::chrono::seconds>(stallTimeout_).count()));
    });
}

bool PageFetcher::get(const QUrl& url) {
    if (busy())
        return false;
    abortMessage_.clear();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    reply_ = manager_->get(request);
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        stallTimer_.start(stallTimeout_);
        if (received > MaxPageBytes || total > MaxPageBytes)
            abortWith(u"The chat page is larger than 8 MiB"_s);
    });
    connect(reply_, &QNetworkReply::finished, this, &PageFetcher::finish);
    stallTimer_.start(stallTimeout_);
    return true;
}

void PageFetcher::abortWith(const QString& message) {
    if (!reply_ || !abortMessage_.isEmpty())
        return;
    abortMessage_ = message;
    reply_->abort();
}

void PageFetcher::finish() {
    stallTimer_.stop();
    QNetworkReply* reply = reply_.data();
    reply_.clear();
    if (!reply)
        return;
    reply->deleteLater();

    if (!abortMessage_.isEmpty()) {
        Q_EMIT failed(abortMessage_);
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString reason =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        Q_EMIT failed(QString(u"The chat page answered %1 "_s.arg(status) + reason).trimmed());
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        Q_EMIT failed(u"Cannot fetch the chat page: "_s + reply->errorString());
        return;
    }
    const QByteArray body = reply->readAll();
    Q_EMIT pageOk(
        decodePage(body, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()));
}
