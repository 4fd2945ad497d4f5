#pragma once

#include <QString>
#include <QStringList>

class TRpx2Data;

// The shop's settings (rows of t_config_01) and the per-user values (QSettings
// "KVL"/<keyName>; on Windows the registry key Software\KVL\RPX2). No cache: every read
// goes to the store, every write is immediate.
class CConfig
{
public:
    enum class Type { Text, Flag, Integer, Real, Agreement, Password };
    struct KeyInfo
    {
        const char *name;
        Type type;
        const char *defaultValue; // what a reader gets for a missing row
    };
    // Every table key with its type and default, for the admin tool and the options dialog.
    static const QList<KeyInfo> &keys();
    static const KeyInfo *findKey(const QString &name);

    CConfig(TRpx2Data &data, QString keyName);

    // Generic row access: a missing row gives the built-in default ("0" for MaxOrderID, "1"
    // for PrintReceipt, PrintIssue and JoinExistingOrder, empty otherwise).
    QString GetConfigValue(const QString &key);
    void SetConfigValue(const QString &key, const QString &value);

    // Generic typed access used by the named accessors.
    bool getFlag(const char *key);
    void setFlag(const char *key, bool value);
    int getInt(const char *key, int fallback);
    void setInt(const char *key, int value);

    int GetMaxOrderID();            void SetMaxOrderID(int v);
    bool GetResetCounter();         void SetResetCounter(bool v);
    QString GetLanguage();          void SetLanguage(const QString &v);
    QString GetAgreementText();     void SetAgreementText(const QString &v);
    int GetTSAgreement();           void SetTSAgreement(int v);
    QString GetLogoOptions();       void SetLogoOptions(const QString &v);
    bool GetEasyCustomer();         void SetEasyCustomer(bool v);
    bool GetCustomerSelect();       void SetCustomerSelect(bool v);
    bool GetFEPhone();              void SetFEPhone(bool v);
    bool GetFEEngineer();           void SetFEEngineer(bool v);
    int GetLMPhone();               void SetLMPhone(int v);
    int GetLMEngineer();            void SetLMEngineer(int v);
    bool GetDeleteOrder();          void SetDeleteOrder(bool v);
    bool GetShowOrders();           void SetShowOrders(bool v);
    QString GetCashName();          void SetCashName(const QString &v);
    bool GetJoinExistingOrder();    void SetJoinExistingOrder(bool v);
    QString GetNullImei();          void SetNullImei(const QString &v);
    QString GetDefaultEngineer();   void SetDefaultEngineer(const QString &v);
    bool GetPrintReceipt();         void SetPrintReceipt(bool v);
    bool GetPrintIssue();           void SetPrintIssue(bool v);
    bool GetEngineerMandatory();    void SetEngineerMandatory(bool v);
    QString GetOrderWwwUrl();       void SetOrderWwwUrl(const QString &v);
    QString GetPcrImeiCheckUrl();   void SetPcrImeiCheckUrl(const QString &v);
    QString GetPassword();          void SetPassword(const QString &v);
    int GetReceiptPrintMode();      void SetReceiptPrintMode(int v);
    int GetIssuePrintMode();        void SetIssuePrintMode(int v);
    QString GetSmsNotificationPort(); void SetSmsNotificationPort(const QString &v);
    int GetDaysToDeadline();        void SetDaysToDeadline(int v);
    QString GetMainCurrency();      void SetMainCurrency(const QString &v);
    QString GetSecondaryCurrency(); void SetSecondaryCurrency(const QString &v);
    bool GetUseSecondaryCurrency(); void SetUseSecondaryCurrency(bool v);
    // Throws RpxError when the stored text is not a number.
    double GetExchangeRate();       void SetExchangeRate(double v);
    // The shop's identity printed on documents.
    QString GetShopName();          void SetShopName(const QString &v);
    QString GetShopAddress();       void SetShopAddress(const QString &v);
    QString GetShopIdentification(); void SetShopIdentification(const QString &v);

    // The lists whose column widths the program keeps under CW<grid><column>, with their
    // number of columns: the only column keys there are.
    struct GridColumns
    {
        const char *grid;
        int columns;
    };
    static const QList<GridColumns> &columnWidthGrids();
    int GetColumnWidth(const QString &grid, int column, int defaultWidth);
    void SetColumnWidth(const QString &grid, int column, int width);

    // Per-user values.
    QString GetLogoFileName();      void SetLogoFileName(const QString &v);
    QString GetDBFileName();        void SetDBFileName(const QString &v);
    int GetOrderAgeFilter();        void SetOrderAgeFilter(int v);
    QString GetSummaryFilePath();   void SetSummaryFilePath(const QString &v);

    static QString GetPhotoFolderName() { return QStringLiteral("foto"); }
    QString GetCreatedInProgramText();

    // Conversions and checks shared with the widgets and the admin tool.
    static bool IsNumber(const QString &text); // empty or a number with "."
    // A rate that prices can be divided by and multiplied with without overflowing:
    // MinExchangeRate <= rate < MaxExchangeRate.
    static constexpr double MinExchangeRate = 1e-6;
    static constexpr double MaxExchangeRate = 1e6;
    static bool IsExchangeRate(double rate);
    // Empty, or an http or https address with a host: the only addresses the program opens.
    static bool IsWebAddress(const QString &text);
    // A code that names a language file beside the program: ASCII letters, digits, "-", "_".
    static bool IsLanguageCode(const QString &code);
    static QString ScramblePassword(const QString &plain); // bytes inverted, upper-case hex
    static QString UnscramblePassword(const QString &stored);
    static QString formatGeneral(double value);             // up to 15 significant digits

private:
    QString userValue(const char *name);
    void setUserValue(const char *name, const QVariant &value);

    TRpx2Data &m_data;
    QString m_keyName;
};
