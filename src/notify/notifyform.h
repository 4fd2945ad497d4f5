#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// A serial port of the machine: its device name ("COM3", "ttyUSB0") and description.
struct SerialPortEntry
{
    QString deviceName;
    QString description;
};

// The notification settings: chooses the serial port meant for SMS notification. The
// e-mail page and the two message texts are shown only; nothing but the port is stored,
// and only by OK.
class TNotifyForm final : public QDialog
{
    Q_OBJECT
public:
    // The port list is the machine's serial ports unless the caller passes one.
    explicit TNotifyForm(QWidget *owner = nullptr,
                         const QList<SerialPortEntry> &ports = systemSerialPorts());

    static QList<SerialPortEntry> systemSerialPorts();

    void accept() override;

private:
    void fillPorts(const QList<SerialPortEntry> &ports);
    void showPortSettings();

    QTabWidget *m_pages;
    QLineEdit *m_subject;
    QPlainTextEdit *m_emailText;
    QLineEdit *m_smtp;
    QLineEdit *m_sender;
    QPlainTextEdit *m_smsText;
    QComboBox *m_port;
    QPushButton *m_portSettings;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
