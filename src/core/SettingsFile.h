#pragma once

#include <QDate>
#include <QString>

// "Vendrix.ini": the program's few settings. Every read and write opens the file anew
// (there is no cache, so another copy's change is seen at once), section and key names
// match without regard to case, and a write reaches the disk before it returns.
class SettingsFile {
public:
    explicit SettingsFile(const QString& path);

    QString path() const { return m_path; }

    // The default when the file, the section or the key is missing; never creates the file.
    QString ReadSetting(const QString& section, const QString& key,
                        const QString& defaultValue) const;
    // Throws TraderError when the file cannot be written.
    void WriteSetting(const QString& section, const QString& key, const QString& value) const;

    // The forms of flags and dates in this file.
    static bool isTrue(const QString& value) { return value == QLatin1String("True"); }
    static QString flag(bool value);
    static QString dateText(const QDate& date);
    // An invalid date when the text is not a date in the regional short form.
    static QDate parseDate(const QString& text);

private:
    QString m_path;
};
