#pragma once

#include <QString>

#include <stdexcept>

// The one exception type of the program: a command that cannot go on throws it, and the
// command's caller shows its text in the standard error box. The text is the user's.
class TraderError : public std::runtime_error {
public:
    explicit TraderError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};
