#include "ServerRequest.h"

#include "ConnectionParams.h"
#include "Cp1251.h"
#include "Prompter.h"
#include "ServerAnswer.h"
#include "TMsMultiPartFormDataStream.h"
#include "TraderError.h"
#include "ZipPayload.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

QString unknownAnswerText()
{
    return QStringLiteral("Неопознаный ответ сервера!");
}

// The regional long time form without its time zone, e.g. 14:05:09.
QString longTimeFormat()
{
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

bool isWebAddress(const QUrl& url)
{
    return url.isValid() &&
           (url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 ||
            url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0);
}

// The request's head as the monitor shows it; the proxy's credentials are left out.
QByteArray sentHead(const QNetworkRequest& request, qsizetype bodySize)
{
    const QUrl& url = request.url();
    QByteArray head = "POST " + url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority) +
                      " HTTP/1.1" + CrLf + "Host: " + url.host().toUtf8();
    if (url.port() != -1)
        head += ':' + QByteArray::number(url.port());
    head += CrLf;
    for (const QByteArray& name : request.rawHeaderList())
        if (name != "Proxy-Authorization")
            head += name + ": " + request.rawHeader(name) + CrLf;
    return head + "Content-Length: " + QByteArray::number(bodySize) + CrLf + CrLf;
}

QByteArray receivedHead(const QNetworkReply& reply)
{
    QByteArray head =
        "HTTP/1.1 " + reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toByteArray() +
        ' ' + reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray() + CrLf;
    for (const auto& [name, value] : reply.rawHeaderPairs())
        head += name + ": " + value + CrLf;
    return head + CrLf;
}

} // namespace

ServerRequest::ServerRequest(const ConnectionParams& connection, const AppFolder& folder,
                             Prompter& prompter, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_folder(folder)
    , m_prompter(prompter)
    , m_network(new QNetworkAccessManager(this))
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

ServerRequest::~ServerRequest() = default;

QString ServerRequest::zipFilePath() const
{
    return QDir(m_folder.tempPath()).filePath(QStringLiteral("TempZipFile.zip"));
}

QString ServerRequest::resultFilePath() const
{
    return QDir(m_folder.tempPath()).filePath(QStringLiteral("TempSQL.zip"));
}

void ServerRequest::AInitiate()
{
    emit logCleared();
    setProxy(m_connection.networkProxy());
    DataFileType = QStringLiteral("application/msword");
    ScriptPath.clear();
    Command.clear();
    Values.clear();
    StringData.clear();
}

void ServerRequest::ADoQuery()
{
    if (m_running)
        return;
    m_running = true;
    for (;;) {
        runOnce();
        if (ErrorKind != ErrorKinds::NoAnswer()) {
            if (!ErrorKind.isEmpty())
                m_prompter.show(caption(), ErrorKinds::message(ErrorKind, Answer()),
                                Prompter::Icon::Error, Prompter::Buttons::Ok);
            break;
        }
        if (m_prompter.ask(caption(), ErrorKinds::message(ErrorKind, Answer())) !=
            Prompter::Answer::Yes)
            break;
    }
    Command.clear();
    Values.clear();
    StringData.clear();
    m_running = false;
}

void ServerRequest::runOnce()
{
    setBusy(true);
    ErrorKind = ErrorKinds::UnknowAnswer();
    setAnswer(unknownAnswerText());

    QByteArray reply;
    bool answered = false;
    try {
        QString contentType;
        const QByteArray body = buildBody(contentType);
        emit logLine(requestLine());
        answered = post(body, contentType, reply);
    } catch (const std::exception&) {
        answered = false;
    }

    QString logText;
    if (!answered) {
        // What came before a failure is no answer: an error page must not pass for one.
        ErrorKind = ErrorKinds::NoAnswer();
        setAnswer(ErrorKinds::message(ErrorKind, QString()));
    } else {
        const ServerAnswer recognized = ServerAnswer::recognize(reply);
        ErrorKind = recognized.errorKind;
        if (recognized.answer)
            setAnswer(*recognized.answer);
        logText = recognized.logText;
        switch (recognized.payload) {
        case ServerAnswer::Payload::None:
            break;
        case ServerAnswer::Payload::ZipFile:
            saveZipFile(recognized.archive);
            break;
        case ServerAnswer::Payload::ZipResult:
            unpackResult(recognized.archive, recognized.resultEntry, logText);
            break;
        }
    }
    setBusy(false);
    emit logLine(QLatin1Char('[') + timeText() + QStringLiteral("] Answer => ") + logText);
}

QByteArray ServerRequest::buildBody(QString& contentType)
{
    TMsMultiPartFormDataStream body(m_clock());
    contentType = body.ContentType();
    body.AddField(QStringLiteral("login"), m_connection.login);
    body.AddField(QStringLiteral("code"), m_connection.password);
    if (!Command.isEmpty())
        body.AddField(QStringLiteral("command"), Command);
    if (!Values.isEmpty())
        body.AddField(QStringLiteral("values"), Values);
    if (!StringData.isEmpty()) {
        const QString zip = zipFilePath();
        QDir().mkpath(m_folder.tempPath());
        ZipPayload::writeSingleEntry(zip, QStringLiteral("SomeData.xml"),
                                     Cp1251::encode(StringData));
        body.AddFilePart(QStringLiteral("string_file"), QDir::toNativeSeparators(zip),
                         DataFileType);
        QFile::remove(zip);
    }
    body.Finish();
    return body.bytes();
}

bool ServerRequest::post(const QByteArray& body, const QString& contentType, QByteArray& reply)
{
    const QUrl url(m_connection.shopUrl + ScriptPath, QUrl::TolerantMode);
    if (!isWebAddress(url))
        return false;

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    request.setRawHeader("Accept", "text/html, */*");
    request.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    // Answers are zip archives already: compressing them once more on the way costs both
    // ends time and saves nothing.
    request.setRawHeader("Accept-Encoding", "identity");
    // Cookies are not kept between exchanges.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(int(m_timeout.count()));
    // The proxy always gets basic authentication, even with an empty login, without
    // waiting to be asked. Through a tunnel (https) this header would reach the shop
    // instead, so there the client answers the proxy's challenge with the same login.
    if (m_proxy.type() == QNetworkProxy::HttpProxy &&
        url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0)
        request.setRawHeader(
            "Proxy-Authorization",
            "Basic " +
                Cp1251::encode(m_proxy.user() + QLatin1Char(':') + m_proxy.password()).toBase64());
    m_network->setProxy(m_proxy);

    if (m_monitoring)
        emit trafficSent(sentHead(request, body.size()) + body);

    QNetworkReply* r = m_network->post(request, body);
    emit transferBegin(Direction::Send, body.size());
    bool sendEnded = false;
    bool receiveBegun = false;
    bool tooLarge = false;
    const auto endSend = [&] {
        if (!sendEnded) {
            sendEnded = true;
            emit transferEnd(Direction::Send);
        }
    };
    const auto beginReceive = [&] {
        if (receiveBegun)
            return;
        endSend();
        receiveBegun = true;
        emit transferBegin(Direction::Receive,
                           r->header(QNetworkRequest::ContentLengthHeader).toLongLong());
        if (m_monitoring)
            emit trafficReceived(receivedHead(*r));
    };
    const auto read = [&] {
        beginReceive();
        const QByteArray chunk = r->readAll();
        if (chunk.isEmpty())
            return;
        reply += chunk;
        // No sound answer is larger than twice the largest entry it may carry; a server
        // that keeps sending must not exhaust the machine.
        if (reply.size() > 2 * m_unpackLimit) {
            tooLarge = true;
            r->abort();
            return;
        }
        if (m_monitoring)
            emit trafficReceived(chunk);
        emit transferProgress(Direction::Receive, reply.size());
    };

    QEventLoop loop;
    connect(r, &QNetworkReply::uploadProgress, this, [&](qint64 sent, qint64 total) {
        emit transferProgress(Direction::Send, sent);
        if (total > 0 && sent >= total)
            endSend();
    });
    connect(r, &QNetworkReply::metaDataChanged, this, beginReceive);
    connect(r, &QNetworkReply::readyRead, this, read);
    connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!r->isFinished())
        loop.exec();

    const int status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool answered = r->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    if (answered)
        read();
    const bool ok = answered && !tooLarge;
    endSend();
    if (receiveBegun)
        emit transferEnd(Direction::Receive);
    disconnect(r, nullptr, this, nullptr);
    r->deleteLater();
    return ok;
}

