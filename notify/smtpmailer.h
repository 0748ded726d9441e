// Mails through an SMTP relay with libcurl, keeping the window's event loop running meanwhile.
#pragma once

#include "notify/mailer.h"

#include <QString>

#include <chrono>

class SmtpMailer : public Mailer {
public:
    static constexpr char GreetingName[] = "tavik";

    SmtpMailer(QString host, int port);

    // The whole exchange, connect included, must end within this time.
    void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

    void send(const MailMessage& message) override;

private:
    QString host_;
    int port_;
    std::chrono::milliseconds timeout_{std::chrono::seconds(30)};
};
