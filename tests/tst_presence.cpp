// Splitting, reading the presence line, matching the roster and the presence texts.
#include "presence/pagedecoder.h"
#include "presence/presencematch.h"
#include "presence/presencereader.h"
#include "presence/splitbydelimiter.h"
#include "roster/roster.h"

#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

Roster rosterOf(const QStringList& names) {
    Roster roster;
    for (const QString& name : names)
        roster.append(name);
    return roster;
}

QStringList statesOf(const Roster& roster) {
    QStringList states;
    for (qsizetype i = 0; i < roster.count(); ++i)
        states.append(roster.state(i));
    return states;
}

} // namespace

class TestPresence : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void split_data();
    void split();
    void splitLeavesCallersTextAlone();

    void read_data();
    void read();

    void match_data();
    void match();
    void arrivalsCountOnlyOffToOn();
    void failingArrivalLeavesFriendOff();

    void texts();
    void timeStampHasNoTimeZone_data();
    void timeStampHasNoTimeZone();

    void decode_data();
    void decode();
};

void TestPresence::split_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("no delimiter") << u"x"_s << 1000 << QStringList{u"x"_s};
    QTest::newRow("empty text") << u""_s << 1000 << QStringList{};
    QTest::newRow("only a delimiter") << u"|"_s << 1000 << QStringList{};
    QTest::newRow("only delimiters") << u"|||"_s << 1000 << QStringList{};
    QTest::newRow("a space is a piece") << u" "_s << 1000 << QStringList{u" "_s};
    QTest::newRow("three pieces") << u"a|b|c"_s << 1000 << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("trailing delimiter") << u"a|b|"_s << 1000 << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty pieces dropped") << u"|a||b|"_s << 1000 << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("spaces kept") << u"a | b"_s << 1000 << QStringList{u"a "_s, u" b"_s};
    QTest::newRow("limit keeps the rest whole") << u"a||b"_s << 1 << QStringList{u"a"_s, u"|b"_s};
    // The rest after a pass that met a leading delimiter is kept whole, first character included.
    QTest::newRow("limit after an empty piece") << u"||ab"_s << 1 << QStringList{u"|ab"_s};
    QTest::newRow("limit reached by delimiters only") << u"|||x"_s << 2 << QStringList{u"|x"_s};

    QStringList many(1001, u"p"_s);
    QTest::newRow("1001 pieces with limit 1000") << many.join(u'|') << 1000 << many;
}

void TestPresence::split() {
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QStringList, pieces);
    QCOMPARE(SplitByDelimiter(u'|', text, limit), pieces);
}

void TestPresence::splitLeavesCallersTextAlone() {
    const QString text = u"a|b"_s;
    const QStringList pieces = SplitByDelimiter(u'|', text, 1000);
    QCOMPARE(text, u"a|b"_s);
    QCOMPARE(pieces.size(), 2);
}

void TestPresence::read_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<qsizetype>("count");

    QTest::newRow("three names") << u"<b>online now: 3 | anna | bob_7 | chris</font>"_s << true
                                 << QStringList{u" anna "_s, u" bob_7 "_s, u" chris"_s}
                                 << qsizetype(3);
    QTest::newRow("lower-cased first")
        << u"Online Now: 1 | Anna</FONT>"_s << true << QStringList{u" anna"_s} << qsizetype(1);
    QTest::newRow("no space after the bar keeps the first character")
        << u"online now: 2 |anna | bob</font>"_s << true << QStringList{u"anna "_s, u" bob"_s}
        << qsizetype(2);
    QTest::newRow("nobody online")
        << u"online now: 0</font>"_s << true << QStringList{} << qsizetype(0);
    QTest::newRow("bar with no names")
        << u"online now: 0 |</font>"_s << true << QStringList{} << qsizetype(0);
    QTest::newRow("first end tag after the marker counts")
        << u"<font>x</font> online now: 1 | anna</font> | zed</font>"_s << true
        << QStringList{u" anna"_s} << qsizetype(1);
    QTest::newRow("no marker") << u"<font>a | b</font> login page"_s << false << QStringList{}
                               << qsizetype(0);
    QTest::newRow("no end tag") << u"online now: 2 | anna | bob"_s << false << QStringList{}
                                << qsizetype(0);
    QTest::newRow("end tag only before the marker")
        << u"</font> online now: 1 | anna"_s << false << QStringList{} << qsizetype(0);
    QTest::newRow("empty page") << u""_s << false << QStringList{} << qsizetype(0);

    // A long room: the whole line counts, however long it is.
    QStringList names;
    for (int i = 0; i < 400; ++i)
        names.append(u" user%1 "_s.arg(i));
    QTest::newRow("line longer than 1024 characters")
        << u"online now: 400 |"_s + names.join(u'|') + u"</font>"_s << true << names
        << qsizetype(400);
}

