#include "orderupdateform.h"

#include "rpxerror.h"
#include "simpleresources.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {


} // namespace

TOrderUpdateForm::TOrderUpdateForm(QWidget *owner)
    : QDialog(owner),
      m_description(new QPlainTextEdit(this)),
      m_fromLabel(new QLabel(this)),
      m_from(new QLineEdit(this)),
      m_toLabel(new QLabel(this)),
      m_to(new QLineEdit(this)),
      m_ok(new QPushButton(this)),
      m_cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("TOrderUpdateForm"));

    // The description reads like a label: read-only, no frame, the window's background.
    m_description->setObjectName(QStringLiteral("DescriptionMemo"));
    m_description->setReadOnly(true);
    m_description->setFrameShape(QFrame::NoFrame);
    m_description->setFocusPolicy(Qt::NoFocus);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_description->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_description->setTextInteractionFlags(Qt::NoTextInteraction);
    m_description->viewport()->setAutoFillBackground(false);
    m_description->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    m_description->document()->setDocumentMargin(0);

    m_fromLabel->setObjectName(QStringLiteral("FromLabel"));
    m_from->setObjectName(QStringLiteral("EditFrom"));
    m_from->setReadOnly(true);
    m_fromLabel->setBuddy(m_from);
    m_toLabel->setObjectName(QStringLiteral("ToLabel"));
    m_to->setObjectName(QStringLiteral("EditTo"));
    m_toLabel->setBuddy(m_to);

    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_to, &QLineEdit::textChanged, this, &TOrderUpdateForm::updateOkButton);

    // Design texts, then the language file's.
    setWindowTitle(rpxTextOr("OrderUpdate.Window", QStringLiteral("Oprava")));
    m_description->setPlainText(rpxTextOr(
        "OrderUpdate.Description", QStringLiteral("Ve všech zakázkách bude provedena záměna:")));
    m_fromLabel->setText(rpxTextOr("OrderUpdate.From", QStringLiteral("z:")));
    m_toLabel->setText(rpxTextOr("OrderUpdate.To", QStringLiteral("na:")));
    m_ok->setText(rpxTextOr("OrderUpdate.Ok", QStringLiteral("OK")));
    m_cancel->setText(rpxTextOr("OrderUpdate.Cancel", QStringLiteral("Storno")));

    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(QLatin1Char('x')) * 48;
    m_from->setMinimumWidth(width);
    m_description->setFixedSize(width, metrics.lineSpacing() * 2 + 4);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_description);
    layout->addWidget(m_fromLabel);
    layout->addWidget(m_from);
    layout->addSpacing(4);
    layout->addWidget(m_toLabel);
    layout->addWidget(m_to);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_to->setFocus();
    updateOkButton();
}

void TOrderUpdateForm::setValue(const QString &value)
{
    m_from->setText(value);
    m_from->setCursorPosition(0);
    m_to->setText(value);
    m_to->selectAll();
}

QString TOrderUpdateForm::newValue() const
{
    return m_to->text().trimmed();
}

void TOrderUpdateForm::updateOkButton()
{
    m_ok->setEnabled(!m_to->text().trimmed().isEmpty());
}
