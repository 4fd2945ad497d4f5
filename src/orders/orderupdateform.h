#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The bulk-rename dialog: shows the value to be replaced in every order and takes the new
// one. OK is offered only while the new value holds more than blanks.
class TOrderUpdateForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TOrderUpdateForm(QWidget *owner = nullptr);

    // The value to replace; the new value starts as the same text.
    void setValue(const QString &value);
    // The new value without surrounding blanks.
    QString newValue() const;

private:
    void updateOkButton();

    QPlainTextEdit *m_description;
    QLabel *m_fromLabel;
    QLineEdit *m_from;
    QLabel *m_toLabel;
    QLineEdit *m_to;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
