#pragma once

#include "ShopDb.h"
#include "ShopSeeder.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QNetworkReply>
#include <QStringList>

#include <memory>
#include <optional>
#include <thread>

#include <pugixml.hpp>

class FaultPlan;
class ShopServer;
class ShopService;

// A seeded demonstration shop serving on 127.0.0.1 from a thread of the test, and a client
// that posts the trader's multipart form to it.
class ShopHarness {
public:
    struct Options {
        ShopSeeder::Size size{30, 60, 40};
        QString login;
        QString password;
        int transferLimit = 25;
        QStringList faults;
        int delayMs = 0;
    };
    // The shop's clock stands still at this time, so that change times are predictable.
    static QDateTime fixedNow() { return QDateTime(QDate(2026, 6, 15), QTime(12, 0)); }

    explicit ShopHarness(const Options& options);
    ShopHarness();
    ~ShopHarness();

    struct Reply {
        int status = 0;
        QByteArray body;
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        qint64 elapsedMs = 0;
    };
    // Fields "login" and "code" always; "command" and "values" when not empty; the text
    // payload, when given, zipped as "SomeData.xml" into the file field "string_file".
    Reply post(const QByteArray& command, const QByteArray& values = {},
               const std::optional<QByteArray>& stringData = std::nullopt,
               const QByteArray& login = "manager", const QByteArray& code = "demo");
    // The raw form body, for requests the trader would never make.
    Reply postBody(const QByteArray& body, const QByteArray& boundary)
    {
        return postTo(m_port, body, boundary);
    }
    static Reply postTo(int port, const QByteArray& body, const QByteArray& boundary);
    static QByteArray formBody(const QByteArray& boundary, const QByteArray& command,
                               const QByteArray& values,
                               const std::optional<QByteArray>& stringData, const QByteArray& login,
                               const QByteArray& code);
    static constexpr const char* Boundary = "---------------------------061526120000000";

    ShopDb& db() { return *m_db; }
    int port() const { return m_port; }
    // A scalar query on the shop's database.
    QString queryText(const char* sql);
    qint64 queryNumber(const char* sql);

    // The XML text of a ZIP_RESULT answer: the archive after the word and the 32 characters,
    // unpacked from the entry named by them plus ".xml"; nothing when it cannot be.
    static std::optional<QByteArray> zipEntry(const QByteArray& body);
    // The same, failing the test when there is none.
    static QByteArray zipResult(const QByteArray& body);
    static QByteArray zip(const QString& entryName, const QByteArray& content);
    // Loads a windows-1251 XML text.
    static bool load(pugi::xml_document& document, const QByteArray& text);
    // The attributes of each child of the named container of the root, in order.
    static QList<QMap<QString, QString>> records(const pugi::xml_document& document,
                                                 const char* container);

private:
    std::unique_ptr<ShopDb> m_db;
    std::unique_ptr<FaultPlan> m_faults;
    std::unique_ptr<ShopService> m_service;
    std::unique_ptr<ShopServer> m_server;
    std::thread m_thread;
    int m_port = -1;
};
