#pragma once

#include "prompts.h"

#include <QStringList>

#include <deque>

// Prompts for core tests: records every text shown and answers from queues. Questions
// answer Yes; an empty choice queue quits, an empty file queue cancels the dialog.
class ScriptedPrompts final : public Prompts
{
public:
    QStringList messages;
    std::deque<MissingDatabase> choices;
    std::deque<QString> files;

    void message(const QString &text, const QString &, Icon) override { messages.append(text); }
    Answer ask(const QString &text, const QString &, Buttons, Icon, Answer) override
    {
        messages.append(text);
        return Answer::Yes;
    }
    MissingDatabase missingDatabase(const QString &text) override
    {
        messages.append(text);
        return take(choices, MissingDatabase::Quit);
    }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        return take(files, QString());
    }

private:
    template<typename T>
    static T take(std::deque<T> &queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
