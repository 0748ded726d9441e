#include "roster/rosterfile.h"

#include "app/textfile.h"
#include "roster/roster.h"

#include <QFileInfo>

namespace RosterFile {

void loadOrCreate(Roster& roster, const QDir& dir) {
    const QString path = dir.filePath(QString::fromUtf16(FileName));
    if (QFileInfo::exists(path)) {
        for (const QString& name : TextFile::readLines(path))
            roster.append(name);
        return;
    }
    roster.append(QStringLiteral("tavik"));
    roster.append(QStringLiteral("morlo"));
    save(roster, dir);
}

void save(const Roster& roster, const QDir& dir) {
    TextFile::writeLines(dir.filePath(QString::fromUtf16(FileName)), roster.names());
}

} // namespace RosterFile
