#pragma once

#include "Prompter.h"

#include <cstdio>

// The headless program's prompter: every message is printed; a question is asked on the
// terminal when there is one, and otherwise answered Yes with --yes and No without it.
class TerminalPrompter : public Prompter {
public:
    TerminalPrompter(bool assumeYes, bool interactive, FILE* out = stdout, FILE* in = stdin);

    Answer show(const QString& caption, const QString& text, Icon icon, Buttons buttons) override;
    QString saveFileName(const QString& caption, const QString& suggestedPath,
                         const QString& filter) override;
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    void openUrl(const QUrl& url) override;

private:
    void print(const QString& line);
    bool m_assumeYes;
    bool m_interactive;
    FILE* m_out;
    FILE* m_in;
};
