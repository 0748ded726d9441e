// Matching the roster against the people online, and the presence texts built from it.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>

class Roster;

namespace Presence {

// Line break of every multi-line text built for the window: LF then CR.
inline constexpr QStringView LineBreak = u"\n\r";

// Only this exact user name sends arrival notices.
bool isOwner(const QString& userName);

// Strips leading and trailing spaces and control characters.
QString trimEntry(QStringView entry);

struct MatchResult {
    // One trimmed entry and a line break per match, in matching order.
    QString friendsOnline;
    int arrivals = 0;
};

// Sets every friend "on" or "off": on when the lower-cased name occurs in a trimmed entry.
// onArrival runs for a friend going from "off" to "on", before its state changes, so a friend whose
// arrival handler throws stays "off". result is filled as matching goes, so a caller sees what was
// matched up to such an error.
void matchRoster(const QStringList& entries, Roster& roster,
                 const std::function<void(const QString& name)>& onArrival, MatchResult& result);

// The locale's time of day with seconds and without a time-zone name, then dd.mm.yyyy.
QString timeStamp(const QDateTime& when, const QLocale& locale = QLocale::system());

// "Online now:  N people", the trimmed entries joined with " | ", and the time stamp.
QString summary(qsizetype count, const QStringList& entries, const QString& stamp);

// The window shows our LF CR breaks as plain line breaks.
QString forDisplay(QString text);

} // namespace Presence
