#include "textformat.h"

QString formatText(const QString &format, const QVariantList &values)
{
    QString out;
    out.reserve(format.size() + 16);
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // Flags, width and precision, then the conversion letter.
        qsizetype j = i + 1;
        QString flags;
        while (j < format.size() && QStringLiteral("-+ #0123456789.").contains(format[j]))
            flags += format[j++];
        if (j >= format.size()) {
            out += format.mid(i);
            break;
        }
        const QChar conv = format[j];
        const QVariant value = next < values.size() ? values[next] : QVariant();
        switch (conv.unicode()) {
        case 's':
            out += value.toString();
            ++next;
            break;
        case 'd':
        case 'i':
        case 'u':
            out += value.isValid() ? QString::number(value.toLongLong()) : QString();
            ++next;
            break;
        case 'f':
        case 'g':
        case 'e': {
            int precision = 6;
            const qsizetype dot = flags.indexOf(QLatin1Char('.'));
            if (dot >= 0)
                precision = flags.mid(dot + 1).toInt();
            out += value.isValid() ? QString::number(value.toDouble(), conv.toLatin1(), precision) : QString();
            ++next;
            break;
        }
        default:
            out += format.mid(i, j - i + 1);
            break;
        }
        i = j;
    }
    return out;
}
