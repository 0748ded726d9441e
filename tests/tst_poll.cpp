// The poll cycle end to end: a real HTTP server on 127.0.0.1, the window's texts, states,
// chime and arrival mails.
#include "presence/pagefetcher.h"
#include "presence/presencematch.h"
#include "support/httpserver.h"
#include "support/smtpsink.h"
#include "support/tavikfixture.h"
#include "support/tempdir.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Page = u"/chat/index.html"_s;

// A started window polling the test server, with "friends.txt" holding the given names.
struct Session {
    explicit Session(const QByteArray& friends, const QString& login = u"anna"_s) {
        temp.write(u"friends.txt"_s, friends);
        window =
            std::make_unique<TTavik>(testServices(observed, temp.dir(), server.url(Page), login));
    }

    // Starts the window; its first poll runs against the current answer.
    void start(const QByteArray& presenceLine) {
        server.setPresence(Page, presenceLine);
        window->start();
        QVERIFY(waitForPoll(1));
    }

    // Clicks "update" and waits until the server saw the request and the window handled it.
    bool poll(const QByteArray& presenceLine) {
        server.setPresence(Page, presenceLine);
        return pollAgain();
    }
    bool pollAgain() {
        const qsizetype before = server.requests().size();
        window->Button1->click();
        return waitForPoll(before + 1);
    }
    bool waitForPoll(qsizetype requests) {
        return QTest::qWaitFor(
            [&] { return server.requests().size() >= requests && !window->polling(); }, 10000);
    }

    QStringList states() const {
        QStringList result;
        for (qsizetype i = 0; i < window->roster().count(); ++i)
            result.append(window->roster().state(i));
        return result;
    }
    QString status() const { return window->Label5->text(); }
    QColor statusColour() const { return window->Label5->palette().color(QPalette::WindowText); }

    Observed observed;
    TempDir temp;
    HttpServer server;
    std::unique_ptr<TTavik> window;
};

const QColor Green{0, 254, 0};
const QColor Red{254, 0, 0};

} // namespace

class TestPoll : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void successfulPollWritesTexts();
    void arrivalsChimeOncePerPoll();
    void ownerMailsEachArrivalInRosterOrder_data();
    void ownerMailsEachArrivalInRosterOrder();
    void failingMailIsRetriedAtNextPoll();
    void failedPollsKeepLastGoodState_data();
    void failedPollsKeepLastGoodState();
    void pageWithoutPresenceLineCausesNoArrival();
    void stalledServerTimesOutThenRecovers();
    void refusedConnectionIsShown();
    void overlappingPollIsSkipped();
    void redirectIsFollowed();
    void timerPolls();
};

void TestPoll::successfulPollWritesTexts() {
    Session s("anna\r\nbob\r\n");
    s.start("Online now: 3 | Anna | bob_7 | chris");

    const QString stamp = Presence::timeStamp(QDateTime(QDate(2003, 12, 9), QTime(21, 4, 17)));
    QCOMPARE(s.window->Label1->text(),
             u"Online now:  3 people\n\nanna | bob_7 | chris\n\n"_s + stamp);
    QCOMPARE(s.window->Label1->font().pointSize(), 6);
    QCOMPARE(s.window->Label2->text(), u"anna\nbob_7\n"_s);
    QCOMPARE(s.states(), (QStringList{u"on"_s, u"on"_s}));
    QCOMPARE(s.status(), u"Status: OK"_s);
    QCOMPARE(s.statusColour(), Green);
    QCOMPARE(s.server.requests(), QList<QByteArray>{"/chat/index.html"});
}

void TestPoll::arrivalsChimeOncePerPoll() {
    Session s("anna\r\nbob\r\n");
    s.start("Online now: 2 | anna | bob");
    QCOMPARE(s.observed.chimes, 1); // two arrivals, one chime

    QVERIFY(s.poll("Online now: 2 | anna | bob"));
    QCOMPARE(s.observed.chimes, 1); // still there: no arrival

    QVERIFY(s.poll("Online now: 1 | bob"));
    QCOMPARE(s.states(), (QStringList{u"off"_s, u"on"_s}));
    QCOMPARE(s.window->Label2->text(), u"bob\n"_s);
    QCOMPARE(s.observed.chimes, 1);

    QVERIFY(s.poll("Online now: 2 | bob | anna"));
    QCOMPARE(s.observed.chimes, 2); // anna came back

    QVERIFY(s.poll("Online now: 0"));
    QCOMPARE(s.states(), (QStringList{u"off"_s, u"off"_s}));
    QCOMPARE(s.window->Label2->text(), u""_s);
    QVERIFY(s.window->Label1->text().startsWith(u"Online now:  0 people\n\n\n\n"_s));
}

