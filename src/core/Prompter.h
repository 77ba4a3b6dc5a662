#pragma once

#include <QString>
#include <QUrl>

// The only way logic talks to the person at the screen: message boxes, questions, file
// dialogs and handing an address to the desktop. Windows use the Qt one; tests and the
// headless program supply their own.
class Prompter {
public:
    enum class Icon { Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    virtual Answer show(const QString& caption, const QString& text, Icon icon,
                        Buttons buttons) = 0;
    // An empty result means the person cancelled the dialog.
    virtual QString saveFileName(const QString& caption, const QString& suggestedPath,
                                 const QString& filter) = 0;
    virtual QString openFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // The result is not checked: an address that cannot be opened reports nothing.
    virtual void openUrl(const QUrl& url) = 0;

    void inform(const QString& caption, const QString& text)
    {
        show(caption, text, Icon::Information, Buttons::Ok);
    }
    void warn(const QString& caption, const QString& text)
    {
        show(caption, text, Icon::Warning, Buttons::Ok);
    }
    void error(const QString& caption, const QString& text)
    {
        show(caption, text, Icon::Error, Buttons::Ok);
    }
    Answer ask(const QString& caption, const QString& text, Buttons buttons = Buttons::YesNo)
    {
        return show(caption, text, Icon::Question, buttons);
    }
};
