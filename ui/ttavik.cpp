#include "ui/ttavik.h"

#include "app/chatlinkfile.h"
#include "app/tavikerror.h"
#include "notify/mailer.h"
#include "presence/chime.h"
#include "presence/pagefetcher.h"
#include "presence/presencematch.h"
#include "presence/presencereader.h"
#include "roster/rosterfile.h"
#include "ui/frame/tframe1.h"
#include "ui/friend/tframe2.h"
#include "ui/skin.h"
#include "ui/windowdragger.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QColor StatusOkColour{0, 254, 0};
const QColor StatusErrorColour{254, 0, 0};
const QColor WindowColour{255, 255, 255};

QFont pixelFont(int pixels, bool bold = false) {
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"DejaVu Sans"_s, u"Sans Serif"_s});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font,
                  const QColor& colour, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    setTextColour(label, colour);
    label->move(geometry.topLeft());
    if (geometry.size().isEmpty())
        label->adjustSize();
    else
        label->resize(geometry.size());
    return label;
}

const QString ButtonStyle = uR"(
QPushButton, QToolButton { color: black; background: #d8dce4; border: 1px solid #5a6478;
                           border-radius: 3px; padding: 0px; font-size: 11px; }
QToolButton { background: #b8c0d0; }
QPushButton:hover, QToolButton:hover { background: #eef1f6; }
QPushButton:pressed, QToolButton:pressed { background: #9aa4b8; }
QPushButton:focus { border: 1px solid #1f2a44; }
)"_s;

} // namespace

TTavik::TTavik(TavikServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , services_(std::move(services))
    , skin_(Skin::picture())
    , NMHTTP1(new PageFetcher(this)) {
    setObjectName(u"TTavik"_s);
    setWindowTitle(u"tavik"_s);
    setWindowIcon(QIcon(u":/tavik.png"_s));
    setFont(pixelFont(11));
    setFixedSize(508, 324);
    move(225, 226);

    Image2 = new QLabel(this);
    Image2->setObjectName(u"Image2"_s);
    Image2->setGeometry(0, 0, 508, 324);
    Image2->setPixmap(QPixmap::fromImage(skin_));

    Label1 = makeLabel(this, u"Label1"_s, {24, 112, 233, 177}, pixelFont(11), WindowColour);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2 =
        makeLabel(this, u"Label2"_s, {264, 80, 201, 209}, pixelFont(15, true), QColor(255, 255, 0));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3 =
        makeLabel(this, u"Label3"_s, {264, 64, 0, 0}, pixelFont(13), WindowColour, u"Friends:"_s);
    Label4 = makeLabel(this, u"Label4"_s, {250, 296, 0, 0}, pixelFont(11), Qt::white);
    // The status line wraps within its own room instead of running under the identity line; the
    // whole message is also its tool tip.
    Label5 = makeLabel(this, u"Label5"_s, {24, 295, 222, 28}, pixelFont(11), WindowColour,
                       u"Status: "_s);
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const auto makeButton = [this](auto* button, const QString& name, const QString& text,
                                   QRect geometry) {
        button->setObjectName(name);
        button->setText(text);
        button->setGeometry(geometry);
        button->setStyleSheet(ButtonStyle);
        button->setCursor(Qt::PointingHandCursor);
        return button;
    };
    Button1 = makeButton(new QPushButton(this), u"Button1"_s, u"update"_s, {24, 64, 72, 17});
    Button2 = makeButton(new QPushButton(this), u"Button2"_s, u"chat"_s, {112, 64, 72, 17});
    SpeedButton1 =
        makeButton(new QToolButton(this), u"SpeedButton1"_s, u"config"_s, {24, 88, 72, 17});
    SpeedButton2 =
        makeButton(new QToolButton(this), u"SpeedButton2"_s, u"friends"_s, {112, 88, 72, 17});
    SpeedButton3 = makeButton(new QToolButton(this), u"SpeedButton3"_s, u"X"_s, {200, 88, 17, 17});
    for (QToolButton* button : {SpeedButton1, SpeedButton2, SpeedButton3}) {
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    SpeedButton3->setStyleSheet(ButtonStyle + u"QToolButton { font-weight: bold; }"_s);
    SpeedButton3->setToolTip(u"Close"_s);

    TFrame11 = new TFrame1(settings_, services_.workDir, this);
    TFrame21 = new TFrame2(roster_, services_.workDir, this);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, TFrame11);
    setTabOrder(TFrame11, TFrame21);

    dragger_ = new WindowDragger(this, services_.startMove);
    const QList<QWidget*> surfaces{this, Image2, Label1, Label2, Label3, TFrame11, TFrame21};
    for (QWidget* surface : surfaces)
        dragger_->addSurface(surface);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(PollIntervalMs);

    connect(Timer1, &QTimer::timeout, this, &TTavik::Button1Click);
    connect(Button1, &QPushButton::clicked, this, &TTavik::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TTavik::Button2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TTavik::ChangeUserClick);
    connect(SpeedButton2, &QToolButton::clicked, this, &TTavik::ChangeFriends);
    connect(SpeedButton3, &QToolButton::clicked, this, &TTavik::SpeedButton3Click);
    connect(NMHTTP1, &PageFetcher::pageOk, this, [this](const QString& page) {
        guarded([&] { PageOk(page); });
        pollOutstanding_ = false;
    });
    connect(NMHTTP1, &PageFetcher::failed, this, &TTavik::pollFailed);

    connect(TFrame21->Button3, &QPushButton::clicked, this,
            [this] { guarded([this] { TFrame21->AddFriend(); }); });
    connect(TFrame21->Edit1, &QLineEdit::returnPressed, TFrame21->Button3, &QPushButton::click);
    connect(TFrame21->Button1, &QPushButton::clicked, this,
            [this] { guarded([this] { TFrame21->SaveToFile(); }); });
    connect(TFrame21, &TFrame2::saved, this, &TTavik::Cancel);
    connect(TFrame21->Button2, &QPushButton::clicked, this, &TTavik::Cancel);
    connect(TFrame11->Button1, &QPushButton::clicked, this,
            [this] { guarded([this] { TFrame11->SaveConfig(); }); });
    connect(TFrame11, &TFrame1::userNameChanged, this, &TTavik::setIdentityLine);
    connect(TFrame11->Button2, &QPushButton::clicked, this, &TTavik::Cancel);

    // The timer runs from the window's creation on; its first tick comes one interval later.
    Timer1->start();
}

TTavik::~TTavik() = default;

template <typename Handler> void TTavik::guarded(Handler&& handler) {
    try {
        handler();
    } catch (const TavikError& error) {
        MyExceptionHandler(error.message());
    } catch (const std::exception& error) {
        MyExceptionHandler(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        MyExceptionHandler(u"Unexpected error"_s);
    }
}

void TTavik::FormCreate() {
    // The window is cut to the skin's shape instead of being painted transparent.
    const QRegion shape = Skin::shapeMask(skin_);
    if (!shape.isEmpty())
        setMask(shape);
}

void TTavik::start() {
    FormCreate();
    bool ready = false;
    guarded([this, &ready] {
        settings_.UserName = services_.loginUserName ? services_.loginUserName() : QString();
        settings_.Destination = u"not used"_s;
        setIdentityLine();
        settings_.ChatLink = services_.chatPageUrl.toString();
        ChatLinkFile::read(services_.workDir, settings_.UserName, settings_.ChatLink);
        RosterFile::loadOrCreate(roster_, services_.workDir);
        ready = true;
    });
    show();
    if (ready)
        Button1Click();
}

void TTavik::setIdentityLine() {
    Label4->setText(settings_.UserName + u"  --  v1.10  -  "_s + services_.credit);
    Label4->adjustSize();
}

void TTavik::setStatusOk() {
    Label5->setText(u"Status: OK"_s);
    Label5->setToolTip(QString());
    setTextColour(Label5, StatusOkColour);
}

void TTavik::MyExceptionHandler(const QString& message) {
    Label5->setText(u"Status: "_s + message);
    Label5->setToolTip(Label5->text());
    setTextColour(Label5, StatusErrorColour);
}

void TTavik::Button1Click() {
    // A tick or click while a poll is under way is dropped; the next one polls again.
    if (pollOutstanding_)
        return;
    guarded([this] {
        if (!NMHTTP1->get(services_.chatPageUrl))
            return;
        pollOutstanding_ = true;
    });
}

void TTavik::pollFailed(const QString& message) {
    pollOutstanding_ = false;
    MyExceptionHandler(message);
}

void TTavik::PageOk(const QString& page) {
    const PresenceReading reading = readPresence(page);
    if (!reading.found)
        throw TavikError(u"No presence line on the chat page"_s);

    QFont summaryFont = Label1->font();
    summaryFont.setPointSize(6);
    Label1->setFont(summaryFont);

    const QDateTime now = services_.now ? services_.now() : QDateTime::currentDateTime();
    const QString stamp = Presence::timeStamp(now);
    Label2->clear();

    Presence::MatchResult result;
    const auto onArrival = [this](const QString& name) {
        if (Presence::isOwner(settings_.UserName))
            Mail(name);
    };
    try {
        Presence::matchRoster(reading.entries, roster_, onArrival, result);
    } catch (...) {
        // What was matched before the failure stays listed.
        Label2->setText(Presence::forDisplay(result.friendsOnline));
        throw;
    }
    Label2->setText(Presence::forDisplay(result.friendsOnline));
    Label1->setText(Presence::forDisplay(Presence::summary(reading.count, reading.entries, stamp)));

    if (result.arrivals > 0 && services_.chime)
        services_.chime->play();
    setStatusOk();
}

void TTavik::Mail(const QString& friendName) {
    if (!services_.mailer)
        throw TavikError(u"Cannot send the arrival mail: no mail relay is set up"_s);
    const QDateTime now = services_.now ? services_.now() : QDateTime::currentDateTime();
    services_.mailer->send(arrivalNotice(services_.mail, settings_.UserName, friendName,
                                         Presence::timeStamp(now), now));
}

void TTavik::Button2Click() {
    const QString link = settings_.ChatLink.trimmed();
    if (link.isEmpty())
        return;
    // Opened by the desktop's browser, never through a shell; a failure stays silent.
    const QUrl url = QUrl::fromUserInput(link);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void TTavik::ChangeUserClick() {
    TFrame21->hide();
    TFrame11->show();
    TFrame11->raise();
    guarded([this] { TFrame11->load(); });
}

void TTavik::ChangeFriends() {
    TFrame11->hide();
    TFrame21->show();
    TFrame21->raise();
    TFrame21->rebuildList();
}

void TTavik::Cancel() {
    TFrame11->hide();
    TFrame21->hide();
}

void TTavik::SpeedButton3Click() {
    close();
}

bool TTavik::FormCloseQuery() {
    // Nothing is saved on the way out.
    if (services_.quit)
        services_.quit();
    else
        QCoreApplication::exit(0);
    return true;
}

void TTavik::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}
