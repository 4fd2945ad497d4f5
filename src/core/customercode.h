#pragma once

#include <QString>

// Customer codes: eight decimal digits, "10000000" to "99999999". A code is the customer's
// key on the shop's public tracking page, so it must not be guessable from the time or from
// codes seen before: it is drawn from the operating system's cryptographically strong source.
// Nothing checks codes for uniqueness.
namespace CustomerCode {
QString draw();
} // namespace CustomerCode
