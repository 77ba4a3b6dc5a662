#pragma once

#include "Answer.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <mutex>
#include <optional>

// Faults the shop answers with instead of doing its work, for trying the trader's error
// handling. A rule is written
//
//   [TARGET=]FAULT        TARGET: COMMAND or "*", optionally followed by "@N" (only the
//                         N-th request it matches) or "@N+" (the N-th and every later one)
//
// and FAULT is one of WRONG_PASSWORD, WRONG_CWD, SHOP_IS_LOCK, IP_BLOCKED, SQL_ERROR[:TEXT],
// PHP_ERROR[:TEXT], UNKNOWN[:TEXT], BAD_ZIP, NO_ENTRY, HTTP_500, DROP, CUT, DELAY:MS.
class FaultPlan {
public:
    struct Fault {
        enum class Kind { Word, Error, Unknown, BadZip, NoEntry, Http500, Drop, Cut, Delay };
        Kind kind = Kind::Word;
        QByteArray word; // the answer word of Word and Error
        QString text;
        int delayMs = 0;
    };

    // Adds one rule; false (and the reason in error) when the text is not a rule.
    bool add(const QString& text, QString* error);
    // The fault for this request, if any; every rule that matches the command counts it.
    std::optional<Fault> next(const QByteArray& command);
    // The answer a fault gives in place of the command's own (not for Delay).
    static Answer answer(const Fault& fault, const QString& entryName);

    static QString help();

private:
    struct Rule {
        QByteArray command; // empty: every command
        int nth = 0;        // 0: every matching request
        bool onward = false;
        Fault fault;
        int seen = 0;
    };
    QList<Rule> m_rules;
    std::mutex m_mutex;
};
