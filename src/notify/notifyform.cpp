#include "notifyform.h"

#include "notify/portsettingsform.h"

#include "app/ui.h"

#include "config.h"
#include "rpx2data.h"
#include "simpleresources.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char *const MessageText = "Vážený zákazníku,\nVaše zakázka ze dne ${DATE} je nyní "
                                "${STATE}.\nK platbě ${AMOUNT}";

template<typename T> T *named(T *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

} // namespace

TNotifyForm::TNotifyForm(QWidget *owner, const QList<SerialPortEntry> &ports)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("TNotifyForm"));
    auto text = [](const char *key, const char *builtIn) {
        return rpxTextOr(key, QString::fromUtf8(builtIn));
    };

    m_pages = named(new QTabWidget(this), "PageControl");
    auto *emailPage = named(new QWidget, "TabSheetEmail");
    auto *smsPage = named(new QWidget, "TabSheetSms");
    m_smtp = named(new QLineEdit(QStringLiteral("localhost")), "EditSmtp");
    m_sender = named(new QLineEdit(QStringLiteral("servis@localhost")), "EditSender");
    m_subject = named(new QLineEdit(QStringLiteral("Změna stavu zakázky")), "EditSubject");
    m_emailText = named(new QPlainTextEdit, "MemoEmail");
    m_smsText = named(new QPlainTextEdit, "MemoSms");
    m_port = named(new QComboBox, "ComboPort");
    m_portSettings = named(new QPushButton, "ButtonPortSettings");
    m_ok = named(new QPushButton, "ButtonOk");
    m_ok->setDefault(true);
    m_cancel = named(new QPushButton, "ButtonCancel");

    // Texts in the order the language file is applied.
    setWindowTitle(text("Notify.Window", "Oznamování"));
    m_pages->addTab(emailPage, text("Notify.Email", "E-mail"));
    auto *emailForm = new QFormLayout(emailPage);
    emailForm->addRow(text("Notify.Smtp", "SMTP:"), m_smtp);
    emailForm->addRow(text("Notify.Sender", "Odesílatel:"), m_sender);
    emailForm->addRow(text("Notify.Subject", "Předmět:"), m_subject);
    emailForm->addRow(text("Notify.MessageEmail", "Zpráva:"), m_emailText);
    m_emailText->setPlainText(text("Notify.MessageEmailText", MessageText));
    m_pages->addTab(smsPage, text("Notify.Sms", "SMS"));
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(m_port, 1);
    portRow->addWidget(m_portSettings);
    auto *smsForm = new QFormLayout(smsPage);
    smsForm->addRow(text("Notify.Port", "Port:"), portRow);
    m_portSettings->setText(text("Notify.Settings", "Nastavení"));
    smsForm->addRow(text("Notify.MessageSms", "Zpráva:"), m_smsText);
    m_smsText->setPlainText(text("Notify.MessageSmsText", MessageText));
    m_ok->setText(text("Notify.Ok", "OK"));
    m_cancel->setText(text("Notify.Storno", "Storno"));
    for (QFormLayout *form : { emailForm, smsForm })
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem *item = form->itemAt(row, QFormLayout::LabelRole))
                if (auto *label = qobject_cast<QLabel *>(item->widget()))
                    label->setObjectName(QStringLiteral("Label%1").arg(row));

    const QFontMetrics metrics(font());
    for (QPlainTextEdit *memo : { m_emailText, m_smsText })
        memo->setFixedHeight(metrics.lineSpacing() * 5 + 12);
    m_port->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('x')) * 36);

    connect(m_portSettings, &QPushButton::clicked, this,
            [this] { runGuarded([this] { showPortSettings(); }); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    runGuarded([&] { fillPorts(ports); });
}

QList<SerialPortEntry> TNotifyForm::systemSerialPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({ info.portName(), info.description() });
    return ports;
}

void TNotifyForm::fillPorts(const QList<SerialPortEntry> &ports)
{
    const QString configured = TRpx2Data::instance()->config().GetSmsNotificationPort();
    int selected = -1;
    for (const SerialPortEntry &port : ports) {
        m_port->addItem(QStringLiteral("%1 (%2)").arg(port.deviceName, port.description),
                        port.deviceName);
        if (port.deviceName == configured)
            selected = m_port->count() - 1; // of two entries naming the port, the last
    }
    m_port->setCurrentIndex(selected);
}

void TNotifyForm::showPortSettings()
{
    TPortSettingsForm settings(this, m_port->currentData().toString());
    Ui::instance().exec(settings);
}

void TNotifyForm::accept()
{
    // With no port chosen the configured one stays as it was.
    if (m_port->currentIndex() >= 0 && !runGuarded([this] {
            TRpx2Data::instance()->config().SetSmsNotificationPort(
                m_port->currentData().toString());
        }))
        return;
    QDialog::accept();
}
