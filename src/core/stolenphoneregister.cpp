#include "stolenphoneregister.h"

#include "rpxerror.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

namespace {

const QString Unreachable = QStringLiteral("Registr odcizených telefonů nelze ověřit: %1");

// Character references of an attribute value (&amp; &quot; &#43; &#x2F; …).
QString decodeEntities(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    static const QRegularExpression reference(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|amp|"
                                                             "quot|apos|lt|gt);"));
    QString decoded;
    qsizetype last = 0;
    auto it = reference.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        decoded += QStringView(text).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        if (name == QLatin1String("amp"))
            decoded += QLatin1Char('&');
        else if (name == QLatin1String("quot"))
            decoded += QLatin1Char('"');
        else if (name == QLatin1String("apos"))
            decoded += QLatin1Char('\'');
        else if (name == QLatin1String("lt"))
            decoded += QLatin1Char('<');
        else if (name == QLatin1String("gt"))
            decoded += QLatin1Char('>');
        else {
            const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
            const uint code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
            decoded += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        }
        last = m.capturedEnd();
    }
    decoded += QStringView(text).mid(last);
    return decoded;
}

QString attribute(const QString &tag, const QString &name)
{
    const QRegularExpression pattern(
        QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>\"']+))").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(tag);
    if (!m.hasMatch())
        return {};
    for (int i = 1; i <= 3; ++i)
        if (m.capturedStart(i) >= 0)
            return decodeEntities(m.captured(i));
    return {};
}

} // namespace

CStolenPhoneRegister::CStolenPhoneRegister() = default;
CStolenPhoneRegister::~CStolenPhoneRegister() = default;

CStolenPhoneRegister::PageState CStolenPhoneRegister::readPageState(const QString &html)
{
    static const QRegularExpression input(QStringLiteral("<input\\b[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    PageState state;
    auto it = input.globalMatch(html);
    while (it.hasNext()) {
        const QString tag = it.next().captured(0);
        const QString name = attribute(tag, QStringLiteral("name"));
        if (name == QLatin1String("__VIEWSTATE"))
            state.viewState = attribute(tag, QStringLiteral("value"));
        else if (name == QLatin1String("__EVENTVALIDATION"))
            state.eventValidation = attribute(tag, QStringLiteral("value"));
    }
    return state;
}

QByteArray CStolenPhoneRegister::queryText(const PageState &state, const QString &imei)
{
    return "__VIEWSTATE=" + QUrl::toPercentEncoding(state.viewState)
        + "&__EVENTVALIDATION=" + QUrl::toPercentEncoding(state.eventValidation)
        + "&ctl00%24Application%24tbImei=" + QUrl::toPercentEncoding(imei.left(14));
}

bool CStolenPhoneRegister::answerSaysFound(const QString &html)
{
    static const QRegularExpression verdict(QStringLiteral(">byl nalezen"));
    return verdict.match(html).hasMatch();
}

bool CStolenPhoneRegister::isStolen(const QString &formUrl, const QString &imei)
{
    const QDeadlineTimer deadline(m_timeoutMs);
    const QUrl form = QUrl::fromUserInput(formUrl);
    if (!form.isValid() || form.scheme().isEmpty())
        throw RpxError(Unreachable.arg(QStringLiteral("neplatná adresa „%1“.").arg(formUrl)));
    const PageState state = readPageState(get(form, deadline));
    if (!state.isComplete())
        throw RpxError(Unreachable.arg(
            QStringLiteral("stránka registru nemá očekávaný formulář (%1).").arg(formUrl)));
    const QUrl check = QUrl::fromEncoded(form.toEncoded() + '?' + queryText(state, imei));
    return answerSaysFound(get(check, deadline));
}

QString CStolenPhoneRegister::get(const QUrl &url, const QDeadlineTimer &deadline)
{
    if (!m_network)
        m_network = std::make_unique<QNetworkAccessManager>();
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/html, */*");
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
    const std::unique_ptr<QNetworkReply> reply(m_network->get(request));

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (!reply->isFinished() && !deadline.hasExpired()) {
        timer.start(int(deadline.remainingTime()));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!reply->isFinished()) {
        reply->abort();
        throw RpxError(Unreachable.arg(
            QStringLiteral("registr neodpověděl do %1 s.").arg((m_timeoutMs + 999) / 1000)));
    }
    if (reply->error() != QNetworkReply::NoError) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QString reason = status != 0
            ? QStringLiteral("registr odpověděl chybou %1.").arg(status)
            : QStringLiteral("registr není dostupný (%1).").arg(reply->errorString());
        throw RpxError(Unreachable.arg(reason));
    }
    return QString::fromUtf8(reply->readAll());
}
