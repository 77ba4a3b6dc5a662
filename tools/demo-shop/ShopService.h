#pragma once

#include "Answer.h"
#include "ShopRequest.h"

#include <QDateTime>

#include <atomic>
#include <functional>
#include <mutex>

class ShopDb;

// The shop's script: checks the login and answers one command. Requests are answered one at
// a time, as they share the one database connection.
class ShopService {
public:
    struct Config {
        // Empty: an open demonstration shop that takes every login and password.
        QString login;
        QString password;
        int transferLimit = 100;
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    };

    ShopService(ShopDb& db, Config config);

    Answer handle(const ShopRequest& request);
    // A fresh name for the entry of a zipped answer: 32 hexadecimal digits. Safe from any
    // thread.
    QString nextEntryName();

private:
    qint64 managerIdFor(const QString& login);
    Answer dispatch(const ShopRequest& request, const QByteArray& payload);

    ShopDb& m_db;
    Config m_config;
    std::mutex m_mutex;
    std::atomic<quint64> m_answers = 0;
};
