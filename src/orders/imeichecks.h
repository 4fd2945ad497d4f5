#pragma once

#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QWidget;
class TRpx2Data;

// What the main window and the multi-device intake do with an IMEI a clerk has typed.
namespace ImeiChecks {

// Asks the stolen-phone register about the IMEI while a wait cursor (and, when given, a
// status text) shows that the program is waiting. Tells the clerk when the register lists
// the phone, or that the check could not be made; never throws, so that the shop's own
// history search runs either way.
void checkRegister(TRpx2Data &data, const QString &imei, QLabel *status = nullptr);

// The IMEI box's background: a warning colour with a tool tip while it holds 15 digits
// whose check digit is wrong, else light green for an e-mailed order, else the normal one.
void styleImeiBox(QLineEdit *box, bool emailed);

// Calls `left` each time the focus leaves the widget for another control; activating
// another window or opening a popup does not count.
void onFocusLeave(QWidget *widget, std::function<void()> left);

} // namespace ImeiChecks
