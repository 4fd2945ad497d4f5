#pragma once

#include <QString>
#include <QStringList>

class CSymbols;

// Checks the language files against the keys the program looks up: every key present with
// a text in every language, and every text that the program formats carrying the
// placeholders the program passes, in the same order. No widgets; the admin tool and the
// tests call it.
namespace TextCheck {

// Every key the program looks up, grouped by window prefix. This is the one list of keys:
// windows take their texts by these names.
const QStringList &requiredKeys();

// The placeholders the program passes when it formats the text of a key, in order
// (e.g. "%d %d" for Rpx2.OrderSelectedCount); empty for a text shown as it is.
QString formatOf(const QString &key);

// The printf-style placeholders of a text in order of appearance, as written ("%s",
// "%.2f"). "%%" is a literal percent sign and is not listed; a "%" that starts no valid
// placeholder is listed as "%".
QStringList placeholders(const QString &text);

// True when two placeholder lists agree in kind and order: %d, %i and %u are whole
// numbers, %f, %e and %g real numbers, %s texts; flags, width and precision do not matter
// (%.2f matches %0.2f). A placeholder that the text formatter cannot fill (%ld, %x, %c, %E)
// matches nothing.
bool samePlaceholders(const QStringList &a, const QStringList &b);

// The problems of one language file, one readable line each, prefixed with fileName:
// required keys that are missing or empty, keys defined more than once, keys the program
// does not know, and texts whose placeholders differ or cannot be filled. A formatted text is
// compared with formatOf(); any other text with the Czech file's text when `czech` is given.
QStringList checkSymbols(const QString &fileName, const CSymbols &symbols, const CSymbols *czech);

// Reads Rpx_cs.txt, Rpx_pl.txt and Rpx_sk.txt from the folder and lists every problem as
// one readable line (also a file that is missing, has a byte-order mark or is UTF-8
// encoded). An empty list means the files are complete.
QStringList checkFolder(const QString &dir);

} // namespace TextCheck
