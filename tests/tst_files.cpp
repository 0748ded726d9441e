// The friends file and the chat-link file on a real temporary directory.
#include "app/chatlinkfile.h"
#include "app/tavikerror.h"
#include "app/textfile.h"
#include "roster/roster.h"
#include "roster/rosterfile.h"
#include "support/tempdir.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const TavikError& error) {
        return error.message();
    }
    return {};
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadRoster_data();
    void loadRoster();
    void createRosterWhenMissing();
    void saveRosterWritesEveryNameWithCrLf();
    void failedSaveKeepsOldFile();
    void unreadableRosterFileNamesFileAndReason();
    void appendingKeepsDuplicatesAndEmptyNames();

    void chatLink_data();
    void chatLink();
    void chatLinkWriteThenRead();
    void unsafeUserNameTouchesNoFile_data();
    void unsafeUserNameTouchesNoFile();
};

void TestFiles::loadRoster_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("empty file is one friend with an empty name")
        << QByteArray() << QStringList{u""_s};
    QTest::newRow("final CR LF adds no friend")
        << QByteArray("anna\r\nbob\r\n") << QStringList{u"anna"_s, u"bob"_s};
    QTest::newRow("no final line end")
        << QByteArray("anna\r\nbob") << QStringList{u"anna"_s, u"bob"_s};
    QTest::newRow("blank middle line")
        << QByteArray("anna\r\n\r\nbob\r\n") << QStringList{u"anna"_s, u""_s, u"bob"_s};
    QTest::newRow("LF only") << QByteArray("anna\nbob\n") << QStringList{u"anna"_s, u"bob"_s};
    QTest::newRow("spaces and case kept")
        << QByteArray(" Anna B \r\n") << QStringList{u" Anna B "_s};
    QTest::newRow("lone CR stays in the name")
        << QByteArray("an\rna\r\n") << QStringList{u"an\rna"_s};
    QTest::newRow("UTF-8 BOM skipped")
        << QByteArray("\xEF\xBB\xBFj\xC3\xB6rg\r\n") << QStringList{u"jörg"_s};
    QTest::newRow("8-bit file read as Latin-1")
        << QByteArray("j\xF6rg\r\nanna\r\n") << QStringList{u"jörg"_s, u"anna"_s};
}

void TestFiles::loadRoster() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    TempDir temp;
    temp.write(u"friends.txt"_s, bytes);

    Roster roster;
    RosterFile::loadOrCreate(roster, temp.dir());

    QCOMPARE(roster.names(), names);
    for (qsizetype i = 0; i < roster.count(); ++i)
        QCOMPARE(roster.state(i), Roster::Off);
    QCOMPARE(temp.read(u"friends.txt"_s), bytes);
}

void TestFiles::createRosterWhenMissing() {
    TempDir temp;
    Roster roster;
    RosterFile::loadOrCreate(roster, temp.dir());

    QCOMPARE(roster.names(), (QStringList{u"tavik"_s, u"morlo"_s}));
    QCOMPARE(roster.state(0), Roster::Off);
    QCOMPARE(roster.state(1), Roster::Off);
    QCOMPARE(temp.read(u"friends.txt"_s), QByteArray("tavik\r\nmorlo\r\n"));
    QCOMPARE(temp.entries(), QStringList{u"friends.txt"_s});
}

void TestFiles::saveRosterWritesEveryNameWithCrLf() {
    TempDir temp;
    temp.write(u"friends.txt"_s, "old\r\nlonger list\r\nof names\r\n");
    Roster roster;
    for (const QString& name : {u"anna"_s, u""_s, u"jörg"_s, u"anna"_s})
        roster.append(name);

    RosterFile::save(roster, temp.dir());

    QCOMPARE(temp.read(u"friends.txt"_s), QByteArray("anna\r\n\r\nj\xC3\xB6rg\r\nanna\r\n"));
    QCOMPARE(temp.entries(), QStringList{u"friends.txt"_s});
    Roster reread;
    RosterFile::loadOrCreate(reread, temp.dir());
    QCOMPARE(reread.names(), roster.names());
}

void TestFiles::failedSaveKeepsOldFile() {
    TempDir temp;
    const QByteArray old = "tavik\r\nmorlo\r\n";
    temp.write(u"friends.txt"_s, old);
    Roster roster;
    roster.append(QString(200, u'x'));

    QString message;
    {
        FileSizeLimit limit(64);
        message = errorOf([&] { RosterFile::save(roster, temp.dir()); });
    }

    QVERIFY2(message.startsWith(u"Cannot write friends.txt: "_s), qPrintable(message));
    QVERIFY2(message.size() > u"Cannot write friends.txt: "_s.size(), "the reason is missing");
    QCOMPARE(temp.read(u"friends.txt"_s), old);
    QCOMPARE(temp.entries(), QStringList{u"friends.txt"_s});
}

