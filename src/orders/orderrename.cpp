#include "orderrename.h"

#include "app/ui.h"
#include "orderupdateform.h"
#include "rpx2data.h"
#include "rpxerror.h"
#include "simpleresources.h"

#include <QDialog>

namespace {

// Fills the "%s" placeholders of a text in order ("%%" is a percent sign). The values are
// inserted as they are, so a value holding "%s" itself is not expanded again.
QString formatTexts(const QString &text, const QStringList &values)
{
    QString result;
    int next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('%') && i + 1 < text.size()) {
            const QChar c = text.at(i + 1);
            if (c == QLatin1Char('%')) {
                result += QLatin1Char('%');
                ++i;
                continue;
            }
            if (c == QLatin1Char('s') && next < values.size()) {
                result += values.at(next++);
                ++i;
                continue;
            }
        }
        result += text.at(i);
    }
    return result;
}

QString confirmationText(const QString &from, const QString &to)
{
    QString text;
    try {
        text = rpxText("Rpx2.ConfirmOrderChange");
    } catch (const RpxError &) {
        text = QStringLiteral("Opravdu ve všech zakázkách změnit „%s“ na „%s“?");
    }
    return formatTexts(text, {from, to});
}

} // namespace

bool OrderRename::run(QWidget *owner, Kind kind, const QString &from, QString *to)
{
    // An empty filter box stands for every value; renaming "nothing" would give all orders
    // without an engineer or device type the new name.
    if (from.trimmed().isEmpty())
        return false;

    TOrderUpdateForm form(owner);
    form.setValue(from);
    if (Ui::instance().exec(form) != QDialog::Accepted)
        return false;
    const QString value = form.newValue();
    if (value.isEmpty() || value == from)
        return false;

    if (Ui::instance().ask(confirmationText(from, value), QStringLiteral("Otázka"),
                           Prompts::Buttons::OkCancel, Prompts::Icon::Question)
        != Prompts::Answer::Ok)
        return false;

    const bool renamed = runGuarded([&] {
        TRpx2Data *data = TRpx2Data::instance();
        if (!data)
            throw RpxError(QStringLiteral("Databáze není otevřena."));
        if (kind == Kind::Engineer)
            data->RenameEngineer(from, value);
        else
            data->RenamePhoneType(from, value);
    });
    if (renamed && to)
        *to = value;
    return renamed;
}
