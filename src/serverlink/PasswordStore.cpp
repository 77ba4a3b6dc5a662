#include "PasswordStore.h"

#include "Cp1251.h"
#include "ProgramInfo.h"
#include "TraderError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <zlib.h>

#include <memory>

namespace {

// No password is this long; a larger size is a damaged value, not a reason to allocate.
constexpr qint64 MaxStoredSize = 64 * 1024;

QByteArray storedBytes(const QVariant& value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return Cp1251::encode(value.toString());
}

// Exactly `size` bytes of the inflated stream, or nothing when it holds fewer.
QString inflated(const QByteArray& stream, qint64 size)
{
    if (size > MaxStoredSize)
        return QString();
    QByteArray out(size, '\0');
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return QString();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = uInt(stream.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(size);
    int rc = Z_OK;
    while (z.avail_out > 0 && rc == Z_OK)
        rc = inflate(&z, Z_NO_FLUSH);
    const bool complete = z.avail_out == 0;
    inflateEnd(&z);
    return complete ? Cp1251::decode(out) : QString();
}

// "<name>Size" decides the form of "<name>": 0 and less is plain text; without it the
// value is not trusted at all.
QString readSecret(const QSettings& store, const QString& name)
{
    const QVariant sizeValue = store.value(name + QStringLiteral("Size"));
    if (!sizeValue.isValid())
        return QString();
    const qint64 size = sizeValue.toLongLong();
    const QVariant value = store.value(name);
    if (!value.isValid())
        return QString();
    if (size <= 0)
        return value.toString();
    return inflated(storedBytes(value), size);
}

// Only the Windows registry is no file.
bool isFile(const QSettings& store)
{
#ifdef Q_OS_WIN
    return store.format() != QSettings::NativeFormat;
#else
    Q_UNUSED(store);
    return true;
#endif
}

// The file is made owner-only before the passwords reach it, and kept so after the write
// (QSettings replaces the file and keeps the permissions it finds).
void restrictToOwner(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

std::unique_ptr<QSettings> openStore(const QString& filePath)
{
    if (filePath.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           PasswordStore::organisation(),
                                           PasswordStore::application());
    return std::make_unique<QSettings>(filePath, QSettings::IniFormat);
}

} // namespace

PasswordStore::PasswordStore(const QString& filePath)
    : m_filePath(filePath)
{
}

QString PasswordStore::organisation()
{
    return QStringLiteral("Dunvik Shop ") + ProgramInfo::ProgramVersion();
}

QString PasswordStore::location() const
{
    return openStore(m_filePath)->fileName();
}

PasswordStore::Secrets PasswordStore::read() const
{
    const auto store = openStore(m_filePath);
    Secrets s;
    s.password = readSecret(*store, QStringLiteral("Password"));
    s.proxyLogin = store->value(QStringLiteral("ProxyLogin")).toString();
    s.proxyPassword = readSecret(*store, QStringLiteral("ProxyPass"));
    return s;
}

void PasswordStore::write(const Secrets& secrets) const
{
    const auto store = openStore(m_filePath);
    const bool file = isFile(*store);
    if (file)
        restrictToOwner(store->fileName());
    store->setValue(QStringLiteral("Password"), secrets.password);
    store->setValue(QStringLiteral("PasswordSize"), 0);
    store->setValue(QStringLiteral("ProxyLogin"), secrets.proxyLogin);
    store->setValue(QStringLiteral("ProxyPass"), secrets.proxyPassword);
    store->setValue(QStringLiteral("ProxyPassSize"), 0);
    store->sync();
    if (store->status() != QSettings::NoError)
        throw TraderError(
            QStringLiteral("Не удалось сохранить пароли в %1").arg(store->fileName()));
    if (file)
        restrictToOwner(store->fileName());
}
