#include "ShopHarness.h"

#include "Cp1251.h"
#include "FaultPlan.h"
#include "ShopServer.h"
#include "ShopService.h"
#include "SqlStatement.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QTest>
#include <QTimer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

ShopHarness::ShopHarness()
    : ShopHarness(Options())
{
}

ShopHarness::ShopHarness(const Options& options)
    : m_db(std::make_unique<ShopDb>())
    , m_faults(std::make_unique<FaultPlan>())
{
    ShopSeeder(*m_db, options.size, fixedNow()).seed();
    for (const QString& rule : options.faults) {
        QString error;
        if (!m_faults->add(rule, &error))
            qFatal("bad fault rule %s: %s", qPrintable(rule), qPrintable(error));
    }
    m_service = std::make_unique<ShopService>(
        *m_db, ShopService::Config{options.login, options.password, options.transferLimit,
                                   [] { return fixedNow(); }});
    m_server = std::make_unique<ShopServer>(*m_service, *m_faults, options.delayMs);
    m_port = m_server->bind(0);
    if (m_port <= 0)
        qFatal("the demonstration shop cannot listen");
    m_thread = std::thread([this] { m_server->run(); });
}

ShopHarness::~ShopHarness()
{
    m_server->stop();
    m_thread.join();
}

ShopHarness::Reply ShopHarness::post(const QByteArray& command, const QByteArray& values,
                                     const std::optional<QByteArray>& stringData,
                                     const QByteArray& login, const QByteArray& code)
{
    return postBody(formBody(Boundary, command, values, stringData, login, code), Boundary);
}

QByteArray ShopHarness::formBody(const QByteArray& boundary, const QByteArray& command,
                                 const QByteArray& values,
                                 const std::optional<QByteArray>& stringData,
                                 const QByteArray& login, const QByteArray& code)
{
    QByteArray body;
    bool first = true;
    const auto field = [&](const char* name, const QByteArray& value) {
        if (!first)
            body += "\r\n";
        first = false;
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name +
                "\"\r\n\r\n" + value;
    };
    field("login", login);
    field("code", code);
    if (!command.isEmpty())
        field("command", command);
    if (!values.isEmpty())
        field("values", values);
    if (stringData)
        body += "\r\n--" + boundary +
                "\r\nContent-Disposition: form-data; name=\"string_file\"; "
                "filename=\"C:\\Program Files\\Trader\\TempZipFile.zip\"\r\n"
                "Content-Type: application/msword\r\n\r\n" +
                zip(QStringLiteral("SomeData.xml"), *stringData);
    body += "\r\n--" + boundary + "--\r\n";
    return body;
}

ShopHarness::Reply ShopHarness::postTo(int port, const QByteArray& body, const QByteArray& boundary)
{
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/admin/trader.php").arg(port)));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArray("multipart/form-data; boundary=") + boundary);
    QElapsedTimer timer;
    timer.start();
    QNetworkReply* reply = manager.post(request, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    Reply result;
    result.elapsedMs = timer.elapsed();
    if (!reply->isFinished()) {
        reply->abort();
        result.error = QNetworkReply::TimeoutError;
    } else {
        result.error = reply->error();
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
    }
    delete reply;
    return result;
}

QString ShopHarness::queryText(const char* sql)
{
    SqlStatement query(*m_db, sql);
    return query.next() ? query.text(0) : QString();
}

qint64 ShopHarness::queryNumber(const char* sql)
{
    SqlStatement query(*m_db, sql);
    return query.next() ? query.integer(0) : -1;
}

std::optional<QByteArray> ShopHarness::zipEntry(const QByteArray& body)
{
    if (!body.startsWith("ZIP_RESULT") || body.size() < 42)
        return std::nullopt;
    const QString entry = QString::fromLatin1(body.mid(10, 32)) + QStringLiteral(".xml");
    QByteArray archive = body.mid(42);
    QBuffer buffer(&archive);
    QuaZip zip(&buffer);
    QuaZipFile file(&zip);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(entry) || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.readAll();
    file.close();
    if (file.getZipError() != 0)
        return std::nullopt;
    return content;
}

QByteArray ShopHarness::zipResult(const QByteArray& body)
{
    const std::optional<QByteArray> content = zipEntry(body);
    if (!content)
        QTest::qFail(
            qPrintable(
                QStringLiteral("no zipped result in: %1").arg(QString::fromLatin1(body.left(80)))),
            __FILE__, __LINE__);
    return content.value_or(QByteArray());
}

QByteArray ShopHarness::zip(const QString& entryName, const QByteArray& content)
{
    QByteArray archive;
    QBuffer buffer(&archive);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    QuaZipFile file(&zip);
    file.open(QIODevice::WriteOnly, QuaZipNewInfo(entryName));
    file.write(content);
    file.close();
    zip.close();
    return archive;
}

bool ShopHarness::load(pugi::xml_document& document, const QByteArray& text)
{
    const QByteArray utf8 = Cp1251::decode(text).toUtf8();
    return document.load_buffer(utf8.constData(), std::size_t(utf8.size()), pugi::parse_default,
                                pugi::encoding_utf8);
}

QList<QMap<QString, QString>> ShopHarness::records(const pugi::xml_document& document,
                                                   const char* container)
{
    QList<QMap<QString, QString>> rows;
    for (pugi::xml_node row : document.document_element().child(container).children()) {
        QMap<QString, QString> values;
        for (pugi::xml_attribute attribute : row.attributes())
            values.insert(QString::fromUtf8(attribute.name()),
                          QString::fromUtf8(attribute.value()));
        rows.append(values);
    }
    return rows;
}
