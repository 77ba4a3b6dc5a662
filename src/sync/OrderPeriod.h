#pragma once

#include "StartSettings.h"

#include <QDateTime>

// The span of time whose orders a download brings.
struct OrderPeriod {
    QDateTime start;
    QDateTime end;

    // From the period settings at the moment of the download: three calendar months back
    // (the last day of a shorter month) and "now" for the automatic ends, otherwise the
    // stored days from 00:00:00 to 23:59:59.
    static OrderPeriod at(const OrderPeriodSettings& settings, const QDateTime& now);

    // The local store's form of a moment, which sorts and compares as text.
    static QString storageText(const QDateTime& moment);
};
