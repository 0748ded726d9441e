#include "smtpsink.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTest>

SmtpSink::SmtpSink(Mode mode, quint16 port) {
    const char* modeName = mode == Mode::Accept            ? "accept"
                           : mode == Mode::RejectRecipient ? "reject-rcpt"
                                                           : "stall";
    // Debian's interpreter, which has python3-aiosmtpd, whatever python3 comes first on PATH.
    process_.setProgram(QStringLiteral("/usr/bin/python3"));
    process_.setArguments({QStringLiteral(TAVIK_SMTP_SINK_SCRIPT), QStringLiteral("--outdir"),
                           outdir_.path(), QStringLiteral("--mode"), QString::fromLatin1(modeName),
                           QStringLiteral("--port"), QString::number(port)});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10000))
        return;
    QByteArray said;
    while (!said.contains('\n') && process_.waitForReadyRead(15000))
        said += process_.readAllStandardOutput();
    if (said.startsWith("READY "))
        port_ = static_cast<quint16>(said.mid(6).trimmed().toUInt());
}

SmtpSink::~SmtpSink() {
    stop();
}

void SmtpSink::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(5000);
}

QList<QJsonObject> SmtpSink::messages() const {
    QList<QJsonObject> result;
    const QDir dir(outdir_.path());
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            result.append(QJsonDocument::fromJson(file.readAll()).object());
    }
    return result;
}

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
