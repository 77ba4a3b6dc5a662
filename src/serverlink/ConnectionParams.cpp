#include "ConnectionParams.h"

#include "PasswordStore.h"
#include "ProgramInfo.h"
#include "ServerRequest.h"
#include "SettingsFile.h"

ConnectionParams ConnectionParams::fromStart(const ConnectionSettings& file,
                                             const PasswordStore& store)
{
    const PasswordStore::Secrets secrets = store.read();
    ConnectionParams p;
    p.shopUrl = file.shopUrl;
    p.login = file.login;
    p.password = secrets.password;
    p.proxy = file.proxy;
    p.proxyPort = file.proxyPort;
    p.proxyLogin = secrets.proxyLogin;
    p.proxyPassword = secrets.proxyPassword;
    return p;
}

QString ConnectionParams::normalizedShopUrl(const QString& url)
{
    if (url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return url;
    return QStringLiteral("http://") + url;
}

int ConnectionParams::proxyPortNumber() const
{
    bool ok = false;
    const int port = proxyPort.toInt(&ok, 10);
    return ok && port >= 0 && port <= 65535 ? port : 80;
}

QNetworkProxy ConnectionParams::networkProxy() const
{
    if (proxy.isEmpty())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return QNetworkProxy(QNetworkProxy::HttpProxy, proxy, quint16(proxyPortNumber()), proxyLogin,
                         proxyPassword);
}

ConnectionSettings ConnectionParams::fileSettings() const
{
    return ConnectionSettings{shopUrl, login, proxy, proxyPort};
}

QString ConnectionParams::programCaption() const
{
    return ProgramInfo::ProgramTitle() + QStringLiteral(" [") + shopUrl + QLatin1Char(']');
}

void ConnectionParams::save(const SettingsFile& file, ServerRequest& request,
                            const PasswordStore& store)
{
    shopUrl = normalizedShopUrl(shopUrl);
    fileSettings().write(file);
    request.setProxy(networkProxy());
    store.write({password, proxyLogin, proxyPassword});
}
