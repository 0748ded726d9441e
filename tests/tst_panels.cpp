// The friends panel, the settings panel and the "chat" button.
#include "support/tavikfixture.h"
#include "support/tempdir.h"
#include "ui/frame/tframe1.h"
#include "ui/friend/tframe2.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QUrl ChatPage(u"http://127.0.0.1:9/chat/index.html"_s);

// A started window whose first poll fails quietly against a closed port.
struct Session {
    explicit Session(const QByteArray& friends = "anna\r\nbob\r\n",
                     const QString& login = u"anna"_s) {
        temp.write(u"friends.txt"_s, friends);
        window = std::make_unique<TTavik>(testServices(observed, temp.dir(), ChatPage, login));
        window->start();
        QTRY_VERIFY(!window->Label5->text().endsWith(u": "_s));
    }

    QStringList rows() const {
        QStringList result;
        QTreeWidget* list = window->TFrame21->ListView1;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            result.append(list->topLevelItem(i)->text(0) + u'=' + list->topLevelItem(i)->text(1));
        return result;
    }

    void saveSettings(const QString& user, const QString& destination, const QString& link) {
        window->SpeedButton1->click();
        window->TFrame11->Edit1->setText(user);
        window->TFrame11->Edit2->setText(destination);
        window->TFrame11->Edit3->setText(link);
        window->TFrame11->Button1->click();
    }

    Observed observed;
    TempDir temp;
    std::unique_ptr<TTavik> window;
};

// The next control that Tab reaches.
QWidget* nextTab(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

} // namespace

class TestPanels : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void friendsPanelLayout();
    void openingTwiceRebuildsWithoutDuplicates();
    void addingAppendsAsTypedAndKeepsPanelOpen();
    void saveWritesRosterAndHidesPanels();
    void failedSaveKeepsPanelAndOldFile();
    void panelsSwapAndCancel();

    void settingsPanelLayout();
    void openingRereadsLinkFile();
    void saveOrder_data();
    void saveOrder();
    void unsafeUserNameWritesNothing();
    void savingUnchangedSettingsRewritesNothing();

    void chatButtonOpensLink_data();
    void chatButtonOpensLink();
};

void TestPanels::friendsPanelLayout() {
    Session s;
    TFrame2* panel = s.window->TFrame21;
    const struct {
        QWidget* widget;
        QRect geometry;
    } controls[] = {
        {panel->friends, {16, 8, 41, 17}},       {panel->ListView1, {16, 24, 250, 145}},
        {panel->StaticText1, {288, 24, 78, 17}}, {panel->Edit1, {288, 40, 121, 21}},
        {panel->Button3, {288, 72, 75, 25}},     {panel->Button1, {288, 136, 75, 25}},
        {panel->Button2, {376, 136, 75, 25}},
    };
    // Captions may grow to fit this system's font; nothing else moves or grows.
    for (const auto& control : controls) {
        QCOMPARE(control.widget->pos(), control.geometry.topLeft());
        QCOMPARE(control.widget->height(), control.geometry.height());
        if (qobject_cast<QLabel*>(control.widget))
            QVERIFY(control.widget->width() >=
                    std::max(control.geometry.width(), control.widget->sizeHint().width()));
        else
            QCOMPARE(control.widget->width(), control.geometry.width());
    }
    QCOMPARE(panel->friends->text(), u"Friends:"_s);
    QCOMPARE(panel->StaticText1->text(), u"Add new friend:"_s);
    QCOMPARE(panel->Button3->text(), u"Add"_s);
    QCOMPARE(panel->Button1->text(), u"Save to file"_s);
    QCOMPARE(panel->Button2->text(), u"Cancel"_s);
    QCOMPARE(panel->ListView1->headerItem()->text(0), u"Name"_s);
    QCOMPARE(panel->ListView1->headerItem()->text(1), u"Status"_s);
    QCOMPARE(panel->ListView1->header()->sectionSize(0), 195);
    QCOMPARE(panel->ListView1->header()->sectionSize(1), 50);
    panel->ListView1->header()->resizeSection(0, 400);
    QCOMPARE(panel->ListView1->header()->sectionSize(0), 195);
    panel->ListView1->header()->resizeSection(0, 10);
    QCOMPARE(panel->ListView1->header()->sectionSize(0), 80);
    QCOMPARE(panel->Edit1->accessibleName(), u"Add new friend"_s);

    QCOMPARE(nextTab(panel->ListView1), panel->Button1);
    QCOMPARE(nextTab(panel->Button1), panel->Button2);
    QCOMPARE(nextTab(panel->Button2), panel->Edit1);
    QCOMPARE(nextTab(panel->Edit1), panel->Button3);
}

