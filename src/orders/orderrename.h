#pragma once

#include <QString>

class QWidget;

// Renaming an engineer or a device type in every order at once.
namespace OrderRename {

enum class Kind { Engineer, PhoneType };

// Shows the rename dialog for `from`, asks for confirmation and renames every order whose
// value equals `from` exactly, handed-back orders included. Returns true when the orders
// were renamed, with the new value in *to (when given); false when the user cancelled, when
// there was nothing to rename (an empty `from`, or the same value again) or when the
// database failed (the error has then been shown). The password check and refreshing the
// list are the caller's.
bool run(QWidget *owner, Kind kind, const QString &from, QString *to);

} // namespace OrderRename
