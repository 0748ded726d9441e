// Arrival notices: the message itself, and sending it through a real SMTP server on 127.0.0.1.
#include "notify/mailmessage.h"
#include "notify/smtpmailer.h"
#include "presence/presencematch.h"
#include "support/httpserver.h"
#include "support/smtpsink.h"
#include "support/tavikfixture.h"
#include "support/tempdir.h"
#include "ui/friend/tframe2.h"

#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString Page = u"/chat/index.html"_s;
const QDateTime Now(QDate(2003, 12, 9), QTime(21, 4, 17));

MailSettings testMailSettings(quint16 port) {
    MailSettings settings;
    settings.relayHost = u"127.0.0.1"_s;
    settings.relayPort = port;
    settings.senderPrefix = u"notice-"_s;
    settings.domain = u"example.org"_s;
    settings.recipient = u"arrivals@example.org"_s;
    return settings;
}

// The owner's window polling the test page, mailing through a real relay at relayPort.
struct MailSession {
    MailSession(const QByteArray& friends, quint16 relayPort,
                std::chrono::milliseconds timeout = std::chrono::seconds(10),
                const QString& login = u"Tavik"_s,
                const std::function<void(TavikServices&)>& adjust = {}) {
        temp.write(u"friends.txt"_s, friends);
        TavikServices services = testServices(observed, temp.dir(), server.url(Page), login);
        services.mail = testMailSettings(relayPort);
        auto mailer = std::make_unique<SmtpMailer>(services.mail.relayHost, relayPort);
        mailer->setTimeout(timeout);
        services.mailer = std::move(mailer);
        if (adjust)
            adjust(services);
        window = std::make_unique<TTavik>(std::move(services));
    }

    bool poll(const QByteArray& presenceLine) {
        server.setPresence(Page, presenceLine);
        const qsizetype before = server.requests().size();
        if (before == 0)
            window->start();
        else
            window->Button1->click();
        return QTest::qWaitFor(
            [&] {
                return server.requests().size() > before && !window->polling() &&
                       window->Label5->text() != u"Status: "_s;
            },
            30000);
    }
    QString status() const { return window->Label5->text(); }

    Observed observed;
    TempDir temp;
    HttpServer server;
    std::unique_ptr<TTavik> window;
};

QStringList subjects(const QList<QJsonObject>& messages) {
    QStringList result;
    for (const QJsonObject& message : messages)
        result.append(message[u"subject"_s].toString());
    return result;
}

} // namespace

class TestMail : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void parseRelaySettings_data();
    void parseRelaySettings();
    void headerTextIsSafe_data();
    void headerTextIsSafe();

    void oneArrivalSendsOneExactMessage();
    void twoArrivalsSendTwoMessagesInRosterOrder();
    void otherUsersSendNothing_data();
    void otherUsersSendNothing();
    void relayFailureIsRetriedOnce_data();
    void relayFailureIsRetriedOnce();
    void unusualNamesGiveWellFormedMessages_data();
    void unusualNamesGiveWellFormedMessages();
    void windowAnswersWhileMailWaits();
    // Last: quitting the application leaves this thread's event loops unable to run again.
    void closingCutsMailShort();
};

void TestMail::initTestCase() {
    SmtpSink probe;
    QVERIFY2(probe.isReady(), "the SMTP test server (python3-aiosmtpd) did not start");
}

void TestMail::parseRelaySettings_data() {
    QTest::addColumn<QString>("relay");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("host only") << u"mail.example.org"_s << u"mail.example.org"_s << 25;
    QTest::newRow("host and port") << u"127.0.0.1:2525"_s << u"127.0.0.1"_s << 2525;
    QTest::newRow("bad port ignored") << u"mail:x"_s << u"mail:x"_s << 25;
}

void TestMail::parseRelaySettings() {
    QFETCH(QString, relay);
    QFETCH(QString, host);
    QFETCH(int, port);
    MailSettings settings;
    parseRelay(relay, settings);
    QCOMPARE(settings.relayHost, host);
    QCOMPARE(settings.relayPort, port);
}

void TestMail::headerTextIsSafe_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("plain") << u"anna in chat now!"_s << QByteArray("anna in chat now!");
    QTest::newRow("line breaks become spaces") << u"a\r\nBcc: x@y"_s << QByteArray("a  Bcc: x@y");
    QTest::newRow("other controls become spaces") << u"a\tb\x01"_s << QByteArray("a b ");
    QTest::newRow("non-ASCII as an encoded-word")
        << u"jörg"_s << QByteArray("=?UTF-8?B?asO2cmc=?=");
}

void TestMail::headerTextIsSafe() {
    QFETCH(QString, text);
    QFETCH(QByteArray, header);
    QCOMPARE(headerText(text), header);

    const QByteArray folded = headerText(QString(100, u'ö'));
    for (const QByteArray& line : folded.split('\n')) {
        QVERIFY(line.trimmed().size() <= 75);
        QVERIFY(line.trimmed().startsWith("=?UTF-8?B?"));
    }
}

