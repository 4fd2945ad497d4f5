#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QDeadlineTimer;
class QNetworkAccessManager;
class QUrl;

// The web client of the public stolen-phone register. The register is an ASP.NET form: a
// check reads the page state of the form page first (stale page-state values make the
// register answer "not found" to everything), then sends the IMEI with it. Both requests
// are synchronous but bounded: the caller waits at most the time limit in all, while the
// event loop runs without user input (windows repaint, nothing can be clicked).
class CStolenPhoneRegister
{
public:
    static constexpr int DefaultTimeoutMs = 10000;

    CStolenPhoneRegister();
    ~CStolenPhoneRegister();
    CStolenPhoneRegister(const CStolenPhoneRegister &) = delete;
    CStolenPhoneRegister &operator=(const CStolenPhoneRegister &) = delete;

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int timeout() const { return m_timeoutMs; }

    // Asks the register whose form page is formUrl about the IMEI; true when the register
    // lists the phone as stolen. Throws RpxError, with a text for the clerk, when the
    // register cannot be reached, answers with an error, does not answer in time or its
    // form page lacks the page state: a check that could not be made is never reported as
    // "not stolen".
    bool isStolen(const QString &formUrl, const QString &imei);

    // The two page-state values of the form page (HTML), as the page holds them.
    struct PageState
    {
        QString viewState;
        QString eventValidation;
        bool isComplete() const { return !viewState.isEmpty() && !eventValidation.isEmpty(); }
    };
    static PageState readPageState(const QString &html);

    // The form data sent with the check: "__VIEWSTATE=…&__EVENTVALIDATION=…&ctl00%24
    // Application%24tbImei=" followed by the first 14 characters of the IMEI, every value
    // URL-encoded (digits stay as they are).
    static QByteArray queryText(const PageState &state, const QString &imei);

    // The register's verdict: ">byl nalezen" ("was found" right after the end of a tag)
    // anywhere in the answer page.
    static bool answerSaysFound(const QString &html);

private:
    QString get(const QUrl &url, const QDeadlineTimer &deadline);

    std::unique_ptr<QNetworkAccessManager> m_network;
    int m_timeoutMs = DefaultTimeoutMs;
};
