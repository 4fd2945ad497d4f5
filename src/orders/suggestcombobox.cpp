#include "suggestcombobox.h"

#include "app/ui.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>

SuggestComboBox::SuggestComboBox(QWidget *parent) : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
}

void SuggestComboBox::setSource(std::function<QStringList()> source, bool reselect)
{
    m_source = std::move(source);
    m_reselect = reselect;
}

void SuggestComboBox::refill()
{
    if (!m_source || m_refilling)
        return;
    m_refilling = true;
    const QString shown = value();
    QStringList entries;
    const bool ok = runGuarded([&] { entries = m_source(); });
    if (ok) {
        entries.removeIf([](const QString &e) { return e.trimmed().isEmpty(); });
        for (QString &e : entries)
            e = e.trimmed();
        const QSignalBlocker blocker(this);
        clear();
        addItems(entries);
        int found = -1;
        if (m_reselect) {
            for (int i = 0; i < entries.size(); ++i)
                if (entries[i].compare(shown, Qt::CaseInsensitive) == 0) {
                    found = i;
                    break;
                }
        }
        setCurrentIndex(found);
        // An editable box keeps showing what was typed even when it is not in the list.
        if (isEditable() && found < 0)
            setEditText(shown);
    }
    m_refilling = false;
    emit refilled();
}

void SuggestComboBox::setSingleEntry(const QString &text)
{
    clear();
    addItem(text);
    setCurrentIndex(0);
    if (isEditable())
        setEditText(text);
}

QString SuggestComboBox::value() const
{
    if (isEditable())
        return currentText();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void SuggestComboBox::setFreeTyping(bool free)
{
    if (free == isEditable())
        return;
    const QString shown = value();
    setEditable(free);
    if (free) {
        lineEdit()->setText(shown);
    }
}

void SuggestComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        refill();
}

void SuggestComboBox::showPopup()
{
    refill();
    QComboBox::showPopup();
}