void TestPanels::openingTwiceRebuildsWithoutDuplicates() {
    Session s("anna\r\nbob\r\nanna\r\n");
    s.window->SpeedButton2->click();
    QVERIFY(s.window->TFrame21->isVisible());
    QCOMPARE(s.rows(), (QStringList{u"anna=off"_s, u"bob=off"_s, u"anna=off"_s}));
    s.window->SpeedButton2->click();
    QCOMPARE(s.rows(), (QStringList{u"anna=off"_s, u"bob=off"_s, u"anna=off"_s}));
}

void TestPanels::addingAppendsAsTypedAndKeepsPanelOpen() {
    Session s;
    s.window->SpeedButton2->click();
    TFrame2* panel = s.window->TFrame21;
    for (const QString& name : {u" Chris "_s, u""_s, u"anna"_s}) {
        panel->Edit1->setText(name);
        panel->Button3->click();
        QCOMPARE(panel->Edit1->text(), u""_s);
        QVERIFY(panel->isVisible());
    }
    QCOMPARE(s.rows(), (QStringList{u"anna=off"_s, u"bob=off"_s, u" Chris =off"_s, u"=off"_s,
                                    u"anna=off"_s}));
    QCOMPARE(s.window->roster().names(),
             (QStringList{u"anna"_s, u"bob"_s, u" Chris "_s, u""_s, u"anna"_s}));
    // Nothing is written until "Save to file".
    QCOMPARE(s.temp.read(u"friends.txt"_s), QByteArray("anna\r\nbob\r\n"));
}

void TestPanels::saveWritesRosterAndHidesPanels() {
    Session s;
    s.window->SpeedButton2->click();
    s.window->TFrame21->Edit1->setText(u"jörg"_s);
    s.window->TFrame21->Button3->click();
    s.window->TFrame21->Button3->click(); // an empty name
    s.window->TFrame21->Button1->click();

    QCOMPARE(s.temp.read(u"friends.txt"_s), QByteArray("anna\r\nbob\r\nj\xC3\xB6rg\r\n\r\n"));
    QVERIFY(s.window->TFrame21->isHidden());
    QVERIFY(s.window->TFrame11->isHidden());
}

void TestPanels::failedSaveKeepsPanelAndOldFile() {
    Session s;
    s.window->SpeedButton2->click();
    s.window->TFrame21->Edit1->setText(QString(300, u'z'));
    s.window->TFrame21->Button3->click();
    {
        FileSizeLimit limit(100);
        s.window->TFrame21->Button1->click();
    }
    QVERIFY2(s.window->Label5->text().startsWith(u"Status: Cannot write friends.txt: "_s),
             qPrintable(s.window->Label5->text()));
    QCOMPARE(s.window->Label5->palette().color(QPalette::WindowText), QColor(254, 0, 0));
    QVERIFY(s.window->TFrame21->isVisible());
    QCOMPARE(s.temp.read(u"friends.txt"_s), QByteArray("anna\r\nbob\r\n"));
    QCOMPARE(s.temp.entries(), QStringList{u"friends.txt"_s});
}

