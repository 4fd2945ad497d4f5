#include "passwordcheck.h"

#include "app/ui.h"
#include "changepasswordform.h"
#include "config.h"
#include "passwordform.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"

namespace {
CConfig &config()
{
    TRpx2Data *data = TRpx2Data::instance();
    if (!data)
        throw RpxError(QStringLiteral("Databáze není otevřena."));
    return data->config();
}
} // namespace

bool PasswordCheck::allowed(QWidget *owner, const char *invalidPasswordKey)
{
    const QString password = config().GetPassword();
    if (password.isEmpty())
        return true;

    TPasswordForm form(owner);
    if (Ui::instance().exec(form) != QDialog::Accepted)
        return false;
    if (form.password() == password)
        return true;
    Ui::instance().message(rpxText(invalidPasswordKey), appErrorTitle(), Prompts::Icon::Error);
    return false;
}

void PasswordCheck::changePassword(QWidget *owner)
{
    CConfig &cfg = config();
    const QString current = cfg.GetPassword();

    TChangePasswordForm form(owner);
    form.setOldPasswordEnabled(!current.isEmpty());
    if (Ui::instance().exec(form) != QDialog::Accepted)
        return;

    Ui &ui = Ui::instance();
    if (form.oldPassword() != current) {
        ui.message(QStringLiteral("Nesouhlasí staré heslo!"), {}, Prompts::Icon::Warning);
        return;
    }
    const QString password = form.newPassword1();
    if (password != form.newPassword2()) {
        ui.message(QStringLiteral("Nesouhlasí potvrzení nového hesla!"), {},
                   Prompts::Icon::Warning);
        return;
    }
    // The password is stored in the shop's single-byte code page; a character outside it
    // would be stored as a substitute that nobody can type, locking the shop out.
    if (CConfig::UnscramblePassword(CConfig::ScramblePassword(password)) != password) {
        ui.message(rpxText("Global.PasswordNotStorable"), {}, Prompts::Icon::Warning);
        return;
    }
    cfg.SetPassword(password);
    ui.message(password.isEmpty() ? QStringLiteral("Staré heslo bylo odstraněno!")
                                  : QStringLiteral("Nové heslo bylo nastaveno!"),
        {}, Prompts::Icon::Information);
}
