#include "portsettingsform.h"

#include "simpleresources.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSerialPort>
#include <QVBoxLayout>

TPortSettingsForm::TPortSettingsForm(QWidget *owner, const QString &portName)
    : QDialog(owner)
    , m_baudRate(new QComboBox(this))
    , m_dataBits(new QComboBox(this))
    , m_parity(new QComboBox(this))
    , m_stopBits(new QComboBox(this))
{
    setObjectName(QStringLiteral("TPortSettingsForm"));
    const QString title = rpxTextOr("Notify.PortSettings", QStringLiteral("Nastavení portu"));
    setWindowTitle(portName.isEmpty() ? title : title + QStringLiteral(" – ") + portName);

    m_baudRate->setObjectName(QStringLiteral("BaudRateComboBox"));
    for (int rate : { 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200 })
        m_baudRate->addItem(QString::number(rate), rate);
    m_baudRate->setCurrentIndex(m_baudRate->findData(9600));
    m_dataBits->setObjectName(QStringLiteral("DataBitsComboBox"));
    for (int bits : { 5, 6, 7, 8 })
        m_dataBits->addItem(QString::number(bits), bits);
    m_dataBits->setCurrentIndex(m_dataBits->findData(8));
    m_parity->setObjectName(QStringLiteral("ParityComboBox"));
    const QStringList parities
        = rpxTextOr("Notify.ParityItems", QStringLiteral("žádná\nsudá\nlichá\nmezera\nznačka"))
              .split(QLatin1Char('\n'));
    const QSerialPort::Parity parityValues[]
        = { QSerialPort::NoParity, QSerialPort::EvenParity, QSerialPort::OddParity,
            QSerialPort::SpaceParity, QSerialPort::MarkParity };
    for (int i = 0; i < 5; ++i)
        m_parity->addItem(parities.value(i), int(parityValues[i]));
    m_parity->setCurrentIndex(0);
    m_stopBits->setObjectName(QStringLiteral("StopBitsComboBox"));
    m_stopBits->addItem(QStringLiteral("1"), int(QSerialPort::OneStop));
    m_stopBits->addItem(QStringLiteral("1,5"), int(QSerialPort::OneAndHalfStop));
    m_stopBits->addItem(QStringLiteral("2"), int(QSerialPort::TwoStop));

    auto *form = new QFormLayout;
    form->addRow(rpxTextOr("Notify.BaudRate", QStringLiteral("Rychlost (Bd):")), m_baudRate);
    form->addRow(rpxTextOr("Notify.DataBits", QStringLiteral("Datové bity:")), m_dataBits);
    form->addRow(rpxTextOr("Notify.Parity", QStringLiteral("Parita:")), m_parity);
    form->addRow(rpxTextOr("Notify.StopBits", QStringLiteral("Stop bity:")), m_stopBits);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(rpxTextOr("Notify.Ok", QStringLiteral("OK")),
                                         QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButtonOk"));
    ok->setDefault(true);
    buttons
        ->addButton(rpxTextOr("Notify.Storno", QStringLiteral("Storno")),
                    QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
