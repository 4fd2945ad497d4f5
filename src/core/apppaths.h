#pragma once

#include <QString>

// Files that live beside the program: the database, the language files, the operations
// log and the photo folder. Tests point the program folder at a temporary directory.
namespace AppPaths {
QString programDir();                       // without a trailing separator
void setProgramDir(const QString &dir);     // empty: the running program's folder
QString databaseFile();                     // programDir()/rpx3.db
QString operationsLog();                    // programDir()/rpx-operations.csv
QString photoDir();                         // programDir()/foto
QString languageFile(const QString &code);  // programDir()/Rpx_<code>.txt
inline constexpr char DatabaseFileName[] = "rpx3.db";
} // namespace AppPaths
