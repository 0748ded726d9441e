// Sends one message; the poll waits for it.
#pragma once

struct MailMessage;

class Mailer {
public:
    virtual ~Mailer() = default;
    // Returns once the relay accepted the message; throws TavikError with the reason otherwise.
    virtual void send(const MailMessage& message) = 0;
};
