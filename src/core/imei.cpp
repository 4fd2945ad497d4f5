#include "imei.h"

namespace Imei {

bool luhnValid(QStringView digits)
{
    if (digits.isEmpty())
        return false;
    int sum = 0;
    bool doubled = false; // every second digit from the right, check digit excluded
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        const char16_t c = digits[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        int d = c - u'0';
        if (doubled) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        doubled = !doubled;
    }
    return sum % 10 == 0;
}

bool checkDigitWrong(QStringView imei)
{
    if (imei.size() != 15)
        return false;
    for (QChar c : imei)
        if (c < u'0' || c > u'9')
            return false;
    return !luhnValid(imei);
}

} // namespace Imei
