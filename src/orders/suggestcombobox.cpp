#include "suggestcombobox.h"

#include "app/ui.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

constexpr int FoldedRole = Qt::UserRole + 1;

// Matches the typed text anywhere in an entry, ignoring letter case and diacritics: the
// entries carry their folded text, and the typed text is folded the same way. A picked
// entry is taken as the list writes it.
class FoldingCompleter final : public QCompleter
{
public:
    using QCompleter::QCompleter;
    QStringList splitPath(const QString &path) const override
    {
        return { SuggestComboBox::folded(path) };
    }
    QString pathFromIndex(const QModelIndex &index) const override
    {
        return index.data(Qt::DisplayRole).toString();
    }
};

bool containsIgnoringCase(const QStringList &entries, const QString &text)
{
    return entries.contains(text, Qt::CaseInsensitive);
}

} // namespace

SuggestComboBox::SuggestComboBox(QWidget *parent) : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
}

// A long name shown in a narrow box shows its start, not its end, unless the clerk works in it.
void SuggestComboBox::showStart()
{
    if (lineEdit() && !hasFocus())
        lineEdit()->setCursorPosition(0);
}

QString SuggestComboBox::folded(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString result;
    result.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            result.append(c);
    return result.toCaseFolded();
}

void SuggestComboBox::setSource(std::function<QStringList()> source, bool reselect)
{
    m_source = std::move(source);
    m_reselect = reselect;
}

void SuggestComboBox::setEntries(const QStringList &entries)
{
    clear();
    addItems(entries);
    for (int i = 0; i < count(); ++i)
        setItemData(i, folded(itemText(i)), FoldedRole);
    if (QCompleter *c = completer())
        c->popup()->setMinimumWidth(widestEntry());
}

// Wide enough for the longest entry, so that the lists do not cut names.
int SuggestComboBox::widestEntry() const
{
    const QFontMetrics metrics(view()->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, metrics.horizontalAdvance(itemText(i)));
    return widest + view()->verticalScrollBar()->sizeHint().width() + 2 * view()->frameWidth() + 16;
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
        int found = -1;
        if (m_reselect) {
            found = int(entries.indexOf(shown));
            for (int i = 0; found < 0 && i < entries.size(); ++i)
                if (entries[i].compare(shown, Qt::CaseInsensitive) == 0)
                    found = i;
            // The box's own value stays selectable although the source lacks it.
            if (!m_ownValue.isEmpty() && !containsIgnoringCase(entries, m_ownValue)) {
                entries.prepend(m_ownValue);
                if (found >= 0)
                    ++found;
                else if (shown == m_ownValue)
                    found = 0;
            }
        }
        const QSignalBlocker blocker(this);
        setEntries(entries);
        setCurrentIndex(found);
        // An editable box keeps showing what was typed even when it is not in the list.
        if (isEditable() && found < 0)
            setEditText(shown);
        showStart();
    }
    m_refilling = false;
    emit refilled();
}

void SuggestComboBox::setSingleEntry(const QString &text)
{
    m_ownValue = text;
    setEntries({ text });
    setCurrentIndex(0);
    if (isEditable())
        setEditText(text);
    showStart();
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
    const QSignalBlocker blocker(this);
    if (!free) {
        setEditable(false);
        // A typed value becomes an entry, so that picking only does not blank it.
        int index = findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index < 0 && !shown.isEmpty()) {
            addItem(shown);
            index = count() - 1;
            setItemData(index, folded(shown), FoldedRole);
        }
        setCurrentIndex(index);
        return;
    }
    setEditable(true);
    // Qt's own completer would append the rest of the first entry that begins with the
    // typed letters; this one only offers the matching entries in a pop-up.
    auto *completer = new FoldingCompleter(model(), lineEdit());
    completer->setCompletionRole(FoldedRole);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setMaxVisibleItems(12);
    setCompleter(completer);
    completer->popup()->setMinimumWidth(widestEntry());
    completer->popup()->installEventFilter(this);
    lineEdit()->setText(shown);
    showStart();
}

bool SuggestComboBox::eventFilter(QObject *watched, QEvent *event)
{
    // Tab leaves the box also while the pop-up is open (the completer alone would only
    // close the pop-up), so that leaving the box works the same either way.
    if (completer() && watched == completer()->popup() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            completer()->popup()->hide();
            focusNextPrevChild(key == Qt::Key_Tab);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void SuggestComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        refill();
}

void SuggestComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        showStart();
}

void SuggestComboBox::showPopup()
{
    refill();
    view()->setMinimumWidth(widestEntry());
    QComboBox::showPopup();
}
