#pragma once

#include <QStringView>

// IMEI helpers. An IMEI is 15 digits whose last one is a check digit (the Luhn sum of the
// first 14); a typing slip in any one digit, and most swaps of two neighbours, break it.
namespace Imei {

// True for a text of 15 decimal digits whose check digit does not match the other 14.
// Any other text (shorter, longer, with blanks or letters, a placeholder) is not judged.
bool checkDigitWrong(QStringView imei);

// The Luhn check of a text of decimal digits (the last one being the check digit); false
// for an empty text or one with anything but digits.
bool luhnValid(QStringView digits);

} // namespace Imei
