// A small HTTP/1.1 server on 127.0.0.1 for tests: canned answers per path, or silence.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QUrl>

struct HttpAnswer {
    int status = 200;
    QByteArray reason = "OK";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    // Accept the request and never answer.
    bool stall = false;
};

class HttpServer : public QObject {
    Q_OBJECT
public:
    HttpServer();

    quint16 port() const { return server_.serverPort(); }
    QUrl url(const QString& path) const;

    void setAnswer(const QString& path, const HttpAnswer& answer) { answers_[path] = answer; }
    // A page with the given presence line, in HTML around it as a chat site has it.
    void setPresence(const QString& path, const QByteArray& line);

    // Paths requested so far, in order.
    const QList<QByteArray>& requests() const { return requests_; }

private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    QHash<QString, HttpAnswer> answers_;
    QList<QByteArray> requests_;
};

QByteArray chatPage(const QByteArray& presenceLine);
