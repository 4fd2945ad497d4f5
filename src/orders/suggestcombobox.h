#pragma once

#include <QComboBox>

#include <functional>

// A combo box whose list is rebuilt from its source each time it is entered or dropped
// down. The source returns the entries; blank entries are skipped. With `reselect` the text
// shown before the refill is selected again (ignoring letter case), or nothing when it is
// no longer in the list.
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

signals:
    void refilled();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void showPopup() override;

private:
    std::function<QStringList()> m_source;
    bool m_reselect = false;
    bool m_refilling = false;
};
