#pragma once

#include "AppFolder.h"
#include "ZipPayload.h"

#include <QByteArray>
#include <QDateTime>
#include <QNetworkProxy>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

class Prompter;
class QNetworkAccessManager;
struct ConnectionParams;

// The one request object of the program: every exchange with the shop's script runs
// through this single instance, so only one exchange is ever under way. A caller fills
// Command, Values and StringData, runs ADoQuery and reads ErrorKind (empty on success;
// the user has then already been told what went wrong) and Answer(). The traffic log
// window owns it and shows what its signals report; it shows no window itself, and every
// message goes through the Prompter.
class ServerRequest : public QObject {
    Q_OBJECT
public:
    enum class Direction { Send, Receive };
    Q_ENUM(Direction)

    // `connection` is the program's current connection values, read afresh at every
    // exchange; the temporary archives go to the folder's Temp.
    ServerRequest(const ConnectionParams& connection, const AppFolder& folder, Prompter& prompter,
                  QObject* parent = nullptr);
    ~ServerRequest() override;

    static QString caption() { return QStringLiteral("Журнал Интернет-соединений"); }
    static constexpr std::chrono::milliseconds DefaultTransferTimeout{300000};

    // Input, emptied by every exchange.
    QString Command;
    QString Values;
    QString StringData; // zipped as "SomeData.xml" and posted as the file "string_file"
    // Fixed at start.
    QString DataFileType;
    QString ScriptPath;
    // Results of the last exchange.
    QString ErrorKind;
    // The answer's text; a ZIP_RESULT answer's XML is decoded only when asked for here,
    // since a download parses AnswerXml() instead.
    const QString& Answer() const;
    // The XML of a ZIP_RESULT answer as it came, in windows-1251; empty for any other.
    const QByteArray& AnswerXml() const { return m_answerXml; }

    // Clears the log, applies the connection's proxy, sets DataFileType and empties the
    // other fields (ScriptPath included: the start sequence sets it afterwards).
    void AInitiate();
    // One exchange, repeated while the server does not answer and the user asks for it.
    // Never throws. A call while an exchange is under way returns at once and leaves that
    // exchange's fields alone.
    void ADoQuery();

    void setProxy(const QNetworkProxy& proxy) { m_proxy = proxy; }
    QNetworkProxy proxy() const { return m_proxy; }

    // No byte for this long ends the exchange as unanswered.
    void setTransferTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // "Now" for the log lines and the form boundary.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // The raw traffic signals are sent only while monitoring is on.
    void setMonitoring(bool on) { m_monitoring = on; }
    bool isMonitoring() const { return m_monitoring; }
    bool isBusy() const { return m_busy; }
    // A zipped answer's entry larger than this is a damaged archive; an answer larger than
    // twice this is no answer.
    void setUnpackLimit(qint64 bytes) { m_unpackLimit = bytes; }

    // Where the exchange keeps its temporary archives.
    QString zipFilePath() const;    // "TempZipFile.zip"
    QString resultFilePath() const; // "TempSQL.zip"

signals:
    void logCleared();
    void logLine(const QString& line);
    void busyChanged(bool busy);
    // `expected` is 0 when the size is not known.
    void transferBegin(ServerRequest::Direction direction, qint64 expected);
    void transferProgress(ServerRequest::Direction direction, qint64 done);
    void transferEnd(ServerRequest::Direction direction);
    // The request's header lines and body as sent, the answer's as received.
    void trafficSent(const QByteArray& block);
    void trafficReceived(const QByteArray& block);

private:
    void runOnce();
    QByteArray buildBody(QString& contentType);
    bool post(const QByteArray& body, const QString& contentType, QByteArray& reply);
    void unpackResult(const QByteArray& archive, const QString& entry, QString& logText);
    void saveZipFile(const QByteArray& archive);
    void setAnswer(const QString& text);
    void setBusy(bool busy);
    QString timeText() const;
    QString requestLine() const;

    const ConnectionParams& m_connection;
    AppFolder m_folder;
    Prompter& m_prompter;
    QNetworkAccessManager* m_network;
    QNetworkProxy m_proxy{QNetworkProxy::NoProxy};
    std::chrono::milliseconds m_timeout = DefaultTransferTimeout;
    std::function<QDateTime()> m_clock;
    bool m_monitoring = false;
    bool m_busy = false;
    bool m_running = false;
    qint64 m_unpackLimit = ZipPayload::MaxEntrySize;
    QByteArray m_answerXml;
    mutable QString m_answer; // null while a ZIP_RESULT's XML waits to be decoded
};
