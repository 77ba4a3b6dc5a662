#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QTcpServer>

#include <memory>

class QTcpSocket;

// A tiny HTTP peer on 127.0.0.1 (a free port) for exchange tests: it records every request
// byte for byte and answers from a script, one reply per request. Given a TLS
// configuration it speaks HTTPS.
class ScriptedResponder : public QObject {
    Q_OBJECT
public:
    struct Reply {
        enum class Kind { Answer, Drop, Hold };
        Kind kind = Kind::Answer;
        int status = 200;
        QByteArray body;
    };

    explicit ScriptedResponder(const QSslConfiguration& tls = QSslConfiguration(),
                               QObject* parent = nullptr);

    QString url() const; // "http://127.0.0.1:<port>", or "https://..."
    quint16 port() const { return m_server->serverPort(); }

    void answer(const QByteArray& body, int status = 200)
    {
        replies.append({Reply::Kind::Answer, status, body});
    }

    QList<Reply> replies; // taken from the front; when they run out, "QUERY_EXECUTE"
    // The HTTP client sends a request again by itself when a connection closes before any
    // answer byte, so a dropped connection is only seen when every attempt is dropped.
    bool dropEverything = false;
    bool setCookie = false;     // every answer asks the client to keep a cookie
    QList<QByteArray> requests; // each request: its head and its body as received

    static QByteArray head(const QByteArray& request);
    static QByteArray body(const QByteArray& request);
    static QByteArray header(const QByteArray& request, const QByteArray& name);

    // A port on 127.0.0.1 with nothing listening on it.
    static quint16 closedPort();

private:
    void serve(QTcpSocket* socket);

    std::unique_ptr<QTcpServer> m_server;
    bool m_tls;
};
