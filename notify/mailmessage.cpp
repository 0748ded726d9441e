#include "notify/mailmessage.h"

#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

bool isPlainAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// Any header line must stay under 998 characters [RFC 5322 2.1.1].
constexpr qsizetype MaxPlainHeaderText = 900;

} // namespace

void parseRelay(const QString& relay, MailSettings& settings) {
    const qsizetype colon = relay.lastIndexOf(u':');
    bool ok = false;
    const int port = colon > 0 ? relay.sliced(colon + 1).toInt(&ok) : 0;
    if (ok && port > 0 && port < 65536) {
        settings.relayHost = relay.first(colon);
        settings.relayPort = port;
    } else {
        settings.relayHost = relay;
        settings.relayPort = 25;
    }
}

QString withoutControls(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control)
            c = u' ';
    return out;
}

QByteArray headerText(const QString& text) {
    const QString clean = withoutControls(text);
    if (isPlainAscii(clean) && clean.size() <= MaxPlainHeaderText)
        return clean.toLatin1();

    // An encoded-word is at most 75 characters [RFC 2047 2]; 45 bytes of UTF-8 stay well
    // inside that, and no character is split between two words.
    QByteArray out;
    QByteArray chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < clean.size(); ++i) {
        qsizetype length = clean.at(i).isHighSurrogate() && i + 1 < clean.size() ? 2 : 1;
        const QByteArray bytes = clean.sliced(i, length).toUtf8();
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
        i += length - 1;
    }
    flush();
    return out;
}

MailMessage arrivalNotice(const MailSettings& settings, const QString& userName,
                          const QString& friendName, const QString& stamp, const QDateTime& now) {
    MailMessage message;
    message.from =
        withoutControls(settings.senderPrefix + userName + u'@' + settings.domain).toUtf8();
    message.to = withoutControls(settings.recipient).toUtf8();

    const QString body = withoutControls(friendName) + u"   "_s + stamp;
    const bool ascii = isPlainAscii(body);
    QByteArray& data = message.data;
    data += "Date: " + now.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    data += "From: <" + message.from + ">\r\n";
    data += "To: <" + message.to + ">\r\n";
    data += "Subject: " + headerText(friendName + u" in chat now!"_s) + "\r\n";
    data += "Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' +
            withoutControls(settings.domain).toUtf8() + ">\r\n";
    data += "MIME-Version: 1.0\r\n";
    if (ascii) {
        data += "Content-Type: text/plain; charset=us-ascii\r\n";
        data += "Content-Transfer-Encoding: 7bit\r\n\r\n";
        data += body.toLatin1() + "\r\n";
    } else {
        // US-ASCII cannot carry the name; base64 passes any relay, 8BITMIME or not.
        data += "Content-Type: text/plain; charset=utf-8\r\n";
        data += "Content-Transfer-Encoding: base64\r\n\r\n";
        const QByteArray encoded = (body + u"\r\n"_s).toUtf8().toBase64();
        for (qsizetype i = 0; i < encoded.size(); i += 76)
            data += encoded.mid(i, 76) + "\r\n";
    }
    return message;
}
