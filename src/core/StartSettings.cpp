#include "StartSettings.h"

#include "SettingsFile.h"

namespace {

QDate readDate(const SettingsFile& file, const QString& key, const QDate& defaultDate)
{
    const QDate date = SettingsFile::parseDate(file.ReadSetting(
        QStringLiteral("ArchiveOrders"), key, SettingsFile::dateText(defaultDate)));
    return date.isValid() ? date : defaultDate;
}

bool readFlag(const SettingsFile& file, const QString& key)
{
    return SettingsFile::isTrue(
        file.ReadSetting(QStringLiteral("ArchiveOrders"), key, QStringLiteral("True")));
}

} // namespace

ConnectionSettings ConnectionSettings::read(const SettingsFile& file)
{
    ConnectionSettings c;
    const QString connect = QStringLiteral("Connect");
    c.shopUrl = file.ReadSetting(connect, QStringLiteral("ShopUrl"), defaultShopUrl());
    c.login = file.ReadSetting(connect, QStringLiteral("Login"), QString());
    c.proxy = file.ReadSetting(connect, QStringLiteral("EProxy"), QString());
    c.proxyPort = file.ReadSetting(connect, QStringLiteral("EPort"), QString());
    return c;
}

void ConnectionSettings::write(const SettingsFile& file) const
{
    const QString connect = QStringLiteral("Connect");
    file.WriteSetting(connect, QStringLiteral("ShopUrl"), shopUrl);
    file.WriteSetting(connect, QStringLiteral("Login"), login);
    file.WriteSetting(connect, QStringLiteral("EProxy"), proxy);
    file.WriteSetting(connect, QStringLiteral("EPort"), proxyPort);
}

void OrderPeriodSettings::write(const SettingsFile& file) const
{
    const QString section = QStringLiteral("ArchiveOrders");
    file.WriteSetting(section, QStringLiteral("GetOrderFrom"), SettingsFile::dateText(from));
    file.WriteSetting(section, QStringLiteral("GetOrderTo"), SettingsFile::dateText(to));
    file.WriteSetting(section, QStringLiteral("GetOrderAutoFrom"), SettingsFile::flag(autoFrom));
    file.WriteSetting(section, QStringLiteral("GetOrderAutoTo"), SettingsFile::flag(autoTo));
    file.WriteSetting(section, QStringLiteral("GetOrderAutoClear"), SettingsFile::flag(autoClear));
}

StartSettings StartSettings::read(const SettingsFile& file, const QDate& today)
{
    StartSettings s;
    s.connection = ConnectionSettings::read(file);

    bool ok = false;
    const int records =
        file.ReadSetting(QStringLiteral("Options"), QStringLiteral("RecordPerSession"),
                         QString::number(DefaultRecordPerSession))
            .trimmed()
            .toInt(&ok);
    s.recordPerSession = ok && records >= 1 ? records : DefaultRecordPerSession;

    s.period.from = readDate(file, QStringLiteral("GetOrderFrom"), today.addMonths(-3));
    s.period.to = readDate(file, QStringLiteral("GetOrderTo"), today);
    s.period.autoTo = readFlag(file, QStringLiteral("GetOrderAutoTo"));
    s.period.autoFrom = readFlag(file, QStringLiteral("GetOrderAutoFrom"));
    s.period.autoClear = readFlag(file, QStringLiteral("GetOrderAutoClear"));
    return s;
}
