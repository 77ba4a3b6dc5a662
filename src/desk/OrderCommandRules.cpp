#include "OrderCommandRules.h"

namespace OrderCommandRules {

const QStringList& lockedDuringExchange()
{
    static const QStringList names = {
        QStringLiteral("ARefreshData"),        QStringLiteral("AArchiveUpdate"),
        QStringLiteral("ANewOrder"),           QStringLiteral("ACopyOrder"),
        QStringLiteral("ANewCopyOrder"),       QStringLiteral("ASetStatusAccept"),
        QStringLiteral("ASetStatusDelivery"),  QStringLiteral("ASetStatusExecuted"),
        QStringLiteral("ASetStatusNil"),       QStringLiteral("ASetStatusDel"),
        QStringLiteral("ASetPaymentAccept"),   QStringLiteral("ASetPaymentNil"),
        QStringLiteral("AReportSelectOrders"), QStringLiteral("AReportOrderSys"),
        QStringLiteral("AInvoiceOrder"),       QStringLiteral("AResetStatus"),
        QStringLiteral("AResetStatusAll"),     QStringLiteral("AExportXML"),
        QStringLiteral("AOrderDublicate"),     QStringLiteral("AOrderSearch")};
    return names;
}

const QStringList& unlockedAfterExchange()
{
    static const QStringList names = [] {
        QStringList all = lockedDuringExchange();
        for (const char* name : {"ANewCopyOrder", "AOrderDublicate", "AOrderSearch"})
            all.removeAll(QLatin1String(name));
        return all;
    }();
    return names;
}

QHash<QString, bool> refreshButtons(const DeskState& state)
{
    QHash<QString, bool> states;
    const auto set = [&states](std::initializer_list<const char*> names, bool enabled) {
        for (const char* name : names)
            states.insert(QLatin1String(name), enabled);
    };
    if (state.rowCount == 0) {
        for (const QString& name : lockedDuringExchange())
            states.insert(name, false);
        set({"ARefreshData", "ANewOrder"}, true);
        return states;
    }
    set({"ACopyOrder", "ANewCopyOrder", "AReportOrderSys"}, true);
    set({"AArchiveUpdate"}, state.tab <= 1);
    const bool archive = state.tab == 0;
    set({"ASetStatusDel"}, !archive);
    set({"ASetPaymentAccept", "ASetPaymentNil", "AReportSelectOrders", "AInvoiceOrder",
         "AResetStatus", "AResetStatusAll", "AExportXML", "AOrderSearch", "AOrderDublicate"},
        archive);
    // A single finished order takes no new status.
    const bool statusAllowed = archive && (state.markedCount != 1 || state.currentStatusWas < 3);
    set({"ASetStatusAccept", "ASetStatusDelivery", "ASetStatusExecuted", "ASetStatusNil"},
        statusAllowed);
    return states;
}

} // namespace OrderCommandRules
