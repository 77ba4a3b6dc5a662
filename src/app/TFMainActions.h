#pragma once

#include <QList>

class QAction;
class QObject;

// The commands of the main window, each named as the program names it. A caption is also
// the command's hint. Commands whose work is not built yet stay disabled in their places.
struct TFMainActions {
    explicit TFMainActions(QObject* owner);

    const QList<QAction*>& all() const { return m_all; }

    QAction* ARefreshData;
    QAction* AOrderGetParam;
    QAction* AReGetTables;
    QAction* AReGetOrders;
    QAction* AArchiveUpdate;
    QAction* AConnectParam;
    QAction* ALogView;
    QAction* ADBUtil;
    QAction* AClose;
    QAction* AOrderSearch;
    QAction* ANewOrder;
    QAction* ACopyOrder;
    QAction* ANewCopyOrder;
    QAction* ASetStatusDel;
    QAction* ASetStatusAccept;
    QAction* ASetStatusDelivery;
    QAction* ASetStatusExecuted;
    QAction* ASetStatusNil;
    QAction* ASetPaymentAccept;
    QAction* ASetPaymentNil;
    QAction* AResetStatus;
    QAction* AResetStatusAll;
    QAction* AReportOrderSys;
    QAction* AEditReportSys;
    QAction* AReportSelectOrders;
    QAction* AClientCat;
    QAction* AGoodsSelect;
    QAction* AOrderDublicate;
    QAction* AInvoiceOrder;
    QAction* AExportXML;
    QAction* AAbout;
    QAction* ASiteDunvik;
    QAction* ALicense;
    QAction* ASupport;
    QAction* AHelp;

private:
    QList<QAction*> m_all;
};
