#pragma once

#include <QDialog>

class QComboBox;

// The line settings of the SMS port (speed, data bits, parity, stop bits), starting from
// those of a usual GSM modem. Nothing chosen here is kept, and the port is not opened.
class TPortSettingsForm final : public QDialog
{
    Q_OBJECT
public:
    TPortSettingsForm(QWidget *owner, const QString &portName);

private:
    QComboBox *m_baudRate;
    QComboBox *m_dataBits;
    QComboBox *m_parity;
    QComboBox *m_stopBits;
};
