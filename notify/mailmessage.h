// The arrival notice as an Internet message, with every header made safe to send.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct MailSettings {
    QString relayHost;
    int relayPort = 25;
    QString senderPrefix;
    QString domain;
    QString recipient;
};

// Parses "host" or "host:port"; the port defaults to 25.
void parseRelay(const QString& relay, MailSettings& settings);

struct MailMessage {
    QByteArray from;
    QByteArray to;
    // Headers, a blank line and the body, lines ending in CR LF.
    QByteArray data;
};

// Control characters, CR and LF included, become spaces so they cannot start a header.
QString withoutControls(const QString& text);

// The text as it may stand in a header: plain when it is printable US-ASCII, otherwise UTF-8
// encoded-words (RFC 2047) folded onto continuation lines.
QByteArray headerText(const QString& text);

MailMessage arrivalNotice(const MailSettings& settings, const QString& userName,
                          const QString& friendName, const QString& stamp, const QDateTime& now);
