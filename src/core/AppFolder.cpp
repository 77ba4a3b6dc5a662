#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

AppFolder::AppFolder(const QString& path)
    : m_path(QDir::cleanPath(QDir(path).absolutePath()))
{
}

AppFolder AppFolder::resolve()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeDir).isWritable())
        return AppFolder(exeDir);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return AppFolder(data);
}

QString AppFolder::file(const QString& name) const
{
    return QDir(m_path).filePath(name);
}