void TestPresence::read() {
    QFETCH(QString, page);
    QFETCH(bool, found);
    QFETCH(QStringList, entries);
    QFETCH(qsizetype, count);
    const PresenceReading reading = readPresence(page);
    QCOMPARE(reading.found, found);
    QCOMPARE(reading.entries, entries);
    QCOMPARE(reading.count, count);
}

void TestPresence::match_data() {
    QTest::addColumn<QStringList>("friends");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("states");
    QTest::addColumn<QString>("online");

    QTest::newRow("empty roster") << QStringList{} << QStringList{u" anna"_s} << QStringList{}
                                  << u""_s;
    QTest::newRow("trimmed entries listed")
        << QStringList{u"anna"_s, u"bob"_s} << QStringList{u" anna "_s, u"\tchris\r"_s}
        << QStringList{u"on"_s, u"off"_s} << u"anna\n\r"_s;
    QTest::newRow("substring matches several entries")
        << QStringList{u"ann"_s} << QStringList{u"anna"_s, u"joanne"_s, u"bob"_s}
        << QStringList{u"on"_s} << u"anna\n\rjoanne\n\r"_s;
    QTest::newRow("one entry matches several friends in roster order")
        << QStringList{u"anna"_s, u"ann"_s} << QStringList{u" anna "_s}
        << QStringList{u"on"_s, u"on"_s} << u"anna\n\ranna\n\r"_s;
    QTest::newRow("roster name compared lower-cased")
        << QStringList{u"Anna"_s} << QStringList{u"anna"_s} << QStringList{u"on"_s}
        << u"anna\n\r"_s;
    QTest::newRow("empty name never matches")
        << QStringList{u""_s} << QStringList{u"anna"_s, u" "_s} << QStringList{u"off"_s} << u""_s;
    QTest::newRow("nobody online")
        << QStringList{u"anna"_s} << QStringList{} << QStringList{u"off"_s} << u""_s;
}

void TestPresence::match() {
    QFETCH(QStringList, friends);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, states);
    QFETCH(QString, online);
    Roster roster = rosterOf(friends);
    Presence::MatchResult result;
    Presence::matchRoster(entries, roster, {}, result);
    QCOMPARE(statesOf(roster), states);
    QCOMPARE(result.friendsOnline, online);
}

void TestPresence::arrivalsCountOnlyOffToOn() {
    Roster roster = rosterOf({u"anna"_s, u"bob"_s, u"ann"_s});
    QStringList arrived;
    const auto poll = [&](const QStringList& entries) {
        arrived.clear();
        Presence::MatchResult result;
        Presence::matchRoster(
            entries, roster, [&](const QString& name) { arrived.append(name); }, result);
        QCOMPARE(result.arrivals, arrived.size());
    };

    poll({u"anna"_s, u"bob"_s, u"joanne"_s});
    QCOMPARE(arrived,
             (QStringList{u"anna"_s, u"bob"_s, u"ann"_s})); // "ann" once, though it matches twice
    poll({u"anna"_s, u"bob"_s});
    QCOMPARE(arrived, QStringList{});
    poll({u"bob"_s});
    QCOMPARE(statesOf(roster), (QStringList{u"off"_s, u"on"_s, u"off"_s}));
    poll({u"anna"_s, u"bob"_s});
    QCOMPARE(arrived, (QStringList{u"anna"_s, u"ann"_s}));
}

