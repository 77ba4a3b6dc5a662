#pragma once

#include <QString>

// The folder the program keeps its files in ("Tables", "Temp", "Vendrix.ini",
// "FormDesign.ini", "FR"). Every file path of the program is made here.
class AppFolder {
public:
    explicit AppFolder(const QString& path);

    // The running executable's folder when it is writable (portable use), otherwise the
    // per-user data folder.
    static AppFolder resolve();

    QString path() const { return m_path; }
    QString file(const QString& name) const;
    QString tablesPath() const { return file(QStringLiteral("Tables")); }
    QString tempPath() const { return file(QStringLiteral("Temp")); }
    QString settingsFile() const { return file(QStringLiteral("Vendrix.ini")); }
    QString layoutFile() const { return file(QStringLiteral("FormDesign.ini")); }

private:
    QString m_path;
};
