#include "textcheck.h"

#include "simpleresources.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <set>

namespace {

struct KeyInfo
{
    const char *key;
    const char *format; // placeholders the program passes, nullptr for a plain text
};

// Every key the program looks up. A window's texts are the keys of its prefix; "Title.n"
// is column n of a list, "Popup.x" a context-menu entry, "Month.n" month n + 1.
const KeyInfo Keys[] = {
    {"Global.AppAdd", nullptr},
    {"Global.AppError", nullptr},
    {"Global.AppName", nullptr},
    {"Global.AppPrint", nullptr},
    {"Global.Currency", nullptr},
    {"Global.CustomerWithoutNumber", nullptr},
    {"Global.DatabaseCantOpen", nullptr},
    {"Global.DatabaseConstraint", nullptr},
    {"Global.DatabaseError", "%s"},
    {"Global.DatabaseFull", nullptr},
    {"Global.DatabaseIoError", nullptr},
    {"Global.DatabaseReadOnly", nullptr},
    {"Global.ExchangeRateNotNumber", "%s"},
    {"Global.OrderCounterExhausted", "%d %d %d"},
    {"Global.OrderWithoutNumber", nullptr},
    {"Global.PasswordNotStorable", nullptr},
    {"Global.SavePdf", nullptr},
    {"Global.UnknownError", nullptr},
    {"Global.WriteRolledBack", nullptr},

    {"Rpx2.AccessoriesBox", nullptr},
    {"Rpx2.ActionAbout", nullptr},
    {"Rpx2.ActionClose", nullptr},
    {"Rpx2.ActionCustomerSelect", nullptr},
    {"Rpx2.ActionFilters", nullptr},
    {"Rpx2.ActionNotify", nullptr},
    {"Rpx2.ActionNotifyEmail", nullptr},
    {"Rpx2.ActionOptions", nullptr},
    {"Rpx2.ActionOrderCancel", nullptr},
    {"Rpx2.ActionOrderChange", nullptr},
    {"Rpx2.ActionOrderClear", nullptr},
    {"Rpx2.ActionOrderDelete", nullptr},
    {"Rpx2.ActionOrderEngineerUpdate", nullptr},
    {"Rpx2.ActionOrderFirst", nullptr},
    {"Rpx2.ActionOrderHold", nullptr},
    {"Rpx2.ActionOrderImageClear", nullptr},
    {"Rpx2.ActionOrderImageLoad", nullptr},
    {"Rpx2.ActionOrderImagePrint", nullptr},
    {"Rpx2.ActionOrderImageShow", nullptr},
    {"Rpx2.ActionOrderLast", nullptr},
    {"Rpx2.ActionOrderNew", nullptr},
    {"Rpx2.ActionOrderNewMulti", nullptr},
    {"Rpx2.ActionOrderNext", nullptr},
    {"Rpx2.ActionOrderPhoneUpdate", nullptr},
    {"Rpx2.ActionOrderPrevious", nullptr},
    {"Rpx2.ActionOrderStore", nullptr},
    {"Rpx2.ActionOrderSumary", nullptr},
    {"Rpx2.ActionPrintIssue", nullptr},
    {"Rpx2.ActionPrintReceipt", nullptr},
    {"Rpx2.CantSaveFile", nullptr},
    {"Rpx2.ConfirmOrderChange", "%s %s"},
    {"Rpx2.CustomerBox", nullptr},
    {"Rpx2.CustomerCity", nullptr},
    {"Rpx2.CustomerCode", nullptr},
    {"Rpx2.CustomerEMail", nullptr},
    {"Rpx2.CustomerName", nullptr},
    {"Rpx2.CustomerNotChosen", nullptr},
    {"Rpx2.CustomerNotFilled", nullptr},
    {"Rpx2.CustomerPSC", nullptr},
    {"Rpx2.CustomerPhone", nullptr},
    {"Rpx2.CustomerStoreChanges", "%s"},
    {"Rpx2.CustomerStreet", nullptr},
    {"Rpx2.DatabaseBusy", nullptr},
    {"Rpx2.DeviceNotExist", nullptr},
    {"Rpx2.DiscardChanges", nullptr},
    {"Rpx2.EngineerNotFilled", nullptr},
    {"Rpx2.FilterHint", nullptr},
    {"Rpx2.FilterPlaceholder", nullptr},
    {"Rpx2.InvalidPassword", nullptr},
    {"Rpx2.MenuHelp", nullptr},
    {"Rpx2.MenuOrder", nullptr},
    {"Rpx2.MenuTools", nullptr},
    {"Rpx2.NoFilter", nullptr},
    {"Rpx2.NoPhoto", nullptr},
    {"Rpx2.NotANumber", "%s"},
    {"Rpx2.NotifyEmailFailed", nullptr},
    {"Rpx2.NotifyEmailSubject", "%s"},
    {"Rpx2.NotifyEmailText", "%s %s %s %s %s %s %s %s"},
    {"Rpx2.OrderAge.0", nullptr},
    {"Rpx2.OrderAge.1", nullptr},
    {"Rpx2.OrderAge.2", nullptr},
    {"Rpx2.OrderAge.3", nullptr},
    {"Rpx2.OrderAge.4", nullptr},
    {"Rpx2.OrderAge.5", nullptr},
    {"Rpx2.OrderAlreadyExists", "%s %s %s %s %s %s %s"},
    {"Rpx2.OrderBattery", nullptr},
    {"Rpx2.OrderBatterySN", nullptr},
    {"Rpx2.OrderBatteryType", nullptr},
    {"Rpx2.OrderBox", nullptr},
    {"Rpx2.OrderChangedMeanwhile", nullptr},
    {"Rpx2.OrderCharger", nullptr},
    {"Rpx2.OrderCover", nullptr},
    {"Rpx2.OrderDeadlineDate", nullptr},
    {"Rpx2.OrderDeleteConfirm", nullptr},
    {"Rpx2.OrderDeleteTitle", nullptr},
    {"Rpx2.OrderDeletedMeanwhile", nullptr},
    {"Rpx2.OrderEngineer", nullptr},
    {"Rpx2.OrderFaultDescription", nullptr},
    {"Rpx2.OrderHoldCount", "%d"},
    {"Rpx2.OrderID", nullptr},
    {"Rpx2.OrderIssueComponentPrice", nullptr},
    {"Rpx2.OrderIssueDate", nullptr},
    {"Rpx2.OrderIssuePrice", nullptr},
    {"Rpx2.OrderNote", nullptr},
    {"Rpx2.OrderPhone", nullptr},
    {"Rpx2.OrderPhoneIMEI", nullptr},
    {"Rpx2.OrderPhoneType", nullptr},
    {"Rpx2.OrderPrice", nullptr},
    {"Rpx2.OrderReceiptDate", nullptr},
    {"Rpx2.OrderRepairDescription", nullptr},
    {"Rpx2.OrderRepairNote", nullptr},
    {"Rpx2.OrderSavedPrintIssue", nullptr},
    {"Rpx2.OrderSavedPrintReceipt", nullptr},
    {"Rpx2.OrderSelectedCount", "%d %d"},
    {"Rpx2.OrderSim", nullptr},
    {"Rpx2.OrderSoftware", nullptr},
    {"Rpx2.OrderState", nullptr},
    {"Rpx2.OrderStateComboBoxFilterAll", nullptr},
    {"Rpx2.OrderSumLabel", nullptr},
    {"Rpx2.OrderSumTodayLabel", nullptr},
    {"Rpx2.OrderTypeID", nullptr},
    {"Rpx2.OrderWarrantyCert", nullptr},
    {"Rpx2.PhotoFolderNotCreated", "%s"},
    {"Rpx2.PhotoNotUsable", "%s"},
    {"Rpx2.PriceNotFilled", nullptr},
    {"Rpx2.RepairBox", nullptr},
    {"Rpx2.RepairNotFilled", nullptr},
    {"Rpx2.Title.0", nullptr},
    {"Rpx2.Title.1", nullptr},
    {"Rpx2.TypeOrStateMissing", nullptr},
    {"Rpx2.WebAddressRefused", "%s"},
    {"Rpx2.Window", nullptr},

    {"RpxAbout.Built", "%s"},
    {"RpxAbout.Description", nullptr},
    {"RpxAbout.Ok", nullptr},
    {"RpxAbout.Version", "%s"},
    {"RpxAbout.Window", nullptr},

    {"ChangePassword.Cancel", nullptr},
    {"ChangePassword.NewPassword1", nullptr},
    {"ChangePassword.NewPassword2", nullptr},
    {"ChangePassword.Ok", nullptr},
    {"ChangePassword.OldPassword", nullptr},
    {"ChangePassword.Window", nullptr},

    {"Password.Cancel", nullptr},
    {"Password.Description", nullptr},
    {"Password.Ok", nullptr},
    {"Password.Password", nullptr},
    {"Password.Window", nullptr},

    {"CustomerEdit.Cancel", nullptr},
    {"CustomerEdit.CustomerCity", nullptr},
    {"CustomerEdit.CustomerCode", nullptr},
    {"CustomerEdit.CustomerEmail", nullptr},
    {"CustomerEdit.CustomerName", nullptr},
    {"CustomerEdit.CustomerPhone", nullptr},
    {"CustomerEdit.CustomerPrintCode", nullptr},
    {"CustomerEdit.CustomerPsc", nullptr},
    {"CustomerEdit.CustomerStreet", nullptr},
    {"CustomerEdit.Ok", nullptr},
    {"CustomerEdit.Window", nullptr},

    {"CustomerSearch.Cancel", nullptr},
    {"CustomerSearch.CustomerChangedMeanwhile", nullptr},
    {"CustomerSearch.CustomerDeletedMeanwhile", nullptr},
    {"CustomerSearch.FilterName", nullptr},
    {"CustomerSearch.FilterPhoneNo", nullptr},
    {"CustomerSearch.Ok", nullptr},
    {"CustomerSearch.Popup.Edit", nullptr},
    {"CustomerSearch.Popup.JoinAll", nullptr},
    {"CustomerSearch.Popup.JoinSelected", nullptr},
    {"CustomerSearch.Popup.New", nullptr},
    {"CustomerSearch.Popup.Select", nullptr},
    {"CustomerSearch.Title.0", nullptr},
    {"CustomerSearch.Title.1", nullptr},
    {"CustomerSearch.Title.2", nullptr},
    {"CustomerSearch.Title.3", nullptr},
    {"CustomerSearch.Window", nullptr},

    {"Filters.Cancel", nullptr},
    {"Filters.Delete", nullptr},
    {"Filters.DeleteRowConfirm", "%s"},
    {"Filters.Engineers", nullptr},
    {"Filters.FullEdit", nullptr},
    {"Filters.Hint.Cancel", nullptr},
    {"Filters.Hint.Delete", nullptr},
    {"Filters.Hint.Edit", nullptr},
    {"Filters.Hint.Insert", nullptr},
    {"Filters.Hint.Post", nullptr},
    {"Filters.ListItems", nullptr},
    {"Filters.ListMode", nullptr},
    {"Filters.Ok", nullptr},
    {"Filters.Phones", nullptr},
    {"Filters.Title.1.1", nullptr},
    {"Filters.Title.2.1", nullptr},
    {"Filters.Window", nullptr},

    {"Notify.BaudRate", nullptr},
    {"Notify.DataBits", nullptr},
    {"Notify.Email", nullptr},
    {"Notify.MessageEmail", nullptr},
    {"Notify.MessageEmailText", nullptr},
    {"Notify.MessageSms", nullptr},
    {"Notify.MessageSmsText", nullptr},
    {"Notify.Ok", nullptr},
    {"Notify.Parity", nullptr},
    {"Notify.ParityItems", nullptr},
    {"Notify.Port", nullptr},
    {"Notify.PortSettings", nullptr},
    {"Notify.Sender", nullptr},
    {"Notify.Settings", nullptr},
    {"Notify.Sms", nullptr},
    {"Notify.Smtp", nullptr},
    {"Notify.StopBits", nullptr},
    {"Notify.Storno", nullptr},
    {"Notify.Subject", nullptr},
    {"Notify.Window", nullptr},

    {"Options.Agreement", nullptr},
    {"Options.AgreementTextSize", nullptr},
    {"Options.Cancel", nullptr},
    {"Options.CashGroup", nullptr},
    {"Options.CashName", nullptr},
    {"Options.ChangePassword", nullptr},
    {"Options.Company", nullptr},
    {"Options.Currency", nullptr},
    {"Options.CurrencyGroup", nullptr},
    {"Options.CustomerSelect", nullptr},
    {"Options.DBFileName", nullptr},
    {"Options.DBFileNameSelect", nullptr},
    {"Options.Database", nullptr},
    {"Options.DatabaseDescription", nullptr},
    {"Options.DatabaseGroup", nullptr},
    {"Options.DaysToDeadline", nullptr},
    {"Options.DefaultEngineer", nullptr},
    {"Options.DeleteOrders", nullptr},
    {"Options.EasyCustomer", nullptr},
    {"Options.EngineerGroup", nullptr},
    {"Options.EngineerMandatory", nullptr},
    {"Options.ExchangeRate", nullptr},
    {"Options.InternetGroup", nullptr},
    {"Options.InvalidPassword", nullptr},
    {"Options.IssueDescription", nullptr},
    {"Options.IssueGroup", nullptr},
    {"Options.IssueOne", nullptr},
    {"Options.IssueTwo", nullptr},
    {"Options.JoinOrders", nullptr},
    {"Options.Language", nullptr},
    {"Options.LanguageDescription", nullptr},
    {"Options.LanguageFileMissing", "%s"},
    {"Options.LanguageGroup", nullptr},
    {"Options.LanguageSelect", nullptr},
    {"Options.LogoFileNotFound", nullptr},
    {"Options.LogoGroup", nullptr},
    {"Options.LogoRemove", nullptr},
    {"Options.LogoSelect", nullptr},
    {"Options.LogoStretch", nullptr},
    {"Options.MainCurrency", nullptr},
    {"Options.NullImei", nullptr},
    {"Options.NullImeiDescription", nullptr},
    {"Options.Ok", nullptr},
    {"Options.OptionsGroup", nullptr},
    {"Options.OrderGroup", nullptr},
    {"Options.PasswordDescription", nullptr},
    {"Options.PasswordGroup", nullptr},
    {"Options.PcrImeiCheck", nullptr},
    {"Options.Print", nullptr},
    {"Options.PrintIssue", nullptr},
    {"Options.PrintReceipt", nullptr},
    {"Options.ReceiptDescription", nullptr},
    {"Options.ReceiptGroup", nullptr},
    {"Options.ReceiptOne", nullptr},
    {"Options.ReceiptTwo", nullptr},
    {"Options.Reset", nullptr},
    {"Options.ResetDescription", nullptr},
    {"Options.ResetGroup", nullptr},
    {"Options.ResetOrders", nullptr},
    {"Options.SecondaryCurrency", nullptr},
    {"Options.Settings", nullptr},
    {"Options.ShopAddress", nullptr},
    {"Options.ShopGroup", nullptr},
    {"Options.ShopIdentification", nullptr},
    {"Options.ShopName", nullptr},
    {"Options.ShowOrders", nullptr},
    {"Options.UseSecondaryCurrency", nullptr},
    {"Options.Web", nullptr},
    {"Options.WebAddressHint", nullptr},
    {"Options.Window", nullptr},
    {"Options.WwwUrl", nullptr},

    {"OrderMulti.AddAllPhones", "%d"},
    {"OrderMulti.Cancel", nullptr},
    {"OrderMulti.CancelInput", nullptr},
    {"OrderMulti.CantAddMore", nullptr},
    {"OrderMulti.CustomerCity", nullptr},
    {"OrderMulti.CustomerEMail", nullptr},
    {"OrderMulti.CustomerName", nullptr},
    {"OrderMulti.CustomerNotChosen", nullptr},
    {"OrderMulti.CustomerPSC", nullptr},
    {"OrderMulti.CustomerPhone", nullptr},
    {"OrderMulti.CustomerSelect", nullptr},
    {"OrderMulti.CustomerStreet", nullptr},
    {"OrderMulti.DeadlineDate", nullptr},
    {"OrderMulti.MultiBattery", nullptr},
    {"OrderMulti.MultiBatterySN", nullptr},
    {"OrderMulti.MultiBatteryType", nullptr},
    {"OrderMulti.MultiCharger", nullptr},
    {"OrderMulti.MultiCover", nullptr},
    {"OrderMulti.MultiDeadline", nullptr},
    {"OrderMulti.MultiNewOrder", nullptr},
    {"OrderMulti.MultiNewPhone", nullptr},
    {"OrderMulti.MultiNote", nullptr},
    {"OrderMulti.MultiOrderState", nullptr},
    {"OrderMulti.MultiPhone", nullptr},
    {"OrderMulti.MultiPhoneIMEI", nullptr},
    {"OrderMulti.MultiPhoneType", nullptr},
    {"OrderMulti.MultiPrice", nullptr},
    {"OrderMulti.MultiSIM", nullptr},
    {"OrderMulti.MultiWarrantyCert", nullptr},
    {"OrderMulti.NewPhoneInput", nullptr},
    {"OrderMulti.NewPhoneInputTitle", nullptr},
    {"OrderMulti.Ok", nullptr},
    {"OrderMulti.OrderAlreadyExists", "%d %s %s %s %s %s %s"},
    {"OrderMulti.PriceNotFilled", nullptr},
    {"OrderMulti.ReceiptDate", nullptr},
    {"OrderMulti.Window", nullptr},

    {"OrderPrintReceipt.DetailOrderBatterySn", nullptr},
    {"OrderPrintReceipt.DetailOrderBatteryType", nullptr},
    {"OrderPrintReceipt.DetailOrderCustomerCity", nullptr},
    {"OrderPrintReceipt.DetailOrderCustomerCode", nullptr},
    {"OrderPrintReceipt.DetailOrderCustomerName", nullptr},
    {"OrderPrintReceipt.DetailOrderCustomerPhoneNo", nullptr},
    {"OrderPrintReceipt.DetailOrderCustomerPostCode", nullptr},
    {"OrderPrintReceipt.DetailOrderCustomerStreet", nullptr},
    {"OrderPrintReceipt.DetailOrderDeadlineDate", nullptr},
    {"OrderPrintReceipt.DetailOrderEngineer", nullptr},
    {"OrderPrintReceipt.DetailOrderExpectPrice", nullptr},
    {"OrderPrintReceipt.DetailOrderFaultDescription", nullptr},
    {"OrderPrintReceipt.DetailOrderNo", nullptr},
    {"OrderPrintReceipt.DetailOrderNote", nullptr},
    {"OrderPrintReceipt.DetailOrderPhoneImei", nullptr},
    {"OrderPrintReceipt.DetailOrderPhoneType", nullptr},
    {"OrderPrintReceipt.DetailOrderType", nullptr},
    {"OrderPrintReceipt.DetailSign1", nullptr},
    {"OrderPrintReceipt.DetailSign2", nullptr},
    {"OrderPrintReceipt.TitleAddress", nullptr},
    {"OrderPrintReceipt.TitleCompany", nullptr},
    {"OrderPrintReceipt.TitleDate", nullptr},
    {"OrderPrintReceipt.TitleMain", nullptr},
    {"OrderPrintReceipt.TrackingUrl", nullptr},

    {"OrderPrintIssue.DetailOrderListCharger", nullptr},
    {"OrderPrintIssue.DetailOrderListCover", nullptr},
    {"OrderPrintIssue.DetailOrderListSim", nullptr},

    {"OrderSummary.Close", nullptr},
    {"OrderSummary.Month.0", nullptr},
    {"OrderSummary.Month.1", nullptr},
    {"OrderSummary.Month.2", nullptr},
    {"OrderSummary.Month.3", nullptr},
    {"OrderSummary.Month.4", nullptr},
    {"OrderSummary.Month.5", nullptr},
    {"OrderSummary.Month.6", nullptr},
    {"OrderSummary.Month.7", nullptr},
    {"OrderSummary.Month.8", nullptr},
    {"OrderSummary.Month.9", nullptr},
    {"OrderSummary.Month.10", nullptr},
    {"OrderSummary.Month.11", nullptr},
    {"OrderSummary.SummaryColDate", nullptr},
    {"OrderSummary.SummaryColDay", nullptr},
    {"OrderSummary.SummaryColEngineer", nullptr},
    {"OrderSummary.SummaryColFaultDescription", nullptr},
    {"OrderSummary.SummaryColIssuePrice", nullptr},
    {"OrderSummary.SummaryColMonthMonth", nullptr},
    {"OrderSummary.SummaryColOrderID", nullptr},
    {"OrderSummary.SummaryColParts", nullptr},
    {"OrderSummary.SummaryColPhoneIMEI", nullptr},
    {"OrderSummary.SummaryColPhoneType", nullptr},
    {"OrderSummary.SummaryColRepairDescription", nullptr},
    {"OrderSummary.SummaryColRepairs", nullptr},
    {"OrderSummary.SummaryColSWHW", nullptr},
    {"OrderSummary.SummaryColSoftware", nullptr},
    {"OrderSummary.SummaryColSumLabel", nullptr},
    {"OrderSummary.SummaryDateLabel", nullptr},
    {"OrderSummary.SummaryDateRangeLabel", nullptr},
    {"OrderSummary.SummaryDay", nullptr},
    {"OrderSummary.SummaryDayDo", nullptr},
    {"OrderSummary.SummaryDayFile", nullptr},
    {"OrderSummary.SummaryDayFrom", nullptr},
    {"OrderSummary.SummaryDayFromTo", nullptr},
    {"OrderSummary.SummaryEngineer", nullptr},
    {"OrderSummary.SummaryEngineerDo", nullptr},
    {"OrderSummary.SummaryEngineerFile", nullptr},
    {"OrderSummary.SummaryEngineerFrom", nullptr},
    {"OrderSummary.SummaryEngineerTo", nullptr},
    {"OrderSummary.SummaryExport", nullptr},
    {"OrderSummary.SummaryExportDo", nullptr},
    {"OrderSummary.SummaryExportFile", nullptr},
    {"OrderSummary.SummaryExportFrom", nullptr},
    {"OrderSummary.SummaryExportRepairType", nullptr},
    {"OrderSummary.SummaryExportTo", nullptr},
    {"OrderSummary.SummaryHardwareLabel", nullptr},
    {"OrderSummary.SummaryMonth", nullptr},
    {"OrderSummary.SummaryMonthDo", nullptr},
    {"OrderSummary.SummaryMonthFile", nullptr},
    {"OrderSummary.SummaryMonthMonth", nullptr},
    {"OrderSummary.SummaryMonthYear", nullptr},
    {"OrderSummary.SummaryShop", nullptr},
    {"OrderSummary.SummaryShopDo", nullptr},
    {"OrderSummary.SummaryShopFile", nullptr},
    {"OrderSummary.SummaryShopFrom", nullptr},
    {"OrderSummary.SummaryShopFromTo", nullptr},
    {"OrderSummary.SummarySoftwareLabel", nullptr},
    {"OrderSummary.SummarySumLabel", nullptr},
    {"OrderSummary.SummaryYear", nullptr},
    {"OrderSummary.SummaryYearDo", nullptr},
    {"OrderSummary.SummaryYearFile", nullptr},
    {"OrderSummary.SummaryYearYear", nullptr},
    {"OrderSummary.Window", nullptr},

    {"OrderUpdate.Cancel", nullptr},
    {"OrderUpdate.Description", nullptr},
    {"OrderUpdate.From", nullptr},
    {"OrderUpdate.Ok", nullptr},
    {"OrderUpdate.To", nullptr},
    {"OrderUpdate.Window", nullptr},
};

const char *const CheckedLanguages[] = {"cs", "pl", "sk"};

QString quoted(const QString &text)
{
    return QStringLiteral("„") + text + QStringLiteral("“");
}

bool isFlag(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('#')
        || c == QLatin1Char('0');
}

// What the text formatter fills (formatText): %s, %d, %i, %u, %f, %g and %e, with flags,
// width and precision. Its kind ("s", "d" for whole numbers, "f" for real numbers), or the
// placeholder itself for anything the formatter would print as it stands (%ld, %x, %c, %E).
QString kindOf(const QString &placeholder)
{
    static const QRegularExpression filled(
        QStringLiteral("^%[-+ #0]*[0-9]*(?:\\.[0-9]*)?([sdiufge])$"));
    const QRegularExpressionMatch match = filled.match(placeholder);
    if (!match.hasMatch())
        return placeholder;
    const QChar conversion = match.captured(1).front();
    if (conversion == QLatin1Char('s'))
        return QStringLiteral("s");
    if (conversion == QLatin1Char('f') || conversion == QLatin1Char('g')
        || conversion == QLatin1Char('e'))
        return QStringLiteral("f");
    return QStringLiteral("d");
}

// Texts may hold line feeds and tabs, but no other control character and no byte that
// Windows-1250 leaves unused.
bool hasOnlyShowableCharacters(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c == QChar(0xFFFD)
            || (c.category() == QChar::Other_Control && c != QLatin1Char('\n')
                && c != QLatin1Char('\t'));
    });
}

