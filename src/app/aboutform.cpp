#include "aboutform.h"

#include "simpleresources.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TRpxAboutForm::TRpxAboutForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TRpxAboutForm"));
    setWindowTitle(QStringLiteral("O aplikaci"));
    auto *layout = new QVBoxLayout(this);
    auto *icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    auto *name = new QLabel(QStringLiteral("<h2>Repaxo</h2>"));
    name->setObjectName(QStringLiteral("ProductLabel"));
    name->setAlignment(Qt::AlignCenter);
    auto *version = new QLabel(QStringLiteral("Verze %1<br>Sestaveno %2")
                                   .arg(QStringLiteral(REPAXO_VERSION), QStringLiteral(__DATE__)));
    version->setObjectName(QStringLiteral("VersionLabel"));
    version->setAlignment(Qt::AlignCenter);
    auto *purpose = new QLabel(QStringLiteral("Evidence servisních zakázek\nprodejny a servisu mobilních telefonů"));
    purpose->setAlignment(Qt::AlignCenter);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setText(QStringLiteral("Ok"));
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
