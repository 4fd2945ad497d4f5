#pragma once

#include <QString>
#include <QVariantList>

// Fills a printf-style text from the language files ("Vybráno: %d", "%s: %s") with values
// in order: %s and %d/%i take the next value as text or integer, %.2f (any precision) as a
// number, %% is a percent sign. Missing values leave the conversion empty; surplus values
// are ignored, so a translated text can never crash the program.
QString formatText(const QString &format, const QVariantList &values);
