#include "ProgramInfo.h"

namespace ProgramInfo {

QString ProgramVersion()
{
    return QStringLiteral("%1.%2.%3")
        .arg(TRADER_VERSION_MAJOR)
        .arg(TRADER_VERSION_MINOR)
        .arg(TRADER_VERSION_RELEASE);
}

QString ProgramBuild()
{
    return QString::number(TRADER_VERSION_BUILD);
}

QString ProgramName()
{
    return QStringLiteral("Dunvik Shop Trader");
}

QString ProgramTitle()
{
    return ProgramName() + QStringLiteral(" v") + ProgramVersion() + QLatin1Char('.') +
           ProgramBuild();
}

} // namespace ProgramInfo
