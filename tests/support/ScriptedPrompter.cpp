#include "ScriptedPrompter.h"

Prompter::Answer ScriptedPrompter::show(const QString& caption, const QString& text, Icon icon,
                                        Buttons buttons)
{
    shown.append({caption, text, icon, buttons});
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        break;
    }
    if (!answers.isEmpty())
        return answers.takeFirst();
    ++unansweredQuestions;
    switch (buttons) {
    case Buttons::YesNo:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString ScriptedPrompter::saveFileName(const QString&, const QString&, const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedPrompter::openFileName(const QString&, const QString&, const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QStringList ScriptedPrompter::texts() const
{
    QStringList all;
    for (const Shown& s : shown)
        all << s.text;
    return all;
}
