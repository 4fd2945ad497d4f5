#pragma once

#include <QComboBox>

#include <functional>

// A combo box whose list is rebuilt from its source each time it is entered or dropped
// down. The source returns the entries; blank entries are skipped. With `reselect` the text
// shown before the refill is selected again (ignoring letter case); the value the box was
// given (setSingleEntry) stays in the list even when the source no longer holds it, so a
// refill never changes or blanks what the box shows.
//
// With free typing the box keeps exactly what was typed: no letters are completed inline.
// A pop-up lists the entries that contain the typed text, ignoring letter case and
// diacritics; picking one takes it.
class SuggestComboBox final : public QComboBox
{
    Q_OBJECT
public:
    explicit SuggestComboBox(QWidget *parent = nullptr);

    void setSource(std::function<QStringList()> source, bool reselect);
    void refill();
    // Replaces the list by one entry and selects it (what showing an order does).
    void setSingleEntry(const QString &text);
    // The selected entry's text, or the typed text when nothing is selected.
    QString value() const;
    // Free typing allowed (editable) or only picking from the list.
    void setFreeTyping(bool free);

    // Text folded for matching: lower case, without diacritics.
    static QString folded(const QString &text);

signals:
    void refilled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showPopup() override;

private:
    void setEntries(const QStringList &entries);
    void showStart();
    int widestEntry() const;

    std::function<QStringList()> m_source;
    bool m_reselect = false;
    bool m_refilling = false;
    QString m_ownValue; // the value given by setSingleEntry
};
