#pragma once

#include <QString>
#include <QStringList>

class QTextStream;
class TRpx2Data;

// `print receipt|issue ORDERID [--held ID,ID,...] --pdf FILE`: writes the document that
// the main window's preview shows into a PDF file. With --held the held-orders document
// (ORDERID stands for the order current in the main window), otherwise the one- or
// two-per-page document of the print mode; captions in the shop's language.
class PrintCommand
{
public:
    // Reads the arguments after "print"; throws UsageError.
    explicit PrintCommand(QStringList args);

    // Writes the PDF and reports it on `out`; a logo that cannot be read is reported on
    // `err` and left out. Throws RpxError for an unknown order or a file that cannot be
    // written.
    void run(TRpx2Data &data, QTextStream &out, QTextStream &err) const;

private:
    bool m_issue = false;
    QString m_orderId;
    QStringList m_held;
    QString m_pdf;
};