void TestMail::oneArrivalSendsOneExactMessage() {
    SmtpSink sink;
    MailSession s("anna\r\nbob\r\n", sink.port());
    QVERIFY(s.poll("Online now: 2 | anna | chris"));
    QCOMPARE(s.status(), u"Status: OK"_s);

    const QList<QJsonObject> messages = sink.messages();
    QCOMPARE(messages.size(), 1);
    const QJsonObject& mail = messages.first();
    QCOMPARE(mail[u"helo"_s].toString(), u"tavik"_s);
    QCOMPARE(mail[u"from"_s].toString(), u"notice-Tavik@example.org"_s);
    QCOMPARE(mail[u"to"_s].toArray(), QJsonArray{u"arrivals@example.org"_s});
    QCOMPARE(mail[u"subject"_s].toString(), u"anna in chat now!"_s);
    QCOMPARE(mail[u"body"_s].toString(), u"anna   "_s + Presence::timeStamp(Now) + u"\r\n"_s);
    QCOMPARE(mail[u"defects"_s].toArray(), QJsonArray{});

    QStringList names;
    QHash<QString, QString> headers;
    for (const QJsonValue& header : mail[u"headers"_s].toArray()) {
        names.append(header[0].toString());
        headers.insert(header[0].toString(), header[1].toString());
    }
    QCOMPARE(names,
             (QStringList{u"Date"_s, u"From"_s, u"To"_s, u"Subject"_s, u"Message-ID"_s,
                          u"MIME-Version"_s, u"Content-Type"_s, u"Content-Transfer-Encoding"_s}));
    QCOMPARE(headers[u"From"_s], u"notice-Tavik@example.org"_s);
    QCOMPARE(headers[u"To"_s], u"arrivals@example.org"_s);
    QCOMPARE(headers[u"MIME-Version"_s], u"1.0"_s);
    QVERIFY(mail[u"raw"_s].toString().contains(
        u"\r\nContent-Type: text/plain; charset=us-ascii\r\n"_s));
    QCOMPARE(headers[u"Content-Transfer-Encoding"_s], u"7bit"_s);
    QVERIFY(headers[u"Message-ID"_s].endsWith(u"@example.org>"_s));
    QVERIFY(headers[u"Date"_s].contains(u"2003"_s));
}

void TestMail::twoArrivalsSendTwoMessagesInRosterOrder() {
    SmtpSink sink;
    MailSession s("bob\r\nanna\r\ncarl\r\n", sink.port());
    QVERIFY(s.poll("Online now: 2 | anna | bob"));
    QCOMPARE(subjects(sink.messages()),
             (QStringList{u"bob in chat now!"_s, u"anna in chat now!"_s}));
    QCOMPARE(s.observed.chimes, 1);
    QVERIFY(s.poll("Online now: 3 | anna | bob | carl"));
    QCOMPARE(subjects(sink.messages()),
             (QStringList{u"bob in chat now!"_s, u"anna in chat now!"_s, u"carl in chat now!"_s}));
}

void TestMail::otherUsersSendNothing_data() {
    QTest::addColumn<QString>("login");
    QTest::newRow("lower-case tavik") << u"tavik"_s;
    QTest::newRow("Tav") << u"Tav"_s;
}

void TestMail::otherUsersSendNothing() {
    QFETCH(QString, login);
    SmtpSink sink;
    MailSession s("anna\r\nbob\r\n", sink.port(), std::chrono::seconds(10), login);
    QVERIFY(s.poll("Online now: 2 | anna | bob"));
    QCOMPARE(s.status(), u"Status: OK"_s);
    QCOMPARE(s.observed.chimes, 1);
    QCOMPARE(sink.messages().size(), 0);
}

void TestMail::relayFailureIsRetriedOnce_data() {
    QTest::addColumn<int>("mode"); // -1: nothing listens
    QTest::addColumn<QString>("reason");
    QTest::newRow("relay down") << -1 << u"127.0.0.1"_s;
    QTest::newRow("550 on RCPT") << int(SmtpSink::Mode::RejectRecipient)
                                 << u"550 5.1.1 Mailbox unavailable"_s;
    QTest::newRow("relay stalls") << int(SmtpSink::Mode::Stall) << u"timed out"_s;
}

