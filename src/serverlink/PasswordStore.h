#pragma once

#include <QString>

// The per-user store of the two passwords and the proxy login, apart from the settings file
// that may be copied around with the program. On Windows it is the registry key
// "Software\Dunvik Shop <version>\Trader"; elsewhere the native settings file, readable
// by its owner only. Passwords are written in plain form ("...Size" 0) and read in both the
// plain and the zlib form.
class PasswordStore {
public:
    struct Secrets {
        QString password;
        QString proxyLogin;
        QString proxyPassword;
    };

    // An empty path means the user's own store; tests pass an INI file of their own.
    explicit PasswordStore(const QString& filePath = QString());

    static QString organisation(); // "Dunvik Shop " + version
    static QString application() { return QStringLiteral("Trader"); }

    // Missing values give empty texts; a compressed value that does not inflate to its
    // size gives an empty text, silently.
    Secrets read() const;
    // Throws TraderError when the store cannot be written.
    void write(const Secrets& secrets) const;

    // The file that holds the store, or the registry path on Windows.
    QString location() const;

private:
    QString m_filePath;
};
