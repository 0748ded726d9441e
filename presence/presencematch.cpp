#include "presence/presencematch.h"

#include "roster/roster.h"

using namespace Qt::StringLiterals;

namespace Presence {
namespace {

bool isBlank(QChar c) {
    return c.unicode() <= 0x20 || c.isSpace() || c.category() == QChar::Other_Control;
}

// Removes the time-zone fields ("t" outside quotes) from a locale time format.
QString withoutTimeZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out.append(c);
    }
    return out.simplified();
}

} // namespace

bool isOwner(const QString& userName) {
    return userName == u"Tavik"_s;
}

QString trimEntry(QStringView entry) {
    qsizetype begin = 0;
    qsizetype end = entry.size();
    while (begin < end && isBlank(entry.at(begin)))
        ++begin;
    while (end > begin && isBlank(entry.at(end - 1)))
        --end;
    return entry.sliced(begin, end - begin).toString();
}

void matchRoster(const QStringList& entries, Roster& roster,
                 const std::function<void(const QString& name)>& onArrival, MatchResult& result) {
    QStringList trimmed;
    trimmed.reserve(entries.size());
    for (const QString& entry : entries)
        trimmed.append(trimEntry(entry));

    for (qsizetype i = 0; i < roster.count(); ++i) {
        // A copy: the arrival handler keeps the window answering, and a friend added meanwhile
        // may move the roster's storage.
        const QString name = roster.name(i);
        // The page is lower-cased, so the name is too; an empty name matches nothing.
        const QString wanted = name.toLower();
        bool found = false;
        for (const QString& entry : std::as_const(trimmed)) {
            if (wanted.isEmpty() || !entry.contains(wanted))
                continue;
            found = true;
            result.friendsOnline += entry + LineBreak;
            if (roster.state(i) == Roster::Off) {
                ++result.arrivals;
                if (onArrival)
                    onArrival(name);
            }
            roster.setState(i, Roster::On);
        }
        if (!found)
            roster.setState(i, Roster::Off);
    }
}

QString timeStamp(const QDateTime& when, const QLocale& locale) {
    const QString time =
        locale.toString(when.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return time + u' ' + when.date().toString(u"dd.MM.yyyy"_s);
}

QString summary(qsizetype count, const QStringList& entries, const QString& stamp) {
    QStringList names;
    names.reserve(entries.size());
    for (const QString& entry : entries)
        names.append(trimEntry(entry));
    return u"Online now:  "_s + QString::number(count) + u" people"_s + LineBreak + LineBreak +
           names.join(u" | "_s) + LineBreak + LineBreak + stamp;
}

QString forDisplay(QString text) {
    return text.replace(LineBreak.toString(), u"\n"_s);
}

} // namespace Presence