void TestMail::relayFailureIsRetriedOnce() {
    QFETCH(int, mode);
    QFETCH(QString, reason);
    const quint16 port = closedPort();
    std::unique_ptr<SmtpSink> failing;
    if (mode >= 0) {
        failing = std::make_unique<SmtpSink>(SmtpSink::Mode(mode), port);
        QVERIFY(failing->isReady());
    }
    MailSession s("anna\r\nbob\r\n", port, std::chrono::milliseconds(1500));

    QVERIFY(s.poll("Online now: 1 | anna"));
    QVERIFY2(s.status().startsWith(u"Status: Cannot send the arrival mail: "_s),
             qPrintable(s.status()));
    QVERIFY2(s.status().contains(reason), qPrintable(s.status()));
    QCOMPARE(s.window->Label5->palette().color(QPalette::WindowText), QColor(254, 0, 0));
    QCOMPARE(s.window->roster().state(0), u"off"_s);
    QCOMPARE(s.observed.chimes, 0);

    failing.reset();
    SmtpSink relay(SmtpSink::Mode::Accept, port);
    QVERIFY(relay.isReady());
    QVERIFY(s.poll("Online now: 1 | anna"));
    QCOMPARE(s.status(), u"Status: OK"_s);
    QVERIFY(s.poll("Online now: 1 | anna"));
    QCOMPARE(subjects(relay.messages()), QStringList{u"anna in chat now!"_s});
    QCOMPARE(s.window->roster().state(0), u"on"_s);
}

void TestMail::unusualNamesGiveWellFormedMessages_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shownName");
    QTest::newRow("CR LF header injection")
        << u"anna\r\nBcc: evil@example.org"_s << u"anna  Bcc: evil@example.org"_s;
    QTest::newRow("bare LF and a dot line") << u"x\n.\nQUIT"_s << u"x . QUIT"_s;
    QTest::newRow("non-ASCII") << u"Jörg Čapek"_s << u"Jörg Čapek"_s;
    QTest::newRow("long non-ASCII") << QString(120, u'ö') << QString(120, u'ö');
    QTest::newRow("leading dot") << u".anna"_s << u".anna"_s;
}

void TestMail::unusualNamesGiveWellFormedMessages() {
    QFETCH(QString, name);
    QFETCH(QString, shownName);
    SmtpSink sink;
    const MailSettings settings = testMailSettings(sink.port());
    SmtpMailer mailer(settings.relayHost, settings.relayPort);
    mailer.send(arrivalNotice(settings, u"Tavik"_s, name, u"21:04:17 09.12.2003"_s, Now));

    const QList<QJsonObject> messages = sink.messages();
    QCOMPARE(messages.size(), 1);
    const QJsonObject& mail = messages.first();
    QCOMPARE(mail[u"to"_s].toArray(), QJsonArray{u"arrivals@example.org"_s});
    QCOMPARE(mail[u"subject"_s].toString(), shownName + u" in chat now!"_s);
    QCOMPARE(mail[u"body"_s].toString().trimmed(), shownName + u"   21:04:17 09.12.2003"_s);
    QCOMPARE(mail[u"defects"_s].toArray(), QJsonArray{});
    QCOMPARE(mail[u"headers"_s].toArray().size(), 8);
    QVERIFY(!mail[u"raw"_s].toString().contains(u"Bcc"_s, Qt::CaseInsensitive) ||
            name.contains(u"Bcc"_s));
    for (const QString& line : mail[u"raw"_s].toString().split(u"\r\n"_s))
        QVERIFY2(line.size() <= 998, "line too long");
}

void TestMail::windowAnswersWhileMailWaits() {
    SmtpSink stalled(SmtpSink::Mode::Stall);
    QVERIFY(stalled.isReady());
    MailSession s("anna\r\n", stalled.port(), std::chrono::milliseconds(2000));
    QString statusMeanwhile;
    bool friendsShown = false;
    QTimer::singleShot(700, s.window.get(), [&] {
        statusMeanwhile = s.status();
        s.window->SpeedButton2->click();
        friendsShown = s.window->TFrame21->isVisible();
        // A tick during the wait does not start a second poll.
        s.window->Button1->click();
    });
    QVERIFY(s.poll("Online now: 1 | anna"));
    QVERIFY(friendsShown);
    QVERIFY2(!statusMeanwhile.contains(u"arrival mail"_s), qPrintable(statusMeanwhile));
    QVERIFY2(s.status().contains(u"timed out"_s), qPrintable(s.status()));
    QCOMPARE(s.server.requests().size(), 1);
}

void TestMail::closingCutsMailShort() {
    SmtpSink stalled(SmtpSink::Mode::Stall);
    QVERIFY(stalled.isReady());
    // The application's own quit, and a relay that would keep the mail waiting for a minute.
    MailSession s("anna\r\n", stalled.port(), std::chrono::seconds(60), u"Tavik"_s,
                  [](TavikServices& services) { services.quit = {}; });
    QTimer::singleShot(500, s.window.get(), [&] { s.window->SpeedButton3->click(); });
    QVERIFY(s.poll("Online now: 1 | anna"));
    QCOMPARE(s.status(), u"Status: The arrival mail was cut short"_s);
    QCOMPARE(s.window->roster().state(0), u"off"_s);
}

QTEST_MAIN(TestMail)
#include "tst_mail.moc"
