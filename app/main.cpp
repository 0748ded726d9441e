// Entry point: builds the window with the settings this build was configured with.
#include "app/loginusername.h"
#include "notify/smtpmailer.h"
#include "ui/soundchime.h"
#include "ui/ttavik.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavik"));
    // The window lives on when hidden; only its close request ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    TavikServices services;
    services.chatPageUrl = QUrl(QStringLiteral(TAVIK_CHAT_PAGE_URL));
    services.credit = QStringLiteral(TAVIK_CREDIT);
    services.workDir = QDir::current();
    services.loginUserName = LoginUserName;
    services.now = [] { return QDateTime::currentDateTime(); };
    services.chime = std::make_unique<SoundChime>();
    parseRelay(QStringLiteral(TAVIK_SMTP_RELAY), services.mail);
    services.mail.senderPrefix = QStringLiteral(TAVIK_MAIL_SENDER_PREFIX);
    services.mail.domain = QStringLiteral(TAVIK_MAIL_DOMAIN);
    services.mail.recipient = QStringLiteral(TAVIK_MAIL_RECIPIENT);
    services.mailer =
        std::make_unique<SmtpMailer>(services.mail.relayHost, services.mail.relayPort);

    TTavik window(std::move(services));
    window.start();
    return QApplication::exec();
}
