#include "FaultPlan.h"

#include "Cp1251.h"
#include "ZipPayload.h"

namespace {

std::optional<FaultPlan::Fault> parseFault(const QString& text, QString* error)
{
    using Kind = FaultPlan::Fault::Kind;
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString word = (colon < 0 ? text : text.left(colon)).trimmed().toUpper();
    const QString argument = colon < 0 ? QString() : text.mid(colon + 1);
    FaultPlan::Fault fault;
    if (word == QLatin1String("WRONG_PASSWORD") || word == QLatin1String("WRONG_CWD") ||
        word == QLatin1String("SHOP_IS_LOCK") || word == QLatin1String("IP_BLOCKED")) {
        fault.kind = Kind::Word;
        fault.word = word.toLatin1();
    } else if (word == QLatin1String("SQL_ERROR") || word == QLatin1String("PHP_ERROR")) {
        fault.kind = Kind::Error;
        fault.word = word.toLatin1();
        fault.text = colon < 0 ? QStringLiteral("Демонстрационная ошибка магазина") : argument;
    } else if (word == QLatin1String("UNKNOWN")) {
        fault.kind = Kind::Unknown;
        fault.text = colon < 0 ? QStringLiteral("DEMO_SHOP_UNKNOWN_ANSWER") : argument;
    } else if (word == QLatin1String("BAD_ZIP")) {
        fault.kind = Kind::BadZip;
    } else if (word == QLatin1String("NO_ENTRY")) {
        fault.kind = Kind::NoEntry;
    } else if (word == QLatin1String("HTTP_500")) {
        fault.kind = Kind::Http500;
    } else if (word == QLatin1String("DROP")) {
        fault.kind = Kind::Drop;
    } else if (word == QLatin1String("CUT")) {
        fault.kind = Kind::Cut;
    } else if (word == QLatin1String("DELAY")) {
        bool ok = false;
        fault.kind = Kind::Delay;
        fault.delayMs = argument.toInt(&ok);
        if (!ok || fault.delayMs < 0) {
            *error = QStringLiteral("DELAY needs a number of milliseconds: %1").arg(text);
            return std::nullopt;
        }
    } else {
        *error = QStringLiteral("unknown fault: %1").arg(word);
        return std::nullopt;
    }
    return fault;
}

} // namespace

bool FaultPlan::add(const QString& text, QString* error)
{
    Rule rule;
    QString faultText = text;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    // A "=" inside an error text belongs to the text, not to a target.
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (equals >= 0 && (colon < 0 || equals < colon)) {
        QString target = text.left(equals).trimmed();
        faultText = text.mid(equals + 1);
        const qsizetype at = target.indexOf(QLatin1Char('@'));
        if (at >= 0) {
            QString count = target.mid(at + 1);
            target = target.left(at);
            rule.onward = count.endsWith(QLatin1Char('+'));
            if (rule.onward)
                count.chop(1);
            bool ok = false;
            rule.nth = count.toInt(&ok);
            if (!ok || rule.nth < 1) {
                *error = QStringLiteral("bad request number in %1").arg(text);
                return false;
            }
        }
        if (target.isEmpty()) {
            *error = QStringLiteral("no command before \"=\" in %1 (use \"*\" for every command)")
                         .arg(text);
            return false;
        }
        if (target != QLatin1String("*"))
            rule.command = target.toUpper().toLatin1();
    }
    const std::optional<Fault> fault = parseFault(faultText, error);
    if (!fault)
        return false;
    rule.fault = *fault;
    m_rules.append(rule);
    return true;
}

std::optional<FaultPlan::Fault> FaultPlan::next(const QByteArray& command)
{
    std::lock_guard lock(m_mutex);
    std::optional<Fault> chosen;
    for (Rule& rule : m_rules) {
        if (!rule.command.isEmpty() && rule.command != command)
            continue;
        ++rule.seen;
        const bool applies =
            rule.nth == 0 || rule.seen == rule.nth || (rule.onward && rule.seen > rule.nth);
        if (applies && !chosen)
            chosen = rule.fault;
    }
    return chosen;
}

Answer FaultPlan::answer(const Fault& fault, const QString& entryName)
{
    switch (fault.kind) {
    case Fault::Kind::Word:
        return Answer{fault.word};
    case Fault::Kind::Error:
        return Answer{fault.word + ' ' + Cp1251::encode(fault.text)};
    case Fault::Kind::Unknown:
        return Answer{Cp1251::encode(fault.text)};
    case Fault::Kind::BadZip:
        return Answer{QByteArray("ZIP_RESULT") + entryName.toLatin1() +
                      QByteArray("PK\x03\x04 this archive was cut short")};
    case Fault::Kind::NoEntry:
        return Answer{QByteArray("ZIP_RESULT") + entryName.toLatin1() +
                      ZipPayload::pack(QStringLiteral("other.xml"), QByteArray("<DATA/>"))};
    case Fault::Kind::Http500:
        return Answer{QByteArray("Internal Server Error"), 500};
    case Fault::Kind::Drop:
        return Answer{QByteArray(), 200, Answer::Ending::Closed};
    case Fault::Kind::Cut:
        return Answer{QByteArray("ZIP_RESULT") + entryName.toLatin1() + QByteArray("PK\x03\x04"),
                      200, Answer::Ending::CutShort};
    case Fault::Kind::Delay:
        break;
    }
    return Answer{};
}

QString FaultPlan::help()
{
    return QStringLiteral(
        "  --fault RULE          answer with a fault instead of doing the work; repeatable,\n"
        "                        the first rule that applies to a request wins.\n"
        "                        RULE is [TARGET=]FAULT, TARGET is a command or \"*\",\n"
        "                        optionally with @N (only its N-th request) or @N+ (the N-th\n"
        "                        and every later one). FAULT is one of:\n"
        "                          WRONG_PASSWORD, WRONG_CWD, SHOP_IS_LOCK, IP_BLOCKED\n"
        "                                        that answer word alone\n"
        "                          SQL_ERROR[:TEXT], PHP_ERROR[:TEXT]\n"
        "                                        the word, a blank and the text\n"
        "                          UNKNOWN[:TEXT] an answer no word matches\n"
        "                          BAD_ZIP       ZIP_RESULT with a damaged archive\n"
        "                          NO_ENTRY      ZIP_RESULT whose archive lacks its entry\n"
        "                          HTTP_500      HTTP status 500\n"
        "                          DROP          the connection is closed before any answer;\n"
        "                                        an HTTP client may resend such a request\n"
        "                                        (Qt does, twice), so drop every request\n"
        "                                        (no @N, or @N+) to be sure it is seen\n"
        "                          CUT           the connection is closed in the middle of\n"
        "                                        the answer, after its first bytes\n"
        "                          DELAY:MS      wait MS milliseconds, then answer as usual\n"
        "                        Examples: --fault SHOP_IS_LOCK\n"
        "                                  --fault GET_TABLE_DATA@3=SQL_ERROR:no table\n"
        "                                  --fault \"*@1=CUT\"\n");
}