void TestPresence::failingArrivalLeavesFriendOff() {
    Roster roster = rosterOf({u"anna"_s, u"bob"_s, u"chris"_s});
    Presence::MatchResult result;
    const auto failOnBob = [](const QString& name) {
        if (name == u"bob"_s)
            throw std::runtime_error("relay down");
    };
    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error,
        Presence::matchRoster({u"anna"_s, u"bob"_s, u"chris"_s}, roster, failOnBob, result));
    QCOMPARE(statesOf(roster), (QStringList{u"on"_s, u"off"_s, u"off"_s}));
    QCOMPARE(result.friendsOnline, u"anna\n\rbob\n\r"_s);
    QCOMPARE(result.arrivals, 2);
}

void TestPresence::texts() {
    const QString summary =
        Presence::summary(3, {u" anna "_s, u" bob_7 "_s, u" chris"_s}, u"21:04:17 09.12.2003"_s);
    QCOMPARE(summary,
             u"Online now:  3 people\n\r\n\ranna | bob_7 | chris\n\r\n\r21:04:17 09.12.2003"_s);
    QCOMPARE(Presence::summary(0, {}, u"t"_s), u"Online now:  0 people\n\r\n\r\n\r\n\rt"_s);
    QCOMPARE(Presence::forDisplay(summary),
             u"Online now:  3 people\n\nanna | bob_7 | chris\n\n21:04:17 09.12.2003"_s);

    const QDateTime when(QDate(2003, 12, 9), QTime(21, 4, 17));
    QCOMPARE(Presence::timeStamp(when, QLocale(QLocale::German, QLocale::Germany)),
             u"21:04:17 09.12.2003"_s);
    QVERIFY(Presence::isOwner(u"Tavik"_s));
    QVERIFY(!Presence::isOwner(u"tavik"_s));
    QVERIFY(!Presence::isOwner(u"Tavik "_s));
}

void TestPresence::timeStampHasNoTimeZone_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("C") << QLocale::c();
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France);
}

void TestPresence::timeStampHasNoTimeZone() {
    QFETCH(QLocale, locale);
    const QDateTime when(QDate(2003, 12, 9), QTime(21, 4, 17),
                         QTimeZone(u"Europe/Berlin"_s.toLatin1()));
    const QString stamp = Presence::timeStamp(when, locale);
    QVERIFY2(stamp.endsWith(u" 09.12.2003"_s), qPrintable(stamp));
    QVERIFY2(stamp.contains(u"04"_s) && stamp.contains(u"17"_s), qPrintable(stamp));
    QVERIFY2(!stamp.contains(u"CET"_s) && !stamp.contains(u"Berlin"_s) &&
                 !stamp.contains(u"Europe"_s),
             qPrintable(stamp));
}

void TestPresence::decode_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("text");

    QTest::newRow("header charset")
        << QByteArray("J\xF6rg") << QByteArray("text/html; charset=ISO-8859-1") << u"Jörg"_s;
    QTest::newRow("header charset quoted")
        << QByteArray("J\xC3\xB6rg") << QByteArray("text/html; charset=\"utf-8\"") << u"Jörg"_s;
    QTest::newRow("meta charset") << QByteArray("<meta charset=\"windows-1252\">J\xF6rg \x80")
                                  << QByteArray("text/html")
                                  << u"<meta charset=\"windows-1252\">Jörg €"_s;
    QTest::newRow("no charset, valid UTF-8")
        << QByteArray("J\xC3\xB6rg") << QByteArray() << u"Jörg"_s;
    QTest::newRow("no charset, 8-bit") << QByteArray("J\xF6rg") << QByteArray() << u"Jörg"_s;
    QTest::newRow("unknown charset falls through")
        << QByteArray("J\xC3\xB6rg") << QByteArray("text/html; charset=x-nonsense") << u"Jörg"_s;
}

void TestPresence::decode() {
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, text);
    QCOMPARE(decodePage(body, contentType), text);
}

QTEST_GUILESS_MAIN(TestPresence)
#include "tst_presence.moc"
