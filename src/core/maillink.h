#pragma once

#include <QString>
#include <QStringView>

// The mailto: link that hands an e-mail to the desktop's mail program.
namespace MailLink {

// The longest link handed over, in bytes of its UTF-8 form; mail programs and the shell
// refuse or cut longer ones.
constexpr int MaxBytes = 2000;

// Percent-encodes a text for the link: of its UTF-8 bytes, the digits and the letters A-Z,
// a-z stay as they are; every other byte (blanks and line breaks included) becomes "%"
// followed by two lowercase hexadecimal digits.
QString encode(QStringView text);

// "mailto:ADDRESS?subject=SUBJECT&body=BODY" with subject and body encoded and the address
// as typed. A link longer than maxBytes loses the end of its body, whole characters at a
// time, so that neither a character nor a percent sequence is ever split; when the address
// and subject alone are too long, the subject is shortened the same way.
QString build(const QString &address, const QString &subject, const QString &body,
              int maxBytes = MaxBytes);

} // namespace MailLink
