// The program's one window: presence texts, identity and status lines, buttons and two panels.
#pragma once

#include "app/usersettings.h"
#include "notify/mailmessage.h"
#include "roster/roster.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class Chime;
class Mailer;
class PageFetcher;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;
class TFrame1;
class TFrame2;
class WindowDragger;

// What the window needs from outside; tests hand in their own.
struct TavikServices {
    QUrl chatPageUrl;
    QString credit;
    QDir workDir;
    std::function<QString()> loginUserName;
    std::function<QDateTime()> now;
    std::unique_ptr<Chime> chime;
    std::unique_ptr<Mailer> mailer;
    MailSettings mail;
    // Ends the program; by default the application's event loop.
    std::function<void()> quit;
    // Hands a window move to the window system; by default QWindow::startSystemMove.
    std::function<void()> startMove;
};

class TTavik : public QWidget {
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 60000;

    explicit TTavik(TavikServices services, QWidget* parent = nullptr);
    ~TTavik() override;

    // The start-up sequence: settings, roster, showing the window and the first poll.
    void start();

    const UserSettings& settings() const { return settings_; }
    const Roster& roster() const { return roster_; }
    PageFetcher* fetcher() const { return NMHTTP1; }
    // True from the start of a poll until its page was handled or it failed.
    bool polling() const { return pollOutstanding_; }

    // Handlers. Each one shows what escapes it on the status line.
    void Button1Click();
    void Button2Click();
    void ChangeUserClick();
    void ChangeFriends();
    void Cancel();
    void SpeedButton3Click();
    void MyExceptionHandler(const QString& message);

    QLabel* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QPushButton* Button1;
    QPushButton* Button2;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    TFrame1* TFrame11;
    TFrame2* TFrame21;
    QTimer* Timer1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void PageOk(const QString& page);
    void Mail(const QString& friendName);
    void setIdentityLine();
    void setStatusOk();
    void pollFailed(const QString& message);
    template <typename Handler> void guarded(Handler&& handler);

    TavikServices services_;
    // Decoded once: it is both the window's picture and its shape.
    const QImage skin_;
    UserSettings settings_;
    Roster roster_;
    PageFetcher* NMHTTP1;
    WindowDragger* dragger_;
    // Set from the start of a poll until its page is handled; a mail wait keeps events flowing.
    bool pollOutstanding_ = false;
};
