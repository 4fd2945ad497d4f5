#include "imeichecks.h"

#include "app/ui.h"

#include "imei.h"
#include "rpx2data.h"
#include "rpxerror.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

class FocusLeaveFilter final : public QObject
{
public:
    FocusLeaveFilter(QWidget *widget, std::function<void()> left)
        : QObject(widget)
        , m_left(std::move(left))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                runGuarded(m_left);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_left;
};

} // namespace

namespace ImeiChecks {

void checkRegister(TRpx2Data &data, const QString &imei, QLabel *status)
{
    // The wait shows until the answer, the error or the time limit, whatever leaves here.
    struct Waiting
    {
        QLabel *status;
        QString shownBefore;
        explicit Waiting(QLabel *label)
            : status(label)
            , shownBefore(label ? label->text() : QString())
        {
            if (status)
                status->setText(QStringLiteral("Ověřuji IMEI v registru…"));
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
        ~Waiting()
        {
            QApplication::restoreOverrideCursor();
            if (status)
                status->setText(shownBefore);
        }
    };
    QString failure;
    bool stolen = false;
    {
        const Waiting waiting(status);
        try {
            stolen = data.CheckStolenImei(imei);
        } catch (const RpxError &e) {
            failure = e.message();
        }
    }
    if (stolen)
        Ui::instance().message(
            QStringLiteral("IMEI telefonu je evidováno jako odcizené policií ČR!"));
    else if (!failure.isEmpty())
        Ui::instance().message(failure, appErrorTitle(), Prompts::Icon::Warning);
}

void styleImeiBox(QLineEdit *box, bool emailed)
{
    const bool wrong = Imei::checkDigitWrong(box->text());
    QColor color = QApplication::palette().color(QPalette::Base);
    if (wrong)
        color = QColor(0xff, 0xc8, 0x78);
    else if (emailed)
        color = QColor(0x7f, 0xff, 0x7f);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, color);
    // On a coloured background the text of a locked order's box stays dark enough to read.
    const QPalette normal = QApplication::palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     wrong || emailed ? normal.color(QPalette::Active, QPalette::Text)
                                      : normal.color(QPalette::Disabled, QPalette::Text));
    box->setPalette(palette);
    box->setToolTip(wrong ? QStringLiteral("IMEI nemá platnou kontrolní číslici") : QString());
}

void onFocusLeave(QWidget *widget, std::function<void()> left)
{
    new FocusLeaveFilter(widget, std::move(left));
}

} // namespace ImeiChecks
