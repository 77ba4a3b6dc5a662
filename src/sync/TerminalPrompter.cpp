#include "TerminalPrompter.h"

#include <QTextStream>

TerminalPrompter::TerminalPrompter(bool assumeYes, bool interactive, FILE* out, FILE* in)
    : m_assumeYes(assumeYes)
    , m_interactive(interactive)
    , m_out(out)
    , m_in(in)
{
}

void TerminalPrompter::print(const QString& line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

Prompter::Answer TerminalPrompter::show(const QString& caption, const QString& text, Icon icon,
                                        Buttons buttons)
{
    QString kind;
    switch (icon) {
    case Icon::Error:
        kind = QStringLiteral("Ошибка: ");
        break;
    case Icon::Warning:
        kind = QStringLiteral("Внимание: ");
        break;
    default:
        break;
    }
    const QString message = QLatin1Char('[') + caption + QStringLiteral("] ") + kind + text;
    if (buttons == Buttons::Ok) {
        print(message);
        return Answer::Ok;
    }
    const bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
    const Answer positive = yesNo ? Answer::Yes : Answer::Ok;
    const Answer negative = yesNo ? Answer::No : Answer::Cancel;
    if (!m_interactive) {
        const Answer answer = m_assumeYes ? positive : negative;
        print(message + (answer == positive
                             ? (yesNo ? QStringLiteral(" — Да") : QStringLiteral(" — OK"))
                             : (yesNo ? QStringLiteral(" — Нет") : QStringLiteral(" — Отмена"))));
        return answer;
    }
    const QString choices = buttons == Buttons::YesNoCancel ? QStringLiteral(" [д/н/о] ")
                            : yesNo                         ? QStringLiteral(" [д/н] ")
                                    : QStringLiteral(" [о — отмена] ");
    for (;;) {
        const QByteArray prompt = (message + choices).toLocal8Bit();
        std::fwrite(prompt.constData(), 1, size_t(prompt.size()), m_out);
        std::fflush(m_out);
        char line[256];
        if (!std::fgets(line, sizeof line, m_in))
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        const QString reply = QString::fromLocal8Bit(line).trimmed().toLower();
        if (reply.startsWith(QLatin1Char('y')) || reply.startsWith(QStringLiteral("д")))
            return positive;
        if (yesNo && (reply.startsWith(QLatin1Char('n')) || reply.startsWith(QStringLiteral("н"))))
            return Answer::No;
        if (buttons != Buttons::YesNo &&
            (reply.startsWith(QLatin1Char('c')) || reply.startsWith(QStringLiteral("о"))))
            return Answer::Cancel;
    }
}

QString TerminalPrompter::saveFileName(const QString& caption, const QString&, const QString&)
{
    print(caption + QStringLiteral(": выбор файла недоступен без окна"));
    return {};
}

QString TerminalPrompter::openFileName(const QString& caption, const QString&, const QString&)
{
    print(caption + QStringLiteral(": выбор файла недоступен без окна"));
    return {};
}

void TerminalPrompter::openUrl(const QUrl& url)
{
    print(url.toString());
}