void TestFiles::unreadableRosterFileNamesFileAndReason() {
    TempDir temp;
    QVERIFY(temp.dir().mkdir(u"friends.txt"_s));
    Roster roster;
    const QString message = errorOf([&] { RosterFile::loadOrCreate(roster, temp.dir()); });
    QVERIFY2(message.startsWith(u"Cannot open friends.txt: "_s), qPrintable(message));
    QCOMPARE(roster.count(), 0);
}

void TestFiles::appendingKeepsDuplicatesAndEmptyNames() {
    Roster roster;
    roster.append(u"anna"_s);
    roster.setState(0, Roster::On);
    roster.append(u"anna"_s);
    roster.append(u""_s);
    QCOMPARE(roster.names(), (QStringList{u"anna"_s, u"anna"_s, u""_s}));
    QCOMPARE(roster.state(0), Roster::On);
    QCOMPARE(roster.state(1), Roster::Off);
    QCOMPARE(roster.state(2), Roster::Off);
}

void TestFiles::chatLink_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("link");

    QTest::newRow("no file keeps the link")
        << false << QByteArray() << false << u"http://default/chat"_s;
    QTest::newRow("empty first line gives an empty link")
        << true << QByteArray("\r\nhttp://x\r\n") << true << u""_s;
    QTest::newRow("empty file gives an empty link") << true << QByteArray() << true << u""_s;
    QTest::newRow("only the first line counts")
        << true << QByteArray("http://a/chat\r\nhttp://b\r\n") << true << u"http://a/chat"_s;
    QTest::newRow("lone LF and no final line end")
        << true << QByteArray("http://a\nx") << true << u"http://a"_s;
}

void TestFiles::chatLink() {
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, read);
    QFETCH(QString, link);
    TempDir temp;
    if (present)
        temp.write(u"anna.url"_s, bytes);

    QString current = u"http://default/chat"_s;
    QCOMPARE(ChatLinkFile::read(temp.dir(), u"anna"_s, current), read);
    QCOMPARE(current, link);
}

void TestFiles::chatLinkWriteThenRead() {
    TempDir temp;
    ChatLinkFile::write(temp.dir(), u"anna"_s, u"http://chat.example/room?x=1"_s);
    QCOMPARE(temp.read(u"anna.url"_s), QByteArray("http://chat.example/room?x=1\r\n"));

    ChatLinkFile::write(temp.dir(), u""_s, u""_s);
    QCOMPARE(temp.read(u".url"_s), QByteArray("\r\n"));

    QString link = u"unchanged"_s;
    QVERIFY(ChatLinkFile::read(temp.dir(), u"anna"_s, link));
    QCOMPARE(link, u"http://chat.example/room?x=1"_s);
    QVERIFY(ChatLinkFile::read(temp.dir(), u""_s, link));
    QCOMPARE(link, u""_s);
}

void TestFiles::unsafeUserNameTouchesNoFile_data() {
    QTest::addColumn<QString>("userName");
    QTest::newRow("parent directory") << u"../anna"_s;
    QTest::newRow("absolute path") << u"/tmp/anna"_s;
    QTest::newRow("subdirectory") << u"sub/anna"_s;
    QTest::newRow("backslash") << u"..\\anna"_s;
    QTest::newRow("line break") << u"an\nna"_s;
    QTest::newRow("too long for a file name") << QString(300, u'a');
}

void TestFiles::unsafeUserNameTouchesNoFile() {
    QFETCH(QString, userName);
    TempDir temp;
    QVERIFY(temp.dir().mkdir(u"sub"_s));

    const QString writeError =
        errorOf([&] { ChatLinkFile::write(temp.dir(), userName, u"http://x"_s); });
    QString link;
    const QString readError = errorOf([&] { ChatLinkFile::read(temp.dir(), userName, link); });

    QCOMPARE(writeError, u"Invalid user name for the chat-link file: "_s + userName);
    QCOMPARE(readError, writeError);
    QCOMPARE(temp.entries(), QStringList{u"sub"_s});
    QVERIFY(QDir(temp.path(u"sub"_s)).isEmpty());
    QVERIFY(!QFile::exists(temp.dir().absoluteFilePath(u"../anna.url"_s)));
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