// True when most bytes above 127 form UTF-8 sequences: a file saved as UTF-8, also one with a
// stray Windows-1250 byte in it. In Windows-1250 text such sequences are rare (a capital
// letter with a diacritic followed by one of a few letters or signs).
bool looksLikeUtf8(const QByteArray &bytes)
{
    qsizetype high = 0;
    qsizetype inSequences = 0;
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const int continuation = lead >= 0xC2 && lead <= 0xDF ? 1
            : lead >= 0xE0 && lead <= 0xEF                    ? 2
            : lead >= 0xF0 && lead <= 0xF4                    ? 3
                                                              : 0;
        int length = 1;
        while (length <= continuation && i + length < bytes.size()
               && (byte(i + length) & 0xC0) == 0x80)
            ++length;
        if (continuation > 0 && length == continuation + 1) {
            high += length;
            inSequences += length;
            i += length;
        } else {
            ++high;
            ++i;
        }
    }
    return inSequences > 0 && inSequences * 2 > high;
}

} // namespace

const QStringList &TextCheck::requiredKeys()
{
    static const QStringList keys = [] {
        QStringList list;
        for (const KeyInfo &info : Keys)
            list.append(QLatin1String(info.key));
        return list;
    }();
    return keys;
}

QString TextCheck::formatOf(const QString &key)
{
    for (const KeyInfo &info : Keys) {
        if (key == QLatin1String(info.key))
            return info.format ? QLatin1String(info.format) : QString();
    }
    return {};
}

