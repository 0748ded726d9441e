#include "app/chatlinkfile.h"

#include "app/tavikerror.h"
#include "app/textfile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ChatLinkFile {

QString fileName(const QString& userName) {
    const QString name = userName + u".url"_s;
    // The name is typed by the user; it must not reach another directory or a device.
    bool unsafe = userName.contains(u'/') || userName.contains(u'\\') || userName == u".."_s ||
                  name.toLocal8Bit().size() > 255;
    for (QChar c : userName)
        unsafe = unsafe || c.unicode() < 0x20 || c.unicode() == 0x7F;
    if (unsafe)
        throw TavikError(u"Invalid user name for the chat-link file: "_s + userName);
    return name;
}

bool read(const QDir& dir, const QString& userName, QString& link) {
    const QString path = dir.filePath(fileName(userName));
    if (!QFileInfo::exists(path))
        return false;
    link = TextFile::readLines(path).constFirst();
    return true;
}

void write(const QDir& dir, const QString& userName, const QString& link) {
    TextFile::writeLines(dir.filePath(fileName(userName)), {link});
}

} // namespace ChatLinkFile
