// The skinned main window: controls, shape, start-up, errors, dragging and closing.
#include "support/httpserver.h"
#include "support/tavikfixture.h"
#include "support/tempdir.h"
#include "ui/frame/tframe1.h"
#include "ui/friend/tframe2.h"
#include "ui/skin.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controls_data();
    void controls();
    void shapeFollowsSkin();
    void startUpReadsSettingsAndRoster();
    void startUpErrorIsShownAndWindowStillShows();
    void errorsAreRedUntilCleared();
    void dragging_data();
    void dragging();
    void closing();
};

void TestWindow::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    // An empty size means the control sizes itself to its text.
    QTest::newRow("Label1") << u"Label1"_s << u""_s << QRect(24, 112, 233, 177);
    QTest::newRow("Label2") << u"Label2"_s << u""_s << QRect(264, 80, 201, 209);
    QTest::newRow("Label3") << u"Label3"_s << u"Friends:"_s << QRect(264, 64, 0, 0);
    QTest::newRow("Label5") << u"Label5"_s << u"Status: "_s << QRect(24, 295, 222, 28);
    QTest::newRow("Button1") << u"Button1"_s << u"update"_s << QRect(24, 64, 72, 17);
    QTest::newRow("Button2") << u"Button2"_s << u"chat"_s << QRect(112, 64, 72, 17);
    QTest::newRow("SpeedButton1") << u"SpeedButton1"_s << u"config"_s << QRect(24, 88, 72, 17);
    QTest::newRow("SpeedButton2") << u"SpeedButton2"_s << u"friends"_s << QRect(112, 88, 72, 17);
    QTest::newRow("SpeedButton3") << u"SpeedButton3"_s << u"X"_s << QRect(200, 88, 17, 17);
    QTest::newRow("TFrame11") << u"TFrame11"_s << QString() << QRect(16, 112, 473, 177);
    QTest::newRow("TFrame21") << u"TFrame21"_s << QString() << QRect(16, 112, 473, 177);
    QTest::newRow("Image2") << u"Image2"_s << QString() << QRect(0, 0, 508, 324);
}

void TestWindow::controls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    Observed observed;
    TempDir temp;
    TTavik window(
        testServices(observed, temp.dir(), QUrl(u"http://127.0.0.1:9/chat/index.html"_s)));

    auto* widget = window.findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->parentWidget(), &window);
    QCOMPARE(widget->pos(), geometry.topLeft());
    if (!geometry.size().isEmpty())
        QCOMPARE(widget->size(), geometry.size());
    if (auto* label = qobject_cast<QLabel*>(widget); label && !text.isNull())
        QCOMPARE(label->text(), text);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->text(), text);
    if (name.startsWith(u"TFrame"_s)) {
        QVERIFY(widget->isHidden());
        QCOMPARE(widget->palette().color(QPalette::Window), QColor(160, 160, 164));
    }
    if (name.startsWith(u"SpeedButton"_s))
        QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    QCOMPARE(window.size(), QSize(508, 324));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!(window.windowFlags() & Qt::WindowStaysOnTopHint));
}

void TestWindow::shapeFollowsSkin() {
    const QImage skin = Skin::picture();
    QCOMPARE(skin.size(), QSize(508, 324));
    const QColor key = skin.pixelColor(0, skin.height() - 1);
    QVERIFY(key != QColor(0, 0, 255));

    Observed observed;
    TempDir temp;
    TTavik window(
        testServices(observed, temp.dir(), QUrl(u"http://127.0.0.1:9/chat/index.html"_s)));
    window.start();
    const QRegion shape = window.mask();
    const auto covers = [&shape](const QRect& rect) {
        return shape.intersected(rect) == QRegion(rect);
    };
    QVERIFY(!shape.contains(QPoint(0, 323))); // the key-coloured corner
    QVERIFY(!shape.contains(QPoint(507, 0)));
    QVERIFY(covers(QRect(16, 112, 473, 177))); // where the panels and texts lie
    QVERIFY(covers(QRect(24, 64, 193, 41)));   // the buttons
    QVERIFY(covers(QRect(24, 294, 460, 16)));  // the status and identity lines

    // A pure blue pixel inside the skin is see-through too.
    QImage holed = skin;
    holed.setPixelColor(100, 150, QColor(0, 0, 255));
    const QRegion holedShape = Skin::shapeMask(holed);
    QVERIFY(!holedShape.contains(QPoint(100, 150)));
    QVERIFY(holedShape.contains(QPoint(101, 150)));
}

void TestWindow::startUpReadsSettingsAndRoster() {
    Observed observed;
    TempDir temp;
    temp.write(u"friends.txt"_s, "anna\r\nbob\r\n");
    temp.write(u"kim.url"_s, "http://chat.example/kim\r\n");
    HttpServer server;
    server.setPresence(u"/chat/index.html"_s, "Online now: 0</font>");
    TTavik window(testServices(observed, temp.dir(), server.url(u"/chat/index.html"_s), u"kim"_s));

    window.start();

    QVERIFY(window.isVisible());
    QCOMPARE(window.settings().UserName, u"kim"_s);
    QCOMPARE(window.settings().Destination, u"not used"_s);
    QCOMPARE(window.settings().ChatLink, u"http://chat.example/kim"_s);
    QCOMPARE(window.Label4->text(), u"kim  --  v1.10  -  test credit"_s);
    QCOMPARE(window.roster().names(), (QStringList{u"anna"_s, u"bob"_s}));
    QVERIFY(window.Timer1->isActive());
    QCOMPARE(window.Timer1->interval(), 60000);
    // The first poll runs at start-up.
    QTRY_COMPARE(server.requests().size(), 1);
    QTRY_COMPARE(window.Label5->text(), u"Status: OK"_s);
}

