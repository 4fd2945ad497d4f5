#include "aboutform.h"

#include "simpleresources.h"
#include "textformat.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The compiler's build date ("Dec  6 2026") in the program's date format.
QString buildDate()
{
    const QString date = QString::fromLatin1(__DATE__).simplified();
    const QDate parsed = QLocale::c().toDate(date, QStringLiteral("MMM d yyyy"));
    return parsed.isValid() ? parsed.toString(QStringLiteral("dd.MM.yyyy")) : date;
}

} // namespace

TRpxAboutForm::TRpxAboutForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TRpxAboutForm"));
    auto *layout = new QVBoxLayout(this);
    auto *icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    auto *name = new QLabel(QStringLiteral("<h2>Repaxo</h2>"));
    name->setObjectName(QStringLiteral("ProductLabel"));
    name->setAlignment(Qt::AlignCenter);
    auto *version = new QLabel(
        formatText(rpxText("RpxAbout.Version"), { QStringLiteral(REPAXO_VERSION) }).toHtmlEscaped()
        + QStringLiteral("<br>")
        + formatText(rpxText("RpxAbout.Built"), { buildDate() }).toHtmlEscaped());
    version->setObjectName(QStringLiteral("VersionLabel"));
    version->setAlignment(Qt::AlignCenter);
    auto *purpose = new QLabel(rpxText("RpxAbout.Description"));
    purpose->setObjectName(QStringLiteral("DescriptionLabel"));
    purpose->setAlignment(Qt::AlignCenter);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OkButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(purpose);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setWindowTitle(rpxText("RpxAbout.Window"));
    ok->setText(rpxText("RpxAbout.Ok"));
}
