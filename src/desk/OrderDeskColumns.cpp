#include "OrderDeskColumns.h"

#include "TraderIcons.h"

namespace {

constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment Centre = Qt::AlignCenter;

GridColumn text(const char* field, const char* title, int width = 120, bool sortable = true)
{
    GridColumn c;
    c.field = QLatin1String(field);
    c.title = QString::fromUtf8(title);
    c.width = width;
    c.sortable = sortable;
    return c;
}

GridColumn money(const char* field, const char* title, bool sum)
{
    GridColumn c = text(field, title, 95);
    c.kind = GridColumn::Kind::Money;
    c.alignment = Right;
    if (sum)
        c.footer = GridColumn::Footer::Sum;
    return c;
}

GridColumn number(const char* field, const char* title, int width = 70)
{
    GridColumn c = text(field, title, width);
    c.kind = GridColumn::Kind::Number;
    c.alignment = Right;
    return c;
}

GridColumn centred(GridColumn c)
{
    c.alignment = Centre;
    return c;
}

GridColumn picture(const char* field, const char* title, const QList<QIcon>& pictures,
                   std::function<int(const QVariant&)> index)
{
    GridColumn c = text(field, title, 28);
    c.kind = GridColumn::Kind::Picture;
    c.pictures = pictures;
    c.pictureIndex = std::move(index);
    c.titlePicture = pictures.value(1);
    c.filterable = false;
    c.visibilityFixed = true;
    c.alignment = Centre;
    return c;
}

} // namespace

namespace OrderDeskColumns {

QList<GridColumn> orders()
{
    GridColumn status = picture("status", "Статус заказа", TraderIcons::orderStatusPictures(),
                                [](const QVariant& v) {
                                    const int code = v.toInt();
                                    return code >= 0 && code <= 5 ? code : 0;
                                });
    GridColumn payment = picture("get_payment", "Статус оплаты", TraderIcons::paymentPictures(),
                                 [](const QVariant& v) { return v.toInt() == 2 ? 1 : 0; });
    GridColumn moment = text("date_time", "Дата и время", 135);
    moment.kind = GridColumn::Kind::DateTime;
    moment.displayFormat = QStringLiteral("dd.MM.yyyy hh:mm");
    moment.footer = GridColumn::Footer::Count;
    moment.footerFormat = QStringLiteral("Число заказов: ###");
    GridColumn code = text("code", "Код", 90);
    code.footer = GridColumn::Footer::CurrentValue;
    code.footerField = QStringLiteral("order_id");
    code.footerFormat = QStringLiteral("ID: ###");
    return {status,
            payment,
            moment,
            code,
            money("itogo_sum", "Итого", true),
            money("disc_sum", "Скидка", true),
            text("deliv_name", "Доставка|Наименование", 140, false),
            money("deliv_cost", "Доставка|Сумма", true),
            text("cond_name", "Дополнит. услуги|Наименование", 140, false),
            money("cond_cost", "Дополнит. услуги|Сумма", true),
            money("total_sum", "Всего", true),
            text("payment_name", "Оплата|Наименование", 140, false),
            money("payment_cost", "Оплата|Сумма", false),
            centred(text("payment_curr", "Оплата|Валюта", 60)),
            number("partner_id", "Партнер|ID"),
            text("partner_login", "Партнер|Логин", 100),
            money("partner_sum", "Партнер|Сумма", true),
            number("manager_id", "Менеджер|ID"),
            text("manager_name", "Менеджер|Имя", 110)};
}

QList<GridColumn> goods()
{
    GridColumn code = text("code", "Артикул", 90);
    code.footer = GridColumn::Footer::CurrentValue;
    code.footerField = QStringLiteral("store_id");
    code.footerFormat = QStringLiteral("ID: ###");
    GridColumn name = text("name", "Наименование", 220);
    name.footer = GridColumn::Footer::Count;
    name.footerFormat = QStringLiteral("Всего товаров: ###");
    GridColumn status = centred(text("status", "Статус", 90));
    status.valueTexts = {{0, QStringLiteral("На складе")},
                         {1, QStringLiteral("Отсутсвует")},
                         {2, QStringLiteral("Ожидается")},
                         {3, QStringLiteral("Под заказ")},
                         {10, QStringLiteral("Подарок")}};
    GridColumn how = number("how", "Кол-во", 60);
    how.footer = GridColumn::Footer::Sum;
    how.footerFormat = QStringLiteral("###");
    GridColumn percent = text("part_proc", "Партнерские расчеты|Процент", 80);
    percent.kind = GridColumn::Kind::Percent;
    percent.displayFormat = QStringLiteral("##0.00 %");
    percent.alignment = Right;
    return {code,
            name,
            text("param_name", "Параметры", 140, false),
            status,
            money("price", "Цена|Базовая", true),
            money("new_price", "Цена|Отпускная", true),
            money("disc_suma", "Скидка", true),
            how,
            centred(text("meas", "Ед.изм.", 60)),
            money("itogo", "Итого|Сумма", true),
            money("itogo_disc", "Итого|Скидка", true),
            percent,
            money("part_value", "Партнерские расчеты|Сумма", false),
            money("part_itogo", "Партнерские расчеты|Итого", true)};
}

QList<GridColumn> clientFields()
{
    return {text("tab_name", "Рег. поле", 140), text("value_text", "Значение", 160)};
}

const QStringList& orderMoneyFields()
{
    static const QStringList fields = {QStringLiteral("itogo_sum"),  QStringLiteral("disc_sum"),
                                       QStringLiteral("deliv_cost"), QStringLiteral("cond_cost"),
                                       QStringLiteral("total_sum"),  QStringLiteral("partner_sum")};
    return fields;
}

const QStringList& goodsMoneyFields()
{
    static const QStringList fields = {QStringLiteral("price"),      QStringLiteral("disc_suma"),
                                       QStringLiteral("new_price"),  QStringLiteral("itogo"),
                                       QStringLiteral("itogo_disc"), QStringLiteral("part_value"),
                                       QStringLiteral("part_itogo")};
    return fields;
}

RowStyle goodsStyle(const GridModel& model, int row)
{
    RowStyle style;
    switch (model.value(row, QStringLiteral("status")).toInt()) {
    case 1:
        style.text = QColor(152, 0, 0);
        break;
    case 2:
        style.text = QColor(152, 152, 0);
        break;
    case 3:
        style.text = QColor(0, 152, 0);
        break;
    default:
        break;
    }
    return style;
}

RowStyle clientFieldStyle(const GridModel& model, int row)
{
    RowStyle style;
    style.bold = model.value(row, QStringLiteral("isfolder")).toBool();
    return style;
}

} // namespace OrderDeskColumns
