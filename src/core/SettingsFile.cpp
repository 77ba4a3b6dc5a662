#include "SettingsFile.h"

#include "TraderError.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>

namespace {

// The name as the file already spells it, so that "connect" finds "[Connect]".
QString existingName(const QStringList& names, const QString& wanted)
{
    for (const QString& name : names)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    return wanted;
}

QString locate(QSettings& ini, const QString& section, const QString& key)
{
    const QString group = existingName(ini.childGroups(), section);
    ini.beginGroup(group);
    const QString name = existingName(ini.childKeys(), key);
    ini.endGroup();
    return group + QLatin1Char('/') + name;
}

// The short date form with a four-digit year: a two-digit year would read back a century
// early.
QString shortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

} // namespace

SettingsFile::SettingsFile(const QString& path)
    : m_path(path)
{
}

QString SettingsFile::ReadSetting(const QString& section, const QString& key,
                                  const QString& defaultValue) const
{
    if (!QFileInfo::exists(m_path))
        return defaultValue;
    QSettings ini(m_path, QSettings::IniFormat);
    const QVariant value = ini.value(locate(ini, section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-written value with an unquoted comma comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsFile::WriteSetting(const QString& section, const QString& key,
                                const QString& value) const
{
    QSettings ini(m_path, QSettings::IniFormat);
    ini.setValue(locate(ini, section, key), value);
    ini.sync();
    if (ini.status() != QSettings::NoError)
        throw TraderError(QStringLiteral("Не удалось записать файл настроек %1").arg(m_path));
}

QString SettingsFile::flag(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString SettingsFile::dateText(const QDate& date)
{
    return date.toString(shortDateFormat());
}

QDate SettingsFile::parseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    QDate date = QDate::fromString(trimmed, shortDateFormat());
    if (!date.isValid()) {
        // The plain regional form, which may carry a two-digit year.
        date = QLocale().toDate(trimmed, QLocale::ShortFormat);
        if (date.isValid() && date.year() < 1950)
            date = date.addYears(100);
    }
    return date;
}
