// Reading and atomically writing the program's small line-based text files.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TextFile {

// Decodes file bytes: UTF-8 (a leading BOM is skipped), or Latin-1 when the bytes are not valid
// UTF-8, so files written by older 8-bit versions keep their names.
QString decode(const QByteArray& bytes);

// Splits at CR LF or a lone LF. There is always at least one line, even for an empty text, and a
// final line end adds no empty line.
QStringList splitLines(const QString& text);

// Reads and splits the file at path; throws TavikError naming the file and the reason.
QStringList readLines(const QString& path);

// Writes every line followed by CR LF, in UTF-8. The file is replaced only when the whole text
// was written, so a failure leaves the previous file whole. Throws TavikError on failure.
void writeLines(const QString& path, const QStringList& lines);

} // namespace TextFile
