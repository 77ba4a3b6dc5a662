#pragma once

#include <QDate>
#include <QString>

class SettingsFile;

// The shop connection as the settings file keeps it ([Connect]); the passwords are kept
// elsewhere, in the per-user store.
struct ConnectionSettings {
    QString shopUrl;
    QString login;
    QString proxy;
    QString proxyPort;

    static QString defaultShopUrl() { return QStringLiteral("http://127.0.0.1:8047"); }

    static ConnectionSettings read(const SettingsFile& file);
    // The four keys in their fixed order, each reaching the file before the next.
    void write(const SettingsFile& file) const;
};

// The order download period ([ArchiveOrders]).
struct OrderPeriodSettings {
    QDate from;
    QDate to;
    bool autoFrom = true;
    bool autoTo = true;
    bool autoClear = true;

    // The five keys, as the period dialog saves them.
    void write(const SettingsFile& file) const;
};

// Everything the start sequence reads from "Vendrix.ini", each with its default.
struct StartSettings {
    ConnectionSettings connection;
    int recordPerSession = 1125; // records asked for per request in the reference download
    OrderPeriodSettings period;

    static constexpr int DefaultRecordPerSession = 1125;
    static StartSettings read(const SettingsFile& file, const QDate& today);
};