QStringList TextCheck::placeholders(const QString &text)
{
    static const QString conversions = QStringLiteral("diouxXcseEfFgGaAp");
    QStringList found;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text.at(i) != QLatin1Char('%'))
            continue;
        if (i + 1 < n && text.at(i + 1) == QLatin1Char('%')) {
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && isFlag(text.at(j)))
            ++j;
        while (j < n && text.at(j).isDigit())
            ++j;
        if (j < n && text.at(j) == QLatin1Char('.')) {
            ++j;
            while (j < n && text.at(j).isDigit())
                ++j;
        }
        while (j < n
               && (text.at(j) == QLatin1Char('l') || text.at(j) == QLatin1Char('h')
                   || text.at(j) == QLatin1Char('L')))
            ++j;
        if (j < n && conversions.contains(text.at(j))) {
            found.append(text.mid(i, j - i + 1));
            i = j;
        } else {
            found.append(QStringLiteral("%"));
        }
    }
    return found;
}

bool TextCheck::samePlaceholders(const QStringList &a, const QStringList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (kindOf(a.at(i)) != kindOf(b.at(i)))
            return false;
    }
    return true;
}

QStringList TextCheck::checkSymbols(const QString &fileName, const CSymbols &symbols,
                                    const CSymbols *czech)
{
    QStringList problems;
    const auto report
        = [&](const QString &text) { problems.append(fileName + QStringLiteral(": ") + text); };
    const auto &entries = symbols.entries();

    // A key defined twice: only the second text counts, the first is silently lost.
    for (const QByteArray &key : symbols.repeatedKeys())
        report(QStringLiteral("klíč %1 je v souboru vícekrát; platí jen poslední text")
                   .arg(quoted(CSimpleResources::decode(key))));

    for (const KeyInfo &info : Keys) {
        const QByteArray key(info.key);
        const QString keyName = QLatin1String(info.key);
        const QByteArray value = symbols.value(key);
        if (value.isEmpty()) {
            // An unquoted text is not stored, so it reads as a missing key.
            report(entries.count(key)
                       ? QStringLiteral("klíč %1 nemá text").arg(quoted(keyName))
                       : QStringLiteral("klíč %1 chybí (nebo jeho text není v uvozovkách)")
                             .arg(quoted(keyName)));
            continue;
        }
        const QString text = CSimpleResources::decode(value);
        if (!hasOnlyShowableCharacters(text)) {
            report(
                QStringLiteral("klíč %1 obsahuje znak, který Windows-1250 nezná, nebo řídicí znak")
                    .arg(quoted(keyName)));
        }

        QStringList expected;
        QString against;
        if (info.format) {
            expected = QString::fromLatin1(info.format).split(QLatin1Char(' '));
            against = QStringLiteral("program předává");
        } else if (czech) {
            const QByteArray czechValue = czech->value(key);
            if (czechValue.isEmpty())
                continue;
            expected = placeholders(CSimpleResources::decode(czechValue));
            against = QStringLiteral("čeština má");
        } else {
            continue;
        }
        const QStringList actual = placeholders(text);
        if (info.format) {
            const auto unfilled = std::find_if(actual.begin(), actual.end(),
                                               [](const QString &p) { return kindOf(p) == p; });
            if (unfilled != actual.end()) {
                report(QStringLiteral("klíč %1 má zástupný symbol %2, který program neumí "
                                      "vyplnit (umí jen %s, %d, %i, %u, %f, %g a %e)")
                           .arg(quoted(keyName), *unfilled));
                continue;
            }
        }
        if (!samePlaceholders(actual, expected)) {
            const auto listed = [](const QStringList &list) {
                return list.isEmpty() ? QStringLiteral("žádné") : list.join(QLatin1Char(' '));
            };
            report(QStringLiteral("klíč %1 má zástupné symboly %2, %3 %4")
                       .arg(quoted(keyName), listed(actual), against, listed(expected)));
        }
    }

    std::set<QByteArray> known;
    for (const KeyInfo &info : Keys)
        known.insert(QByteArray(info.key));
    for (const auto &entry : entries) {
        if (!known.count(entry.first))
            report(QStringLiteral("neznámý klíč %1")
                       .arg(quoted(CSimpleResources::decode(entry.first))));
    }
    return problems;
}

QStringList TextCheck::checkFolder(const QString &dir)
{
    QStringList problems;
    std::optional<CSymbols> czech;
    for (const char *code : CheckedLanguages) {
        const QString name = QStringLiteral("Rpx_%1.txt").arg(QLatin1String(code));
        QFile file(QDir(dir).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            problems.append(name + QStringLiteral(": soubor nelze otevřít: ") + file.errorString());
            continue;
        }
        QByteArray bytes = file.readAll();
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            problems.append(name
                            + QStringLiteral(": soubor začíná značkou BOM, jazykové soubory "
                                             "se ukládají ve Windows-1250 bez ní"));
        } else if (looksLikeUtf8(bytes)) {
            problems.append(name
                            + QStringLiteral(": soubor je v kódování UTF-8, jazykové soubory "
                                             "se ukládají ve Windows-1250"));
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        CSymbols symbols(buffer);
        problems += checkSymbols(name, symbols, czech ? &*czech : nullptr);
        if (!czech && qstrcmp(code, "cs") == 0)
            czech = std::move(symbols);
    }
    return problems;
}