void TestPanels::panelsSwapAndCancel() {
    Session s;
    TFrame1* settings = s.window->TFrame11;
    TFrame2* friends = s.window->TFrame21;
    s.window->SpeedButton2->click();
    QVERIFY(friends->isVisible() && settings->isHidden());
    s.window->SpeedButton1->click();
    QVERIFY(settings->isVisible() && friends->isHidden());
    settings->Button2->click();
    QVERIFY(settings->isHidden() && friends->isHidden());
    s.window->SpeedButton2->click();
    friends->Button2->click();
    QVERIFY(settings->isHidden() && friends->isHidden());
}

void TestPanels::settingsPanelLayout() {
    Session s;
    TFrame1* panel = s.window->TFrame11;
    QCOMPARE(panel->Label1->text(), u"Username:"_s);
    QCOMPARE(panel->Label2->text(), u"Destination:"_s);
    QCOMPARE(panel->Label3->text(), u"Chatlink:"_s);
    QCOMPARE(panel->Label1->pos(), QPoint(24, 16));
    QCOMPARE(panel->Label2->pos(), QPoint(24, 48));
    QCOMPARE(panel->Label3->pos(), QPoint(24, 80));
    QVERIFY(panel->Label3->width() >= std::max(50, panel->Label3->sizeHint().width()));
    QCOMPARE(panel->Edit1->geometry(), QRect(104, 12, 121, 21));
    QCOMPARE(panel->Edit2->geometry(), QRect(104, 44, 121, 21));
    QCOMPARE(panel->Edit3->geometry(), QRect(104, 76, 353, 21));
    QCOMPARE(panel->Button1->geometry(), QRect(56, 128, 75, 25));
    QCOMPARE(panel->Button2->geometry(), QRect(152, 128, 75, 25));
    QCOMPARE(panel->Button1->text(), u"Save"_s);
    QCOMPARE(panel->Button2->text(), u"Cancel"_s);
    QCOMPARE(panel->Edit1->accessibleName(), u"Username"_s);
    QCOMPARE(panel->Edit2->accessibleName(), u"Destination"_s);
    QCOMPARE(panel->Edit3->accessibleName(), u"Chatlink"_s);
    QCOMPARE(nextTab(panel->Edit1), panel->Edit2);
    QCOMPARE(nextTab(panel->Edit2), panel->Button1);
    QCOMPARE(nextTab(panel->Button1), panel->Button2);
    QCOMPARE(nextTab(panel->Button2), panel->Edit3);
}

void TestPanels::openingRereadsLinkFile() {
    Session s;
    s.window->SpeedButton1->click();
    QCOMPARE(s.window->TFrame11->Edit1->text(), u"anna"_s);
    QCOMPARE(s.window->TFrame11->Edit2->text(), u"not used"_s);
    QCOMPARE(s.window->TFrame11->Edit3->text(), ChatPage.toString());

    s.temp.write(u"anna.url"_s, "http://edited.example/by-hand\r\n");
    s.window->TFrame11->Button2->click();
    s.window->SpeedButton1->click();
    QCOMPARE(s.window->TFrame11->Edit3->text(), u"http://edited.example/by-hand"_s);
    QCOMPARE(s.window->settings().ChatLink, u"http://edited.example/by-hand"_s);
}

void TestPanels::saveOrder_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("expectedLink");
    QTest::addColumn<QStringList>("files");
    const QString page = ChatPage.toString();
    const QStringList none{u"friends.txt"_s, u"kim.url"_s};

    QTest::newRow("new name with a link file switches to its link")
        << u"kim"_s << page << u"http://kim.example"_s << none;
    QTest::newRow("new name without a link file keeps the link, writes nothing")
        << u"lou"_s << page << page << none;
    QTest::newRow("changed link is written under the new name")
        << u"lou"_s << u"http://lou.example"_s << u"http://lou.example"_s
        << QStringList{u"friends.txt"_s, u"kim.url"_s, u"lou.url"_s};
    QTest::newRow("cleared link is written empty")
        << u"anna"_s << u""_s << u""_s
        << QStringList{u"anna.url"_s, u"friends.txt"_s, u"kim.url"_s};
    QTest::newRow("empty user name uses .url")
        << u""_s << u"http://nobody.example"_s << u"http://nobody.example"_s
        << QStringList{u".url"_s, u"friends.txt"_s, u"kim.url"_s};
}

