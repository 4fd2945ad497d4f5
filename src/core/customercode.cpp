#include "customercode.h"

#include <QRandomGenerator>

namespace CustomerCode {

QString draw()
{
    // bounded() is uniform over [lowest, highest), so every code is equally likely.
    constexpr quint32 lowest = 10000000;
    constexpr quint32 highest = 100000000;
    return QString::number(QRandomGenerator::system()->bounded(lowest, highest));
}

} // namespace CustomerCode
