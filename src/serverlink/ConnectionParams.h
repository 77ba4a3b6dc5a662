#pragma once

#include "StartSettings.h"

#include <QNetworkProxy>
#include <QString>

class PasswordStore;
class ServerRequest;
class SettingsFile;

// The program's current connection values: the seven edits of the connection dialog. The
// exchange reads the address, login and password afresh at every request; the proxy reaches
// the HTTP client only at start and on save. The dialog copies these into its edits when
// it opens and back before save; "Отмена" simply does not copy back.
struct ConnectionParams {
    QString shopUrl;       // EURL
    QString login;         // ELogin
    QString password;      // EPassword
    QString proxy;         // EProxy; empty means no proxy
    QString proxyPort;     // EPort, as typed
    QString proxyLogin;    // EPLogin
    QString proxyPassword; // EPPass

    // The start-up reading: the settings file's values (already read by the start
    // sequence) and the per-user store.
    static ConnectionParams fromStart(const ConnectionSettings& file, const PasswordStore& store);

    // An address with its own scheme ("http://" or "https://", any letter case) stays as
    // it is; any other gets "http://" in front. Nothing else is touched.
    static QString normalizedShopUrl(const QString& url);
    // The proxy port as a decimal number, 80 when the text is not a port number.
    int proxyPortNumber() const;
    // What the HTTP client gets: no proxy when none is set, otherwise an HTTP proxy with
    // basic authentication by the proxy login and password (both may be empty).
    QNetworkProxy networkProxy() const;

    ConnectionSettings fileSettings() const;
    // The program's title with the shop address, as the main window shows it after the
    // dialog closes: "Dunvik Shop Trader v1.0.0.1 [http://shop]".
    QString programCaption() const;

    bool operator==(const ConnectionParams&) const = default;

    // "Сохранить": normalises the address, writes the settings file keys in their order,
    // applies the proxy to the request object, then writes the per-user store. Throws
    // TraderError when a file cannot be written (the steps before it stay done).
    void save(const SettingsFile& file, ServerRequest& request, const PasswordStore& store);
};