void TestWindow::startUpErrorIsShownAndWindowStillShows() {
    Observed observed;
    TempDir temp;
    HttpServer server;
    // A working directory that cannot take the new friends file.
    const QDir gone(temp.path(u"removed"_s));
    TTavik window(testServices(observed, gone, server.url(u"/chat/index.html"_s)));

    window.start();

    QVERIFY(window.isVisible());
    QVERIFY2(window.Label5->text().startsWith(u"Status: Cannot create friends.txt: "_s),
             qPrintable(window.Label5->text()));
    QVERIFY(window.Label5->text().size() > u"Status: Cannot create friends.txt: "_s.size());
    QCOMPARE(window.Label5->palette().color(QPalette::WindowText), QColor(254, 0, 0));
    QCOMPARE(window.Label4->text(), u"anna  --  v1.10  -  test credit"_s);
    QVERIFY(window.Timer1->isActive());
    // The rest of the start-up, the first poll included, is skipped.
    QTest::qWait(100);
    QCOMPARE(server.requests().size(), 0);
}

void TestWindow::errorsAreRedUntilCleared() {
    Observed observed;
    TempDir temp;
    TTavik window(
        testServices(observed, temp.dir(), QUrl(u"http://127.0.0.1:9/chat/index.html"_s)));
    window.MyExceptionHandler(u"Something broke"_s);
    QCOMPARE(window.Label5->text(), u"Status: Something broke"_s);
    QCOMPARE(window.Label5->palette().color(QPalette::WindowText), QColor(254, 0, 0));
    window.MyExceptionHandler(u"Another"_s);
    QCOMPARE(window.Label5->text(), u"Status: Another"_s);
}

void TestWindow::dragging_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("skin") << u"Image2"_s << true << QPoint(-1, -1);
    QTest::newRow("summary text") << u"Label1"_s << true << QPoint(-1, -1);
    QTest::newRow("friends text") << u"Label2"_s << true << QPoint(20, 10);
    QTest::newRow("friends caption") << u"Label3"_s << true << QPoint(-1, -1);
    QTest::newRow("settings panel background") << u"TFrame11"_s << true << QPoint(5, 5);
    QTest::newRow("friends panel background") << u"TFrame21"_s << true << QPoint(300, 120);
    QTest::newRow("identity line") << u"Label4"_s << false << QPoint(-1, -1);
    QTest::newRow("status line") << u"Label5"_s << false << QPoint(-1, -1);
    QTest::newRow("update button") << u"Button1"_s << false << QPoint(-1, -1);
    QTest::newRow("close button") << u"SpeedButton3"_s << false << QPoint(-1, -1);
    QTest::newRow("label inside settings panel") << u"TFrame11/Label1"_s << false << QPoint(-1, -1);
    QTest::newRow("edit inside friends panel") << u"TFrame21/Edit1"_s << false << QPoint(-1, -1);
}

void TestWindow::dragging() {
    QFETCH(QString, path);
    QFETCH(bool, moves);
    QFETCH(QPoint, at);
    Observed observed;
    TempDir temp;
    TTavik window(
        testServices(observed, temp.dir(), QUrl(u"http://127.0.0.1:9/chat/index.html"_s)));
    window.start();
    if (path.startsWith(u"TFrame11"_s))
        window.ChangeUserClick();
    if (path.startsWith(u"TFrame21"_s))
        window.ChangeFriends();

    QWidget* target = &window;
    for (const QString& name : path.split(u'/'))
        target = target->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(target);
    // A point of the control that nothing else covers.
    if (at == QPoint(-1, -1))
        at = target->rect().center();

    QMouseEvent hover(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &hover);
    QCOMPARE(observed.moves, 0);

    QMouseEvent drag(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &drag);
    QCOMPARE(observed.moves, moves ? 1 : 0);
}

void TestWindow::closing() {
    Observed observed;
    TempDir temp;
    temp.write(u"friends.txt"_s, "anna\r\n");
    TTavik window(
        testServices(observed, temp.dir(), QUrl(u"http://127.0.0.1:9/chat/index.html"_s)));
    window.start();
    window.ChangeFriends();
    window.TFrame21->Edit1->setText(u"unsaved"_s);
    window.TFrame21->Button3->click();

    QTest::mouseClick(window.SpeedButton3, Qt::LeftButton);
    QCOMPARE(observed.quits, 1);
    QVERIFY(!window.isVisible());
    window.show();
    QVERIFY(window.close());
    QCOMPARE(observed.quits, 2);
    // Nothing is saved on the way out.
    QCOMPARE(temp.read(u"friends.txt"_s), QByteArray("anna\r\n"));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