void ServerRequest::unpackResult(const QByteArray& archive, const QString& entry, QString& logText)
{
    const QString path = resultFilePath();
    const auto text =
        entry.size() == 32
            ? ZipPayload::readEntry(archive, entry + QStringLiteral(".xml"), m_unpackLimit)
            : std::nullopt;
    if (!text) {
        ErrorKind = ErrorKinds::WrongZip();
        logText = QStringLiteral("WRONG_ZIP_RESULT");
        // The damaged archive stays in Temp for whoever looks into the failure.
        QDir().mkpath(m_folder.tempPath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(archive);
        return;
    }
    m_answerXml = *text;
    m_answer.clear(); // decoded from the XML when asked for
    ErrorKind.clear();
    logText = QStringLiteral("ZIP_RESULT");
    QFile::remove(path);
}

void ServerRequest::saveZipFile(const QByteArray& archive)
{
    QString name = m_prompter.saveFileName(QStringLiteral("Имя файла архива"), QString(),
                                           QStringLiteral("*.zip (*.zip)"));
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".zip");
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size() || !file.commit())
        m_prompter.error(caption(), QStringLiteral("Не удалось записать файл %1").arg(name));
}

const QString& ServerRequest::Answer() const
{
    if (m_answer.isNull() && !m_answerXml.isEmpty())
        m_answer = Cp1251::decode(m_answerXml);
    return m_answer;
}

void ServerRequest::setAnswer(const QString& text)
{
    m_answerXml.clear();
    m_answer = text;
}

void ServerRequest::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

QString ServerRequest::timeText() const
{
    return QLocale().toString(m_clock().time(), longTimeFormat());
}

QString ServerRequest::requestLine() const
{
    QString line = QLatin1Char('[') + timeText() + QStringLiteral("] Request =>");
    if (!Command.isEmpty())
        line += QStringLiteral(" Command: [") + Command + QLatin1Char(']');
    if (!Values.isEmpty())
        line += QStringLiteral(" + Values: [") + Values + QLatin1Char(']');
    if (!StringData.isEmpty())
        line += QStringLiteral(" + String data zipped to file");
    return line;
}
