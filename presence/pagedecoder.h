// Turns the bytes of a fetched page into text.
#pragma once

#include <QByteArray>
#include <QString>

// Uses the charset of the Content-Type header, else a charset named in the page's head, else
// UTF-8 when the bytes are valid UTF-8, else Latin-1. An unknown charset name falls through.
QString decodePage(const QByteArray& body, const QByteArray& contentType);

// The charset parameter of a Content-Type value or of a meta tag; empty when none.
QByteArray charsetOf(QByteArrayView text);
