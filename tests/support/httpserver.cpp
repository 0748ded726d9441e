#include "httpserver.h"

#include <QTcpSocket>
#include <QTest>

HttpServer::HttpServer() {
    QVERIFY(server_.listen(QHostAddress::LocalHost));
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl HttpServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path));
}

void HttpServer::setPresence(const QString& path, const QByteArray& line) {
    HttpAnswer answer;
    answer.body = chatPage(line);
    answer.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    setAnswer(path, answer);
}

void HttpServer::serve(QTcpSocket* socket) {
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;
    socket->setProperty("request", QByteArray());
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray path = words.value(1);
    requests_.append(path);

    const auto found = answers_.constFind(QString::fromLatin1(path));
    HttpAnswer answer;
    if (found == answers_.constEnd()) {
        answer.status = 404;
        answer.reason = "Not Found";
        answer.body = "no such page";
    } else {
        answer = *found;
    }
    if (answer.stall)
        return;

    QByteArray response =
        "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + answer.reason + "\r\n";
    for (const auto& [name, value] : std::as_const(answer.headers))
        response += name + ": " + value + "\r\n";
    response += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    response += "Connection: close\r\n\r\n";
    response += answer.body;
    socket->write(response);
    socket->disconnectFromHost();
}

QByteArray chatPage(const QByteArray& presenceLine) {
    return "<html><head><title>Chat</title></head><body>\n"
           "<table><tr><td><font face=\"Verdana\" size=\"1\">" +
           presenceLine +
           "</font></td></tr></table>\n"
           "<p>Welcome to the chat. Be nice.</p></body></html>\n";
}
