#pragma once

#include "rpxerror.h"
#include "simpleresources.h"

#include <QString>

// The localized text of a key for the customer dialogs. A missing key reads "{NULL}" like
// everywhere else; when the language file cannot be read at all the dialog keeps its
// built-in Czech text instead of failing to open.
inline QString customerText(const char *key, const QString &builtIn)
{
    try {
        return rpxText(key);
    } catch (const RpxError &) {
        return builtIn;
    }
}
