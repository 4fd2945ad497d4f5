#pragma once

#include <QDialog>
#include <QPixmap>

#include <functional>
#include <vector>

class CConfig;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

// The options dialog: every shop-wide and per-machine setting on eight pages. The settings
// are read when the dialog is built and written when it is accepted; the password change
// and the counter reset act at once, whatever button closes the dialog afterwards.
class TOptionsForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget *owner = nullptr);

    // Writes every setting and closes the dialog; stays open when writing failed or the
    // exchange rate is not valid.
    void accept() override;

    // Longest agreement text that the settings can keep.
    static constexpr int MaxAgreementLength = 1530;

private:
    void buildAgreementPage();
    void buildCompanyPage();
    void buildSettingsPage();
    void buildDatabasePage();
    void buildPrintPage();
    void buildCurrencyPage();
    void buildWebPage();
    void buildLanguagePage();
    QWidget *addPage(const QString &name, const QString &caption, const char *key);
    QGroupBox *group(QWidget *page, const QString &name, const QString &title, const char *key);
    QLabel *label(const QString &name, const QString &text, const char *key, QWidget *buddy);
    QLabel *description(const QString &name, const QString &text, const char *key);
    QCheckBox *checkBox(const QString &name, const QString &text, const char *key);
    QRadioButton *radioButton(const QString &name, const QString &text, const char *key);
    QPushButton *button(const QString &name, const QString &text, const char *key);
    QLineEdit *lineEdit(const QString &name);
    void applyTexts();

    void load();
    void store();

    void loadLogo(bool reportFailure);
    void showLogo();
    void logoPathEdited();
    void selectLogo();
    void removeLogo();
    void limitAgreementLength();
    void validateInputs();
    void useSecondaryCurrencyChanged();
    void selectDatabaseFile();
    void resetCounter();
    void changePassword();

    CConfig &m_config;
    // Localized texts applied after the controls are built: one setter per text key.
    std::vector<std::function<void()>> m_texts;
    QTabWidget *m_pages;

    QPlainTextEdit *m_agreementMemo;
    QSpinBox *m_agreementTextSizeEdit;

    QLineEdit *m_shopNameEdit;
    QPlainTextEdit *m_shopAddressMemo;
    QLineEdit *m_shopIdentificationEdit;
    QLineEdit *m_cashNameEdit;
    QLineEdit *m_defaultEngineerEdit;
    QLabel *m_image;
    QLineEdit *m_logoPathEdit;
    QCheckBox *m_logoStretchCheckBox;
    QString m_logoPath;
    QPixmap m_logo;

    QCheckBox *m_easyCustomer;
    QCheckBox *m_customerSelect;
    QCheckBox *m_engineerMandatory;
    QCheckBox *m_deleteOrder;
    QCheckBox *m_showOrders;
    QCheckBox *m_resetOrder;
    QCheckBox *m_printReceipt;
    QCheckBox *m_printIssue;
    QCheckBox *m_joinOrders;
    QLineEdit *m_nullImeiEdit;
    QLineEdit *m_daysToDeadlineEdit;

    QLineEdit *m_dbFileNameEdit;

    QRadioButton *m_receiptOne;
    QRadioButton *m_receiptTwo;
    QRadioButton *m_issueOne;
    QRadioButton *m_issueTwo;

    QLineEdit *m_mainCurrencyEdit;
    QCheckBox *m_useSecondaryCurrency;
    QLabel *m_secondaryCurrencyLabel;
    QLineEdit *m_secondaryCurrencyEdit;
    QLabel *m_exchangeRateLabel;
    QLineEdit *m_exchangeRateEdit;
    double m_exchangeRate = 0;
    bool m_inputsValid = false;

    QLineEdit *m_orderWwwUrlEdit;
    QLineEdit *m_pcrImeiCheckEdit;
    QLabel *m_webAddressHint;
    QString m_webAddressHintText;

    QComboBox *m_languageCombo;
    QString m_storedLanguage;

    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
