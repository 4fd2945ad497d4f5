#pragma once

#include <QIcon>
#include <QString>

class CConfig;

// The e-mail hand-off shared by the main window and the multi-device intake: the message
// goes to the desktop's mail program as a mailto: link; the program itself sends nothing.
namespace MailHandOff {

// Opens the link made of address, subject and body (MailLink::build). When no program
// takes it, tells the clerk and returns false: the e-mail was not prepared.
bool open(const QString &address, const QString &subject, const QString &body);

// The shop's tracking page of a device: OrderWwwUrl + "?imei=" + the IMEI, empty when no
// address is set.
QString trackingLink(CConfig &config, const QString &imei);

// The envelope picture of the e-mail buttons.
QIcon envelopeIcon();

} // namespace MailHandOff
