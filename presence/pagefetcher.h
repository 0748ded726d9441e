// Fetches the chat page over HTTP(S) without blocking the window's event loop.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

class PageFetcher : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 MaxPageBytes = 8 * 1024 * 1024;

    explicit PageFetcher(QObject* parent = nullptr);

    // True while a request is outstanding.
    bool busy() const { return !reply_.isNull(); }

    // Starts a GET; exactly one of pageOk or failed follows. Returns false, doing nothing,
    // while a request is outstanding.
    bool get(const QUrl& url);

    // How long the server may stay silent before the request fails.
    void setStallTimeout(std::chrono::milliseconds timeout) { stallTimeout_ = timeout; }

Q_SIGNALS:
    void pageOk(const QString& page);
    void failed(const QString& message);

private:
    void finish();
    void abortWith(const QString& message);

    QNetworkAccessManager* manager_;
    QPointer<QNetworkReply> reply_;
    QTimer stallTimer_;
    std::chrono::milliseconds stallTimeout_{std::chrono::seconds(30)};
    QString abortMessage_;
};
