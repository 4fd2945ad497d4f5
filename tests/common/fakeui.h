#pragma once

#include "app/ui.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

// A scripted Ui for tests: records every message and question, answers from queues, and
// runs dialogs through handlers instead of a modal loop. Unscripted questions answer
// Yes/Ok, unscripted dialogs are rejected.
class FakeUi final : public Ui
{
public:
    struct Shown
    {
        QString text;
        QString title;
        Icon icon;
        Answer defaultButton = Answer::Yes; // of a question
    };

    FakeUi() { Ui::setInstance(this); }
    ~FakeUi() override { Ui::setInstance(nullptr); }

    QList<Shown> messages;
    QList<Shown> questions;
    std::deque<Answer> answers;
    std::deque<MissingDatabase> databaseChoices;
    std::deque<QString> fileNames;
    std::deque<std::function<int(QDialog &)>> dialogHandlers;
    QStringList dialogsShown; // objectName of every dialog run
    QList<QUrl> openedUrls;
    bool openUrlResult = true;
    std::deque<QString> inputs; // answers to inputText; empty queue = cancelled

    void message(const QString &text, const QString &title, Icon icon) override
    {
        messages.append({text, title, icon});
    }
    Answer ask(const QString &text, const QString &title, Buttons buttons, Icon icon,
               Answer defaultButton) override
    {
        questions.append({ text, title, icon, defaultButton });
        return take(answers, buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok);
    }
    MissingDatabase missingDatabase(const QString &text) override
    {
        messages.append({text, QString(), Icon::Warning});
        return take(databaseChoices, MissingDatabase::Quit);
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return nextFile(); }
    QString saveFileName(const QString &, const QString &, const QString &) override { return nextFile(); }
    int exec(QDialog &dialog) override
    {
        dialogsShown.append(dialog.objectName());
        const auto handler = take(dialogHandlers, {});
        const int result = handler ? handler(dialog) : int(QDialog::Rejected);
        dialog.setResult(result);
        return result;
    }
    bool openUrl(const QUrl &url) override
    {
        openedUrls.append(url);
        return openUrlResult;
    }
    bool inputText(const QString &, const QString &, QString &text) override
    {
        const bool given = !inputs.empty();
        text = take(inputs, text);
        return given;
    }

    QStringList messageTexts() const
    {
        QStringList list;
        for (const Shown &s : messages)
            list.append(s.text);
        return list;
    }

private:
    QString nextFile() { return take(fileNames, QString()); }
    template<typename T> static T take(std::deque<T> &queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};
