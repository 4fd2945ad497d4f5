#include "maillink.h"

#include <QList>

namespace {

bool keptAsIs(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The encoded form of each character (a surrogate pair counts as one character).
QList<QString> encodedCharacters(QStringView text)
{
    QList<QString> pieces;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length
            = (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ? 2
            : 1;
        pieces.append(MailLink::encode(text.mid(i, length)));
        i += length;
    }
    return pieces;
}

// Joins the leading pieces whose total length fits into `room` characters (the encoded
// text is ASCII, so characters are bytes).
QString leadingPieces(const QList<QString> &pieces, qsizetype room)
{
    QString text;
    for (const QString &piece : pieces) {
        if (text.size() + piece.size() > room)
            break;
        text += piece;
    }
    return text;
}

} // namespace

namespace MailLink {

QString encode(QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray bytes = text.toUtf8();
    QString encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (keptAsIs(c)) {
            encoded += QLatin1Char(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            encoded += QLatin1Char('%');
            encoded += QLatin1Char(hex[byte >> 4]);
            encoded += QLatin1Char(hex[byte & 0x0f]);
        }
    }
    return encoded;
}

QString build(const QString &address, const QString &subject, const QString &body, int maxBytes)
{
    const QString head = QStringLiteral("mailto:") + address + QStringLiteral("?subject=");
    const QString joint = QStringLiteral("&body=");
    const qsizetype fixed = head.toUtf8().size() + joint.size();
    QString encodedSubject = encode(subject);
    QString encodedBody = encode(body);
    if (fixed + encodedSubject.size() + encodedBody.size() > maxBytes) {
        const qsizetype room = maxBytes - fixed - encodedSubject.size();
        if (room >= 0) {
            encodedBody = leadingPieces(encodedCharacters(body), room);
        } else {
            encodedBody.clear();
            encodedSubject
                = leadingPieces(encodedCharacters(subject), qMax<qsizetype>(0, maxBytes - fixed));
        }
    }
    return head + encodedSubject + joint + encodedBody;
}

} // namespace MailLink
