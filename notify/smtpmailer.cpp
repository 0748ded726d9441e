#include "notify/smtpmailer.h"

#include "app/tavikerror.h"
#include "notify/mailmessage.h"

#include <QEventLoop>
#include <QThread>
#include <QUrl>

#include <curl/curl.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

// One exchange; shared with the worker thread, which may outlive a wait cut short by quitting.
struct Exchange {
    QByteArray url;
    QByteArray from;
    QByteArray to;
    QByteArray data;
    qsizetype sent = 0;
    long timeoutMs = 30000;

    std::atomic<bool> finished = false;
    QString error;
    QByteArray refusal;

    void run();
};

size_t readBody(char* buffer, size_t size, size_t count, void* user) {
    auto* exchange = static_cast<Exchange*>(user);
    const size_t room = size * count;
    const size_t left = static_cast<size_t>(exchange->data.size() - exchange->sent);
    const size_t n = std::min(room, left);
    std::memcpy(buffer, exchange->data.constData() + exchange->sent, n);
    exchange->sent += static_cast<qsizetype>(n);
    return n;
}

// Keeps the relay's first refusal (a 4xx or 5xx reply), which says why it refused.
int watchReplies(CURL*, curl_infotype type, char* text, size_t size, void* user) {
    auto* exchange = static_cast<Exchange*>(user);
    if (type == CURLINFO_HEADER_IN && exchange->refusal.isEmpty() && size > 0 &&
        (text[0] == '4' || text[0] == '5'))
        exchange->refusal = QByteArray(text, static_cast<qsizetype>(size)).trimmed();
    return 0;
}

void Exchange::run() {
    CURL* curl = curl_easy_init();
    if (!curl) {
        error = u"Cannot send the arrival mail: the mail client could not start"_s;
        return;
    }
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray recipient = '<' + to + '>';
    curl_slist* recipients = curl_slist_append(nullptr, recipient.constData());
    const QByteArray sender = '<' + from + '>';

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, sender.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readBody);
    curl_easy_setopt(curl, CURLOPT_READDATA, this);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(data.size()));
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, watchReplies);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);

    const CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        QString reason =
            QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
        if (!refusal.isEmpty())
            reason += u" (relay said: "_s + QString::fromUtf8(refusal) + u')';
        error = u"Cannot send the arrival mail: "_s + reason;
    }
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);
}

} // namespace

SmtpMailer::SmtpMailer(QString host, int port)
    : host_(std::move(host))
    , port_(port) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void SmtpMailer::send(const MailMessage& message) {
    auto exchange = std::make_shared<Exchange>();
    QUrl url;
    url.setScheme(u"smtp"_s);
    url.setHost(host_);
    url.setPort(port_);
    // The path of an smtp URL is the name the client greets with.
    url.setPath(u"/"_s + QLatin1StringView(GreetingName));
    exchange->url = url.toEncoded();
    exchange->from = message.from;
    exchange->to = message.to;
    exchange->data = message.data;
    exchange->timeoutMs = static_cast<long>(timeout_.count());

    QEventLoop loop;
    QThread* worker = QThread::create([exchange] {
        exchange->run();
        exchange->finished = true;
    });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    // The poll waits here for the exchange while the window keeps answering.
    loop.exec();

    if (!exchange->finished)
        throw TavikError(u"The arrival mail was cut short"_s);
    if (!exchange->error.isEmpty())
        throw TavikError(exchange->error);
}
