#include "OrderPeriod.h"

OrderPeriod OrderPeriod::at(const OrderPeriodSettings& settings, const QDateTime& now)
{
    OrderPeriod period;
    period.start = settings.autoFrom ? now.addMonths(-3) : QDateTime(settings.from, QTime(0, 0));
    period.end = settings.autoTo ? now : QDateTime(settings.to, QTime(23, 59, 59));
    return period;
}

QString OrderPeriod::storageText(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}
