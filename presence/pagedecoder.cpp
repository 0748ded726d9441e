#include "presence/pagedecoder.h"

#include <QStringDecoder>

namespace {

bool isCharsetChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

bool tryDecode(QByteArrayView body, QByteArrayView charset, QString& text) {
    if (charset.isEmpty())
        return false;
    QStringDecoder decoder(charset.toByteArray().constData());
    if (!decoder.isValid())
        return false;
    text = decoder(body);
    return true;
}

} // namespace

QByteArray charsetOf(QByteArrayView text) {
    const QByteArray lower = text.toByteArray().toLower();
    qsizetype at = lower.indexOf("charset");
    if (at < 0)
        return {};
    at += 7;
    while (at < lower.size() && (lower[at] == ' ' || lower[at] == '='))
        ++at;
    if (at < lower.size() && (lower[at] == '"' || lower[at] == '\''))
        ++at;
    qsizetype end = at;
    while (end < lower.size() && isCharsetChar(lower[end]))
        ++end;
    return lower.sliced(at, end - at);
}

QString decodePage(const QByteArray& body, const QByteArray& contentType) {
    QString text;
    if (tryDecode(body, charsetOf(contentType), text))
        return text;
    // A meta charset stands in the head, near the top of the page.
    if (tryDecode(body,
                  charsetOf(QByteArrayView(body).first(std::min<qsizetype>(body.size(), 2048))),
                  text))
        return text;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    text = utf8(body);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(body);
}
