#pragma once

#include <QString>

// The seam through which the core (and the widgets above it) show messages and ask
// questions. The program shows message boxes; tests answer from a script and record what
// was shown, so no test ever blocks on a modal box.
class Prompts
{
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class MissingDatabase { ChooseFile, CreateNew, Quit };

    virtual ~Prompts() = default;

    virtual void message(const QString &text, const QString &title = {}, Icon icon = Icon::None) = 0;
    // defaultButton is the answer Enter gives: Yes (Ok) unless No (Cancel) is named, for a
    // question whose Yes would drop something.
    virtual Answer ask(const QString &text, const QString &title, Buttons buttons,
                       Icon icon = Icon::Question, Answer defaultButton = Answer::Yes)
        = 0;
    // The database was not found: choose a file, create a new one beside the program, or quit.
    virtual MissingDatabase missingDatabase(const QString &text) = 0;
    // A file-open dialog; an empty result means cancelled.
    virtual QString openFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
};
