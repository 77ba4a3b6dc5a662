#include "TFMainActions.h"

#include "TraderIcons.h"

#include <QAction>
#include <QKeySequence>

namespace {

struct ActionDef {
    QAction* TFMainActions::*member;
    const char* name;
    const char* caption;
    QKeySequence shortcut;
};

} // namespace

TFMainActions::TFMainActions(QObject* owner)
{
    using A = TFMainActions;
    const ActionDef defs[] = {
        {&A::ARefreshData, "ARefreshData", "Загрузить/обновить заказы с сервера",
         QKeySequence(Qt::CTRL | Qt::Key_R)},
        {&A::AOrderGetParam, "AOrderGetParam", "Параметры получения заказов с сервера", {}},
        {&A::AReGetTables, "AReGetTables", "Принудительно обновить локальную базу магазина", {}},
        {&A::AReGetOrders, "AReGetOrders", "Очистить и загрузить все заказы заново", {}},
        {&A::AArchiveUpdate, "AArchiveUpdate", "Отправить данные на сервер",
         QKeySequence(Qt::CTRL | Qt::Key_S)},
        {&A::AConnectParam, "AConnectParam", "Параметры подключения", {}},
        {&A::ALogView, "ALogView", "Журнал", {}},
        {&A::ADBUtil, "ADBUtil", "Проверка целостности локальных таблиц с данными", {}},
        {&A::AClose, "AClose", "Выход", QKeySequence(Qt::Key_F12)},
        {&A::AOrderSearch, "AOrderSearch", "Поиск заказов", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {&A::ANewOrder, "ANewOrder", "Создать новый заказ", QKeySequence(Qt::Key_Insert)},
        {&A::ACopyOrder, "ACopyOrder", "Редактировать заказ", QKeySequence(Qt::Key_F4)},
        {&A::ANewCopyOrder, "ANewCopyOrder", "Создать новый заказ на основе текущего",
         QKeySequence(Qt::Key_F5)},
        {&A::ASetStatusDel, "ASetStatusDel", "Удалить заказ", QKeySequence(Qt::Key_Delete)},
        {&A::ASetStatusAccept, "ASetStatusAccept", "Назначить статус \"Принят к выполнению\"",
         QKeySequence(Qt::CTRL | Qt::Key_F1)},
        {&A::ASetStatusDelivery, "ASetStatusDelivery", "Назначить статус \"В процессе доставки\"",
         QKeySequence(Qt::CTRL | Qt::Key_F2)},
        {&A::ASetStatusExecuted, "ASetStatusExecuted", "Назначить статус \"Выполнен\"",
         QKeySequence(Qt::CTRL | Qt::Key_F3)},
        {&A::ASetStatusNil, "ASetStatusNil", "Назначить статус \"Аннулирован\"",
         QKeySequence(Qt::CTRL | Qt::Key_F4)},
        {&A::ASetPaymentAccept, "ASetPaymentAccept", "Назначить статус \"Оплата принята\"",
         QKeySequence(Qt::CTRL | Qt::Key_F5)},
        {&A::ASetPaymentNil, "ASetPaymentNil", "Назначить статус \"Оплата не принята\"",
         QKeySequence(Qt::CTRL | Qt::Key_F6)},
        {&A::AResetStatus, "AResetStatus", "Вернуть исходные статусы текущего заказа",
         QKeySequence(Qt::Key_F9)},
        {&A::AResetStatusAll, "AResetStatusAll", "Вернуть исходные статусы всех заказов",
         QKeySequence(Qt::SHIFT | Qt::Key_F9)},
        {&A::AReportOrderSys, "AReportOrderSys", "Служебный отчет о выбранном заказе", {}},
        {&A::AEditReportSys, "AEditReportSys", "Редактировать макет служебного отчета", {}},
        {&A::AReportSelectOrders, "AReportSelectOrders", "Совокупный отчет заказов",
         QKeySequence(Qt::Key_F10)},
        {&A::AClientCat, "AClientCat", "Каталог покупателей", QKeySequence(Qt::Key_F2)},
        {&A::AGoodsSelect, "AGoodsSelect", "Каталог товаров", QKeySequence(Qt::Key_F3)},
        {&A::AOrderDublicate, "AOrderDublicate", "Создать копию заказа в интернет-магазине",
         QKeySequence(Qt::CTRL | Qt::Key_F9)},
        {&A::AInvoiceOrder, "AInvoiceOrder", "Показать счет заказа", QKeySequence(Qt::Key_F8)},
        {&A::AExportXML, "AExportXML", "Экспортировать заказы в формате DS5",
         QKeySequence(Qt::Key_F7)},
        {&A::AAbout, "AAbout", "О программе", {}},
        {&A::ASiteDunvik, "ASiteDunvik", "Сайт компании Dunvik", {}},
        {&A::ALicense, "ALicense", "Лицензионное соглашение", {}},
        {&A::ASupport, "ASupport", "Тех.поддержка", {}},
        {&A::AHelp, "AHelp", "Руководство пользователя", QKeySequence(Qt::Key_F1)},
    };
    for (const ActionDef& def : defs) {
        const QString caption = QString::fromUtf8(def.caption);
        auto* action = new QAction(caption, owner);
        action->setObjectName(QLatin1String(def.name));
        action->setToolTip(caption);
        action->setStatusTip(caption);
        action->setShortcut(def.shortcut);
        action->setIcon(TraderIcons::action(action->objectName()));
        this->*def.member = action;
        m_all << action;
    }
}
