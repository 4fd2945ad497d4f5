#include "mailhandoff.h"

#include "app/ui.h"

#include "config.h"
#include "maillink.h"
#include "simpleresources.h"

#include <QPainter>
#include <QPixmap>
#include <QUrl>

namespace MailHandOff {

bool open(const QString &address, const QString &subject, const QString &body)
{
    const QString link = MailLink::build(address, subject, body);
    if (Ui::instance().openUrl(QUrl::fromEncoded(link.toUtf8())))
        return true;
    Ui::instance().message(rpxText("Rpx2.NotifyEmailFailed"), appErrorTitle(),
                           Prompts::Icon::Warning);
    return false;
}

QString trackingLink(CConfig &config, const QString &imei)
{
    const QString url = config.GetOrderWwwUrl();
    return url.isEmpty() ? QString() : url + QStringLiteral("?imei=") + imei;
}

QIcon envelopeIcon()
{
    QPixmap pixmap(18, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x20, 0x50, 0x90), 1.2));
    p.setBrush(QColor(0xfb, 0xfb, 0xf0));
    p.drawRect(QRectF(1.5, 1.5, 15, 11));
    p.drawPolyline(QPolygonF({ QPointF(1.5, 1.5), QPointF(9, 8), QPointF(16.5, 1.5) }));
    return QIcon(pixmap);
}

} // namespace MailHandOff