void TestPoll::ownerMailsEachArrivalInRosterOrder_data() {
    QTest::addColumn<QString>("login");
    QTest::addColumn<QStringList>("mails");
    QTest::newRow("owner") << u"Tavik"_s
                           << QStringList{u"bob in chat now!"_s, u"anna in chat now!"_s};
    QTest::newRow("lower-case tavik") << u"tavik"_s << QStringList{};
    QTest::newRow("other user") << u"Tav"_s << QStringList{};
}

void TestPoll::ownerMailsEachArrivalInRosterOrder() {
    QFETCH(QString, login);
    QFETCH(QStringList, mails);
    Session s("bob\r\nanna\r\n", login);
    s.start("Online now: 2 | anna | bob");
    QCOMPARE(s.observed.mailedTo, mails);
    QCOMPARE(s.observed.chimes, 1);
    QVERIFY(s.poll("Online now: 2 | anna | bob"));
    QCOMPARE(s.observed.mailedTo, mails); // no new arrival, no new mail
}

void TestPoll::failingMailIsRetriedAtNextPoll() {
    Session s("anna\r\nbob\r\n", u"Tavik"_s);
    s.start("Online now: 1 | chris");
    const QString summaryBefore = s.window->Label1->text();

    s.observed.mailFailure = u"Cannot send the arrival mail: relay down"_s;
    QVERIFY(s.poll("Online now: 2 | anna | bob"));
    QCOMPARE(s.status(), u"Status: Cannot send the arrival mail: relay down"_s);
    QCOMPARE(s.statusColour(), Red);
    QCOMPARE(s.states(), (QStringList{u"off"_s, u"off"_s}));
    QCOMPARE(s.window->Label2->text(), u"anna\n"_s); // what was matched before the failure
    QCOMPARE(s.window->Label1->text(), summaryBefore);
    QCOMPARE(s.observed.chimes, 0);

    s.observed.mailFailure.clear();
    QVERIFY(s.pollAgain());
    QCOMPARE(s.observed.mailedTo, (QStringList{u"anna in chat now!"_s, u"bob in chat now!"_s}));
    QCOMPARE(s.status(), u"Status: OK"_s);
    QVERIFY(s.pollAgain());
    QCOMPARE(s.observed.mailedTo.size(), 2);
}

void TestPoll::failedPollsKeepLastGoodState_data() {
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<QString>("status");

    HttpAnswer notFound;
    notFound.status = 404;
    notFound.reason = "Not Found";
    QTest::newRow("404") << notFound << u"Status: The chat page answered 404 Not Found"_s;
    HttpAnswer serverError;
    serverError.status = 500;
    serverError.reason = "Internal Server Error";
    serverError.body = chatPage("Online now: 0");
    QTest::newRow("500 with a page")
        << serverError << u"Status: The chat page answered 500 Internal Server Error"_s;
    HttpAnswer login;
    login.body = "<html><body>Please log in</body></html>";
    QTest::newRow("no presence line") << login << u"Status: No presence line on the chat page"_s;
    HttpAnswer huge;
    huge.body = QByteArray(9 * 1024 * 1024, 'x');
    QTest::newRow("page over 8 MiB") << huge << u"Status: The chat page is larger than 8 MiB"_s;
}

