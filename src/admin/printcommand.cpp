#include "printcommand.h"

#include "apppaths.h"
#include "orderprint.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"
#include "usageerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

PrintCommand::PrintCommand(QStringList args)
{
    const QString kind = args.isEmpty() ? QString() : args.takeFirst();
    if (kind != QLatin1String("receipt") && kind != QLatin1String("issue"))
        throw UsageError(QStringLiteral("print needs receipt or issue"));
    m_issue = kind == QLatin1String("issue");
    while (!args.isEmpty()) {
        QString option = args.takeFirst();
        QString value;
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option.truncate(equals);
        } else if (option == QLatin1String("--held") || option == QLatin1String("--pdf")) {
            if (args.isEmpty())
                throw UsageError(QStringLiteral("%1 needs a value").arg(option));
            value = args.takeFirst();
        }
        if (option == QLatin1String("--held")) {
            m_held = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (QString &id : m_held)
                id = id.trimmed();
            if (m_held.isEmpty())
                throw UsageError(QStringLiteral("--held needs order numbers separated by commas"));
        } else if (option == QLatin1String("--pdf")) {
            m_pdf = value;
        } else if (option.startsWith(QLatin1Char('-'))) {
            throw UsageError(QStringLiteral("unknown print option %1").arg(option));
        } else if (m_orderId.isEmpty()) {
            m_orderId = option;
        } else {
            throw UsageError(
                QStringLiteral("print takes one order number, not also \"%1\"").arg(option));
        }
    }
    if (m_orderId.isEmpty())
        throw UsageError(QStringLiteral("print needs an order number"));
    if (m_pdf.isEmpty())
        throw UsageError(QStringLiteral("print needs --pdf FILE"));
}

void PrintCommand::run(TRpx2Data &data, QTextStream &out, QTextStream &err) const
{
    const QStringList ids = QStringList(m_held) << m_orderId;
    for (const QString &id : ids) {
        if (!data.GetOrder(id))
            throw RpxError(QStringLiteral("there is no order %1").arg(id));
    }
    // The shop's language file: beside the database, else beside this tool.
    const QString code = CSimpleResources::currentLanguageCode();
    QString texts = AppPaths::languageFile(code);
    if (!QFileInfo(texts).isFile())
        texts = QCoreApplication::applicationDirPath() + QStringLiteral("/Rpx_%1.txt").arg(code);
    CSimpleResources::instance().load(texts);

    const PrintDocument document = makeOrderPrint(
        data, m_issue ? OrderPrintKind::Issue : OrderPrintKind::Receipt, m_orderId, m_held);
    if (!document.warning.isEmpty())
        err << "repaxo-admin: "
            << QString(document.warning).replace(QStringLiteral("\n\n"), QStringLiteral(" "))
            << '\n';
    // A missing folder is made, as for the summaries.
    const QString folder = QFileInfo(m_pdf).absolutePath();
    if (!QDir().mkpath(folder))
        throw RpxError(QStringLiteral("the folder %1 for the PDF cannot be created")
                           .arg(QDir::toNativeSeparators(folder)));
    document.writePdf(m_pdf);
    out << "Wrote " << (m_issue ? "the issue document" : "the receipt") << " ("
        << document.pages.size() << (document.pages.size() == 1 ? " page" : " pages") << ") to "
        << QDir::toNativeSeparators(QFileInfo(m_pdf).absoluteFilePath()) << '\n';
}
