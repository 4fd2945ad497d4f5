#pragma once

// The orders of the report tests (tests/summary, tests/gui_summary, tests/admin) and the
// comparison with the expected reports in tests/summary/golden. The orders lie around the end
// of February 2025: issue times at the bounds of a day, a claim at no charge and one charged, a
// check at no charge, software jobs and repairs, orders issued at the same minute, engineers
// that are hidden or stored with a trailing blank, a negative parts cost, text with
// HTML-special characters and a character that Windows-1250 lacks, an order in another state
// and one not issued.
// REPAXO_UPDATE_GOLDEN=1 writes the reports as the expected ones instead of comparing.

#include "rpx2data.h"
#include "testshop.h"

#include <QStringDecoder>
#include <QtTest>

inline void addSummaryOrders(TRpx2Data &data)
{
    struct Row
    {
        const char *id;
        int type, state;
        const char *issued, *received;
        bool software;
        double price, parts;
        const char *engineer, *phone, *imei, *fault, *repair;
    };
    const Row rows[] = {
        { "2025-00001", 3, 4, "2025-02-27 16:00:00", "2025-02-20 10:05:00", false, 1200, 450,
          "Novák", "Apple iPhone 12", "356938035643809", "Prasklý displej", "Výměna displeje" },
        { "2025-00002", 1, 4, "2025-02-28 09:15:00", "2025-02-21 08:00:00", false, 0, 300, "Novák",
          "Samsung Galaxy A54", "352099001761481", "Baterie drží hodinu", "Reklamace baterie" },
        { "2025-00003", 1, 4, "2025-02-28 09:15:00", "2025-02-25 12:30:00", true, 150, 0,
          "Svoboda ", "Xiaomi Redmi Note 12", "861536030196001", "Nejde <b>zapnout</b>",
          "Aktualizace <firmware> & záloha \"dat\"" },
        { "2025-00004", 3, 4, "2025-02-28 14:30:00", "2025-02-26 17:45:00", true, 500, -50,
          "Svoboda", "Google Pixel 7", "358240051111110", "Nenabíjí ✓ kontrola", "Odblokování" },
        { "2025-00005", 5, 4, "2025-02-28 23:59:59", "2025-02-28 23:50:00", false, 799.9, 0,
          "Skrytý", "Nabíječka USB-C", "", "", "Prodej příslušenství" },
        { "2025-00006", 3, 4, "2025-03-01 00:00:00", "2025-02-27 09:00:00", false, 990, 200,
          "Novák", "Apple iPhone 13", "353918100000002", "Nefunguje mikrofon", "Výměna mikrofonu" },
        { "2025-00007", 3, 3, "2025-02-28 11:00:00", "2025-02-24 15:00:00", false, 650, 120,
          "Novák", "Honor Magic5 Lite", "869874050000003", "Vrácena do opravy",
          "Výměna konektoru" },
        { "2025-00008", 2, 2, "", "2025-02-28 10:00:00", false, 0, 0, "Novák", "Nokia G21",
          "354567110000004", "Nečte SIM", "" },
        { "2025-00009", 5, 4, "2025-12-31 12:00:00", "2025-12-31 11:55:00", false, 100, 0, "Dvořák",
          "Pouzdro", "", "", "Prodej" },
        { "2025-00010", 6, 4, "2025-02-27 16:00:00", "2025-02-27 15:00:00", false, 0, 0, "Novák",
          "Apple iPhone 12", "356938035643810", "Zkontrolovat", "Bez závady" },
    };
    auto dateTime = [](const char *text) {
        return QDateTime::fromString(QString::fromUtf8(text),
                                     QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    };
    for (const Row &r : rows) {
        COrder o;
        o.OrderID = QString::fromUtf8(r.id);
        o.OrderTypeID = r.type;
        o.OrderStateID = r.state;
        o.OrderIssueDate = dateTime(r.issued);
        o.OrderReceiptDate = dateTime(r.received);
        o.OrderSoftware = r.software;
        o.OrderFinalPricePrimary = r.price;
        o.OrderComponentsPricePrimary = r.parts;
        o.OrderEngineerName = QString::fromUtf8(r.engineer);
        o.OrderPhoneType = QString::fromUtf8(r.phone);
        o.OrderPhoneIMEI = QString::fromUtf8(r.imei);
        o.OrderFaultDescription = QString::fromUtf8(r.fault);
        o.OrderRepairDescription = QString::fromUtf8(r.repair);
        data.StoreOrder(o);
    }
    data.ExecuteCommand(QStringLiteral("INSERT INTO t_filter_engineer_01 (FilterEngineerID, "
                                       "EngineerName) VALUES (?, ?)"),
                        { 1, QStringLiteral("Skrytý") });
}

// Compares a written report, read as Windows-1250, line by line with the expected one.
inline void compareWithGolden(const QString &reportFile, const QString &golden)
{
    QFile file(reportFile);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(reportFile));
    compareWithGoldenFile(QStringDecoder("windows-1250").decode(file.readAll()),
                          QStringLiteral("summary/golden/") + golden + QStringLiteral(".html"));
}
