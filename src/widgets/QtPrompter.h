#pragma once

#include "Prompter.h"

class QWidget;

// Real message boxes and file dialogs, owned by the window that shows them.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* owner = nullptr);
    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer show(const QString& caption, const QString& text, Icon icon, Buttons buttons) override;
    QString saveFileName(const QString& caption, const QString& suggestedPath,
                         const QString& filter) override;
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    void openUrl(const QUrl& url) override;

private:
    QWidget* m_owner;
};