void TestPoll::failedPollsKeepLastGoodState() {
    QFETCH(HttpAnswer, answer);
    QFETCH(QString, status);
    Session s("anna\r\nbob\r\n");
    s.start("Online now: 1 | anna");
    const QString summary = s.window->Label1->text();

    s.server.setAnswer(Page, answer);
    QVERIFY(s.pollAgain());
    QCOMPARE(s.status(), status);
    QCOMPARE(s.statusColour(), Red);
    QCOMPARE(s.states(), (QStringList{u"on"_s, u"off"_s}));
    QCOMPARE(s.window->Label1->text(), summary);
    QCOMPARE(s.window->Label2->text(), u"anna\n"_s);

    QVERIFY(s.poll("Online now: 1 | anna"));
    QCOMPARE(s.status(), u"Status: OK"_s);
    QCOMPARE(s.statusColour(), Green);
}

void TestPoll::pageWithoutPresenceLineCausesNoArrival() {
    Session s("anna\r\n", u"Tavik"_s);
    s.start("Online now: 1 | anna");
    QCOMPARE(s.observed.chimes, 1);
    HttpAnswer maintenance;
    maintenance.body = "<html><body><font>Down for maintenance | back soon</font></body></html>";
    s.server.setAnswer(Page, maintenance);
    QVERIFY(s.pollAgain());
    QVERIFY(s.poll("Online now: 1 | anna"));
    QCOMPARE(s.observed.chimes, 1);
    QCOMPARE(s.observed.mailedTo.size(), 1);
}

void TestPoll::stalledServerTimesOutThenRecovers() {
    Session s("anna\r\n");
    s.window->fetcher()->setStallTimeout(std::chrono::milliseconds(300));
    HttpAnswer silent;
    silent.stall = true;
    s.server.setAnswer(Page, silent);
    s.window->start();
    QTRY_COMPARE_WITH_TIMEOUT(s.status(), u"Status: The chat page did not answer within 1 s"_s,
                              5000);
    QCOMPARE(s.statusColour(), Red);

    QVERIFY(s.poll("Online now: 1 | anna"));
    QCOMPARE(s.status(), u"Status: OK"_s);
    QCOMPARE(s.states(), QStringList{u"on"_s});
}

void TestPoll::refusedConnectionIsShown() {
    Observed observed;
    TempDir temp;
    const QUrl nowhere(u"http://127.0.0.1:%1/chat/index.html"_s.arg(closedPort()));
    TTavik window(testServices(observed, temp.dir(), nowhere));
    window.start();
    QTRY_COMPARE(window.Label5->text(),
                 u"Status: Cannot fetch the chat page: Connection refused"_s);
    QCOMPARE(window.Label5->palette().color(QPalette::WindowText), Red);
    QCOMPARE(window.roster().names(), (QStringList{u"tavik"_s, u"morlo"_s}));
}

void TestPoll::overlappingPollIsSkipped() {
    Session s("anna\r\n");
    HttpAnswer silent;
    silent.stall = true;
    s.server.setAnswer(Page, silent);
    s.window->fetcher()->setStallTimeout(std::chrono::milliseconds(500));
    s.window->start();
    QTRY_COMPARE(s.server.requests().size(), 1);
    s.window->Button1->click();
    s.window->Button1->click();
    QTRY_VERIFY(!s.window->polling());
    QCOMPARE(s.server.requests().size(), 1);
}

void TestPoll::redirectIsFollowed() {
    Session s("anna\r\n");
    HttpAnswer moved;
    moved.status = 302;
    moved.reason = "Found";
    moved.headers = {{"Location", "/chat/new.html"}};
    s.server.setAnswer(Page, moved);
    s.server.setPresence(u"/chat/new.html"_s, "Online now: 1 | anna");
    s.window->start();
    QTRY_COMPARE(s.status(), u"Status: OK"_s);
    QCOMPARE(s.server.requests(), (QList<QByteArray>{"/chat/index.html", "/chat/new.html"}));
    QCOMPARE(s.states(), QStringList{u"on"_s});
}

void TestPoll::timerPolls() {
    Session s("anna\r\n");
    s.start("Online now: 0");
    QCOMPARE(s.window->Timer1->interval(), TTavik::PollIntervalMs);
    s.window->Timer1->setInterval(50);
    s.server.setPresence(Page, "Online now: 1 | anna");
    QTRY_COMPARE(s.states(), QStringList{u"on"_s});
    QVERIFY(s.server.requests().size() >= 2);
}

QTEST_MAIN(TestPoll)
#include "tst_poll.moc"
