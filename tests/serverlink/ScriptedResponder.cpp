#include "ScriptedResponder.h"

#include <QSslServer>
#include <QTcpSocket>

ScriptedResponder::ScriptedResponder(const QSslConfiguration& tls, QObject* parent)
    : QObject(parent)
    , m_tls(!tls.isNull())
{
    if (m_tls) {
        auto server = std::make_unique<QSslServer>();
        server->setSslConfiguration(tls);
        m_server = std::move(server);
    } else {
        m_server = std::make_unique<QTcpServer>();
    }
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString ScriptedResponder::url() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
        .arg(port());
}

QByteArray ScriptedResponder::head(const QByteArray& request)
{
    return request.left(request.indexOf("\r\n\r\n") + 2);
}

QByteArray ScriptedResponder::body(const QByteArray& request)
{
    return request.mid(request.indexOf("\r\n\r\n") + 4);
}

QByteArray ScriptedResponder::header(const QByteArray& request, const QByteArray& name)
{
    for (const QByteArray& line : head(request).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return QByteArray();
}

quint16 ScriptedResponder::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void ScriptedResponder::serve(QTcpSocket* socket)
{
    QByteArray received = socket->property("received").toByteArray() + socket->readAll();
    socket->setProperty("received", received);
    const qsizetype end = received.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const qsizetype length = header(received, "Content-Length").toLongLong();
    if (received.size() < end + 4 + length)
        return;
    socket->setProperty("received", QByteArray());
    requests.append(received.left(end + 4 + length));

    if (dropEverything) {
        socket->abort();
        return;
    }
    const Reply reply =
        replies.isEmpty() ? Reply{Reply::Kind::Answer, 200, "QUERY_EXECUTE"} : replies.takeFirst();
    switch (reply.kind) {
    case Reply::Kind::Hold:
        return;
    case Reply::Kind::Drop:
        socket->abort();
        return;
    case Reply::Kind::Answer:
        break;
    }
    socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n" +
                  "Content-Type: text/html\r\nConnection: close\r\n" +
                  (setCookie ? QByteArray("Set-Cookie: session=1; Path=/\r\n") : QByteArray()) +
                  "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n" +
                  reply.body);
    socket->disconnectFromHost();
}
