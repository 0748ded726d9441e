// Builds the main window for tests with observable chime, mailer and quit.
#pragma once

#include "app/tavikerror.h"
#include "notify/mailer.h"
#include "notify/mailmessage.h"
#include "presence/chime.h"
#include "ui/ttavik.h"

#include <QStringList>

#include <memory>

struct Observed {
    int chimes = 0;
    int quits = 0;
    int moves = 0;
    QStringList mailedTo; // subjects of the mails, in order
    QString mailFailure;  // when set, every mail fails with this message
};

class CountingChime : public Chime {
public:
    explicit CountingChime(Observed& observed)
        : observed_(observed) {}
    void play() override { ++observed_.chimes; }

private:
    Observed& observed_;
};

class RecordingMailer : public Mailer {
public:
    explicit RecordingMailer(Observed& observed)
        : observed_(observed) {}
    void send(const MailMessage& message) override {
        if (!observed_.mailFailure.isEmpty())
            throw TavikError(observed_.mailFailure);
        const QByteArray subject = message.data.mid(message.data.indexOf("Subject: ") + 9);
        observed_.mailedTo.append(QString::fromUtf8(subject.left(subject.indexOf("\r\n"))));
    }

private:
    Observed& observed_;
};

inline TavikServices testServices(Observed& observed, const QDir& dir, const QUrl& chatPage,
                                  const QString& loginName = QStringLiteral("anna")) {
    TavikServices services;
    services.chatPageUrl = chatPage;
    services.credit = QStringLiteral("test credit");
    services.workDir = dir;
    services.loginUserName = [loginName] { return loginName; };
    services.now = [] { return QDateTime(QDate(2003, 12, 9), QTime(21, 4, 17)); };
    services.chime = std::make_unique<CountingChime>(observed);
    services.mailer = std::make_unique<RecordingMailer>(observed);
    services.mail.senderPrefix = QStringLiteral("notice-");
    services.mail.domain = QStringLiteral("example.org");
    services.mail.recipient = QStringLiteral("arrivals@example.org");
    services.quit = [&observed] { ++observed.quits; };
    services.startMove = [&observed] { ++observed.moves; };
    return services;
}
