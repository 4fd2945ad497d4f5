#pragma once

class QWidget;

// The shop's optional password guarding actions that could undo or falsify recorded work.
namespace PasswordCheck {

// True when the action may go on: at once when no password is set, otherwise only when the
// prompt is confirmed with exactly the stored password (letter case counts). A wrong
// password shows the text of invalidPasswordKey; Cancel refuses silently. Database errors
// propagate as RpxError.
bool allowed(QWidget *owner, const char *invalidPasswordKey);

// Runs the password change: the old password must match (its box is disabled when none is
// set) and the new one must be typed twice alike; an empty new password removes the
// protection. Every outcome but Cancel is reported in a message box.
void changePassword(QWidget *owner);

} // namespace PasswordCheck
