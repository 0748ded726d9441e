// A real SMTP server on 127.0.0.1 (aiosmtpd) run by a test, with the messages it accepted.
#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

class SmtpSink {
public:
    enum class Mode { Accept, RejectRecipient, Stall };

    // Listens on a free port, or on the given one (to bring a relay back where it was).
    explicit SmtpSink(Mode mode = Mode::Accept, quint16 port = 0);
    ~SmtpSink();

    quint16 port() const { return port_; }
    bool isReady() const { return port_ != 0; }
    void stop();

    // The messages accepted so far, in order: helo, from, to, raw, subject, body, headers.
    QList<QJsonObject> messages() const;

private:
    QTemporaryDir outdir_;
    QProcess process_;
    quint16 port_ = 0;
};

// A port on 127.0.0.1 where nothing listens.
quint16 closedPort();