void TestPanels::saveOrder() {
    QFETCH(QString, user);
    QFETCH(QString, link);
    QFETCH(QString, expectedLink);
    QFETCH(QStringList, files);
    Session s;
    s.temp.write(u"kim.url"_s, "http://kim.example\r\n");

    const QString status = s.window->Label5->text();
    s.saveSettings(user, u"somewhere"_s, link);

    QCOMPARE(s.window->Label5->text(), status);
    QCOMPARE(s.window->settings().UserName, user);
    QCOMPARE(s.window->settings().Destination, u"somewhere"_s);
    QCOMPARE(s.window->settings().ChatLink, expectedLink);
    QCOMPARE(s.window->Label4->text(), user + u"  --  v1.10  -  test credit"_s);
    QCOMPARE(s.temp.entries(), files);
    QCOMPARE(s.temp.read(u"kim.url"_s), QByteArray("http://kim.example\r\n"));
    if (link != ChatPage.toString())
        QCOMPARE(s.temp.read(user + u".url"_s), link.toUtf8() + "\r\n");
    QVERIFY(s.window->TFrame11->isHidden());
}

void TestPanels::unsafeUserNameWritesNothing() {
    Session s;
    s.saveSettings(u"../evil"_s, u"dest"_s, u"http://evil.example"_s);

    QCOMPARE(s.window->Label5->text(),
             u"Status: Invalid user name for the chat-link file: ../evil"_s);
    QCOMPARE(s.window->Label5->palette().color(QPalette::WindowText), QColor(254, 0, 0));
    QCOMPARE(s.window->settings().UserName, u"../evil"_s);
    QCOMPARE(s.window->settings().Destination, u"dest"_s);
    QCOMPARE(s.window->settings().ChatLink, ChatPage.toString());
    QVERIFY(s.window->TFrame11->isVisible());
    QCOMPARE(s.temp.entries(), QStringList{u"friends.txt"_s});
    QVERIFY(!QFile::exists(s.temp.dir().absoluteFilePath(u"../evil.url"_s)));
}

void TestPanels::savingUnchangedSettingsRewritesNothing() {
    Session s;
    // No final line end: a rewrite would add one.
    s.temp.write(u"anna.url"_s, "http://mine.example");
    s.window->SpeedButton1->click();
    QCOMPARE(s.window->TFrame11->Edit3->text(), u"http://mine.example"_s);
    s.window->TFrame11->Button1->click();
    QCOMPARE(s.temp.read(u"anna.url"_s), QByteArray("http://mine.example"));

    // Still re-read: a hand edit made while the panel was open wins.
    s.window->SpeedButton1->click();
    s.temp.write(u"anna.url"_s, "http://edited.example");
    s.window->TFrame11->Button1->click();
    QCOMPARE(s.window->settings().ChatLink, u"http://edited.example"_s);
}

void TestPanels::chatButtonOpensLink_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QList<QUrl>>("opened");
    QTest::newRow("http link") << u"http://chat.example/room?a=1"_s
                               << QList<QUrl>{QUrl(u"http://chat.example/room?a=1"_s)};
    QTest::newRow("link without scheme")
        << u"chat.example/room"_s << QList<QUrl>{QUrl(u"http://chat.example/room"_s)};
    QTest::newRow("shell characters stay in the URL")
        << u"http://chat.example/a;rm -rf ~"_s
        << QList<QUrl>{QUrl(u"http://chat.example/a;rm -rf ~"_s)};
    QTest::newRow("empty link does nothing") << u""_s << QList<QUrl>{};
}

void TestPanels::chatButtonOpensLink() {
    QFETCH(QString, link);
    QFETCH(QList<QUrl>, opened);
    Session s;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(u"http"_s, &catcher, "open");
    s.saveSettings(u"anna"_s, u"not used"_s, link);
    s.window->Button2->click();
    QDesktopServices::unsetUrlHandler(u"http"_s);
    QCOMPARE(catcher.opened, opened);
}

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
