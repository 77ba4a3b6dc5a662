#pragma once

#include "Prompter.h"

#include <QList>
#include <QStringList>
#include <QUrl>

// A prompter for tests: answers questions from a list, hands out file names from a list and
// records everything it was shown, so that a test can assert the exact text and caption.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString caption;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    QList<Answer> answers;       // taken from the front, one per question
    QStringList fileNames;       // taken from the front, one per file dialog
    QList<Shown> shown;          // every message and question, in order
    QList<QUrl> openedUrls;      // every address handed to the desktop
    int unansweredQuestions = 0; // questions asked after the answers ran out (answered No/Cancel)

    Answer show(const QString& caption, const QString& text, Icon icon, Buttons buttons) override;
    QString saveFileName(const QString& caption, const QString& suggestedPath,
                         const QString& filter) override;
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    void openUrl(const QUrl& url) override { openedUrls << url; }

    QStringList texts() const;
    const Shown& last() const { return shown.constLast(); }
};
