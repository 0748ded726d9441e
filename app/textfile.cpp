#include "app/textfile.h"

#include "app/tavikerror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace TextFile {
namespace {

QString displayName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

QString decode(const QByteArray& bytes) {
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(data);
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype pos = 0;
    do {
        qsizetype end = text.indexOf(u'\n', pos);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        else if (end > pos && text.at(end - 1) == u'\r')
            --end;
        lines.append(text.sliced(pos, end - pos));
        pos = next;
    } while (pos < text.size());
    return lines;
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TavikError(u"Cannot open "_s + displayName(path) + u": "_s + file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TavikError(u"Cannot read "_s + displayName(path) + u": "_s + file.errorString());
    file.close();
    return splitLines(decode(bytes));
}

void writeLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TavikError(u"Cannot create "_s + displayName(path) + u": "_s + file.errorString());
    // QSaveFile::commit() can report success after a failed final flush, so flush first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw TavikError(u"Cannot write "_s + displayName(path) + u": "_s + reason);
    }
    if (!file.commit())
        throw TavikError(u"Cannot write "_s + displayName(path) + u": "_s + file.errorString());
}

} // namespace TextFile
