#include "ShopSeeder.h"

#include "Amount.h"
#include "OrderCommands.h"
#include "Rng.h"
#include "RowInserter.h"
#include "SeedTexts.h"
#include "ShopContext.h"
#include "ShopDb.h"
#include "WireText.h"

#include <QCryptographicHash>
#include <QSet>

#include <array>

namespace {

using SeedTexts::Sizes;

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

SqlValue money(Amount value)
{
    return value.toDouble();
}

Amount rub(qint64 units)
{
    return Amount::fromUnits(units);
}

QString md5(const QString& text)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

const Amount UsdRate = *Amount::parseC(u("92.5"));

struct Variant {
    int paramValueId;
    QString sizeName;
    Amount price;
    QString code;
    int status;
    int how;
};

struct Goods {
    int id;
    QString code;
    QString name;
    QString meas;
    Amount price; // in roubles, as an order line takes it
    Amount tax;
    Amount partProc;
    Amount provPrice;
    int providerId;
    int status;
    int paramId; // the personal parameter, 0 when none
    std::vector<Variant> variants;
};

// The registration form, in tree order: id, parent, level, folder, name, required.
struct FormField {
    int id;
    int parent;
    int level;
    bool folder;
    const char* name;
    bool need;
};
const std::array<FormField, 13> Form = {{{1, 0, 0, true, "Контактные данные", false},
                                         {2, 1, 1, false, "Фамилия", true},
                                         {3, 1, 1, false, "Имя", true},
                                         {4, 1, 1, false, "Отчество", false},
                                         {5, 1, 1, false, "Телефон", true},
                                         {6, 0, 0, true, "Адрес доставки", false},
                                         {7, 6, 1, false, "Индекс", false},
                                         {8, 6, 1, false, "Город", true},
                                         {9, 6, 1, false, "Улица, дом, квартира", true},
                                         {10, 0, 0, true, "Дополнительно", false},
                                         {11, 10, 1, false, "Как вы о нас узнали", false},
                                         {12, 10, 1, false, "Удобное время звонка", false},
                                         {13, 10, 1, false, "Пол", false}}};
const std::vector<const char*> HowFound = {"Поиск в интернете", "Реклама", "Совет друзей",
                                           "Социальные сети"};
const std::vector<const char*> CallTimes = {"Утром", "Днём", "Вечером"};
const std::vector<const char*> Sexes = {"Мужской", "Женский"};

struct Person {
    QString login;
    QString email;
    QString categoryName;
    std::array<QString, 14> values; // by form field id
};

struct Client {
    int id;
    Person person;
    Amount proc;
    Amount suma;
    int categoryId;
    QDate regDate;
    int rulesAllow;
    Amount ordersSum;
    QDate lastDate;
};

const std::array<const char*, 4> CategoryNames = {"", "Постоянный покупатель", "Оптовый покупатель",
                                                  "VIP-клиент"};
const std::array<const char*, 4> ManagerNames = {"", "Анна Соколова", "Ольга Смирнова",
                                                 "Павел Кузнецов"};
const std::array<const char*, 4> PartnerLogins = {"", "vk-group", "blog-dom", "cashback"};

class Builder {
public:
    Builder(ShopDb& db, ShopSeeder::Size size, const QDateTime& now)
        : m_db(db)
        , m_size(size)
        , m_now(now)
        , m_rng(20111225)
    {
    }

    void run()
    {
        shopValues();
        people();
        catalogueSettings();
        catalogue();
        clients();
        orders();
        clientRows();
    }

private:
    void shopValues()
    {
        RowInserter row(m_db, "shop_values");
        const std::pair<const char*, QString> values[] = {
            {"main_update_time", WireText::storedTimestamp(m_now)},
            {"main_base_curr", u("руб.")},
            {"main_shop_name", u("Дунвик — одежда, обувь и товары для дома")},
            {"main_shop_email", u("shop@dunvik.example")},
            {"main_shop_phone", u("+7 (495) 000-47-47")}};
        for (const auto& [key, value] : values)
            row.set("key_name", u(key)).set("key_value", value).insert();
        RowInserter currency(m_db, "currency");
        currency.set("id", 1).set("name", u("руб.")).set("multiplex", money(rub(1)));
        currency.set("division", 0).set("pos", 1).insert();
        currency.set("id", 2).set("name", u("USD")).set("multiplex", money(UsdRate));
        currency.set("division", 0).set("pos", 2).insert();
        currency.set("id", 3)
            .set("name", u("EUR"))
            .set("multiplex", money(*Amount::parseC(u("100.2"))));
        currency.set("division", 0).set("pos", 3).insert();
    }

    void people()
    {
        SqlStatement manager(m_db, "INSERT INTO manager (id, login, password, name) "
                                   "VALUES (?,?,?,?)");
        const char* logins[] = {"", "manager", "olga", "pavel"};
        for (int id = 1; id <= 3; ++id)
            manager.bind(1, id)
                .bind(2, u(logins[id]))
                .bind(3, u("demo"))
                .bind(4, u(ManagerNames[std::size_t(id)]))
                .run();
        SqlStatement partner(m_db, "INSERT INTO partner (id, login, name) VALUES (?,?,?)");
        const char* names[] = {"", "Группа ВКонтакте", "Блог «Уютный дом»", "Кэшбэк-сервис"};
        for (int id = 1; id <= 3; ++id)
            partner.bind(1, id)
                .bind(2, u(PartnerLogins[std::size_t(id)]))
                .bind(3, u(names[id]))
                .run();
        RowInserter category(m_db, "category");
        for (int id = 1; id <= 3; ++id)
            category.set("id", id)
                .set("name", u(CategoryNames[std::size_t(id)]))
                .set("pos", id)
                .insert();
        RowInserter provider(m_db, "provider");
        const char* providers[][4] = {
            {"ООО «Текстиль-Опт»", "Смирнов Алексей", "opt@textil.example", "+7 (495) 123-45-67"},
            {"ЗАО «Обувной двор»", "Петрова Ирина", "sales@obuv.example", "+7 (812) 234-56-78"},
            {"ИП Кузнецова Е. В.", "Кузнецова Елена", "kuznetsova@galanterea.example",
             "+7 (343) 345-67-89"},
            {"ООО «ДомСервис»", "Волков Денис", "info@domservis.example", "+7 (383) 456-78-90"}};
        for (int i = 0; i < 4; ++i)
            provider.set("id", i + 1)
                .set("name", u(providers[i][0]))
                .set("manager", u(providers[i][1]))
                .set("email", u(providers[i][2]))
                .set("phone", u(providers[i][3]))
                .set("pos", i + 1)
                .insert();
    }

    void catalogueSettings()
    {
        RowInserter field(m_db, "client_field");
        for (std::size_t i = 0; i < Form.size(); ++i)
            field.set("id", Form[i].id)
                .set("tindex", Form[i].parent)
                .set("tlevel", Form[i].level)
                .set("absindex", int(i))
                .set("isfolder", Form[i].folder ? 1 : 0)
                .set("name", u(Form[i].name))
                .set("need", Form[i].need ? 1 : 0)
                .insert();
        RowInserter set(m_db, "client_field_set");
        int setId = 0;
        const auto addSet = [&](int fieldId, const std::vector<const char*>& values,
                                std::size_t count) {
            for (std::size_t i = 0; i < count; ++i)
                set.set("id", ++setId)
                    .set("client_field_id", fieldId)
                    .set("set_value", u(values[i]))
                    .set("pos", int(i) + 1)
                    .insert();
        };
        addSet(8, SeedTexts::cities(), 6);
        addSet(11, HowFound, HowFound.size());
        addSet(12, CallTimes, CallTimes.size());
        addSet(13, Sexes, Sexes.size());

        RowInserter discount(m_db, "discount_order");
        const int steps[][2] = {{5000, 3}, {15000, 5}, {30000, 7}};
        for (int i = 0; i < 3; ++i)
            discount.set("id", i + 1)
                .set("name", u("Скидка %1% на заказ от %2 руб.")
                                 .arg(steps[i][1])
                                 .arg(QLocale(QLocale::Russian).toString(steps[i][0])))
                .set("descr", u("Действует автоматически при оформлении заказа."))
                .set("from_sum", money(rub(steps[i][0])))
                .set("proc", money(rub(steps[i][1])))
                .insert();

        RowInserter delivery(m_db, "delivery");
        struct Delivery {
            int id, parent, level;
            bool folder;
            const char* name;
            int suma, freeFrom, currency;
        };
        const Delivery deliveries[] = {
            {1, 0, 0, false, "Самовывоз из магазина", 0, 0, 1},
            {2, 0, 0, true, "Курьерская доставка", 0, 0, 1},
            {3, 2, 1, false, "Курьером по Москве", 300, 5000, 1},
            {4, 2, 1, false, "Курьером по Московской области", 500, 10000, 1},
            {5, 0, 0, false, "Почта России", 350, 0, 1},
            {6, 0, 0, false, "Транспортная компания", 15, 0, 2}};
        for (int i = 0; i < 6; ++i) {
            const Delivery& d = deliveries[i];
            delivery.set("id", d.id)
                .set("tindex", d.parent)
                .set("tlevel", d.level)
                .set("absindex", i)
                .set("isfolder", d.folder ? 1 : 0)
                .set("name", u(d.name))
                .set("descr", u("Сроки и условия уточняйте у менеджера."))
                .set("proc", money(Amount()))
                .set("suma", money(rub(d.suma)))
                .set("free_from", money(rub(d.freeFrom)))
                .set("suma_curr_id", d.currency)
                .insert();
        }
        RowInserter multiplex(m_db, "delivery_multiplex");
        const char* multiplexes[][3] = {{"5", "0", "1"},
                                        {"5", "3", "1.5"},
                                        {"5", "10", "2.25"},
                                        {"6", "0", "1"},
                                        {"6", "20", "1.8"}};
        for (int i = 0; i < 5; ++i)
            multiplex.set("id", i + 1)
                .set("delivery_id", qint64(QByteArray(multiplexes[i][0]).toInt()))
                .set("tax_from", money(*Amount::parseC(u(multiplexes[i][1]))))
                .set("multiplex", money(*Amount::parseC(u(multiplexes[i][2]))))
                .insert();
        RowInserter cost(m_db, "delivery_cost");
        const int costs[][3] = {
            {5, 0, 350}, {5, 3000, 250}, {5, 15000, 0}, {6, 0, 900}, {6, 20000, 500}};
        for (int i = 0; i < 5; ++i)
            cost.set("id", i + 1)
                .set("delivery_id", costs[i][0])
                .set("sum_from", money(rub(costs[i][1])))
                .set("cost", money(rub(costs[i][2])))
                .set("cost_curr_id", 1)
                .insert();

        RowInserter payment(m_db, "payment");
        struct Payment {
            int id, parent, level;
            bool folder;
            const char* name;
            const char* currency;
            const char* multiplex;
            int division, suma, online, info;
        };
        const Payment payments[] = {
            {1, 0, 0, false, "Наличными курьеру", "руб.", "1", 0, 0, 0, 0},
            {2, 0, 0, true, "Банковской картой", "руб.", "1", 0, 0, 0, 0},
            {3, 2, 1, false, "Картой на сайте", "руб.", "1", 0, 0, 1, 0},
            {4, 2, 1, false, "Картой курьеру", "руб.", "1", 0, 50, 0, 0},
            {5, 0, 0, false, "Безналичный расчёт по счёту", "руб.", "1", 0, 0, 0, 1},
            {6, 0, 0, false, "В долларах США (PayPal)", "USD", "92.5", 1, 0, 1, 0}};
        for (int i = 0; i < 6; ++i) {
            const Payment& p = payments[i];
            payment.set("id", p.id)
                .set("name", u(p.name))
                .set("descr", u("Оплата заказа: %1.").arg(u(p.name).toLower()))
                .set("tindex", p.parent)
                .set("tlevel", p.level)
                .set("absindex", i)
                .set("isfolder", p.folder ? 1 : 0)
                .set("curr_name", u(p.currency))
                .set("multiplex", money(*Amount::parseC(u(p.multiplex))))
                .set("division", p.division)
                .set("curr_prec", 2)
                .set("suma", money(rub(p.suma)))
                .set("online", p.online)
                .set("info_type", p.info)
                .set("vat_value", money(rub(p.info ? 20 : 0)));
            if (p.info)
                payment.set("pay_template",
                            u("Счёт на оплату заказа {code} от {date}. Получатель: ООО "
                              "«Дунвик», ИНН 7700000000."));
            payment.insert();
        }

        RowInserter condition(m_db, "condition");
        struct Condition {
            int id, parent, level;
            bool folder;
            const char* name;
            int proc, suma, perUnit;
        };
        const Condition conditions[] = {{1, 0, 0, true, "Упаковка и сборка", 0, 0, 0},
                                        {2, 1, 1, false, "Подарочная упаковка заказа", 0, 200, 0},
                                        {3, 1, 1, false, "Срочная сборка за 2 часа", 5, 0, 0},
                                        {4, 0, 0, false, "Страхование посылки", 2, 0, 0},
                                        {5, 0, 0, false, "Подъём на этаж", 0, 50, 1},
                                        {6, 0, 0, false, "Доставка с примеркой", 0, 300, 0}};
        for (int i = 0; i < 6; ++i) {
            const Condition& c = conditions[i];
            condition.set("id", c.id)
                .set("tindex", c.parent)
                .set("tlevel", c.level)
                .set("absindex", i)
                .set("isfolder", c.folder ? 1 : 0)
                .set("name", u(c.name))
                .set("descr", u("Дополнительная услуга магазина."))
                .set("proc", money(rub(c.proc)))
                .set("suma", money(rub(c.suma)))
                .set("multiplex_how", money(rub(c.perUnit)))
                .set("multiplex_how_tax", money(Amount()))
                .set("suma_curr_id", 1)
                .insert();
            if (!c.folder)
                m_conditions.push_back({c.id, u(c.name), c.proc, c.suma, c.perUnit});
        }

        RowInserter param(m_db, "param");
        struct Param {
            int id, parent, level;
            bool folder;
            const char* name;
            int phisType;
        };
        const Param params[] = {{1, 0, 0, true, "Размеры", 0},
                                {2, 1, 1, false, "Размер одежды", 0},
                                {3, 1, 1, false, "Размер обуви", 0},
                                {4, 0, 0, true, "Оформление", 1},
                                {5, 4, 1, false, "Подарочная упаковка", 1},
                                {6, 4, 1, false, "Гравировка", 1}};
        for (int i = 0; i < 6; ++i)
            param.set("id", params[i].id)
                .set("tindex", params[i].parent)
                .set("tlevel", params[i].level)
                .set("absindex", i)
                .set("name", u(params[i].name))
                .set("isfolder", params[i].folder ? 1 : 0)
                .set("phis_type", params[i].phisType)
                .insert();
        RowInserter value(m_db, "param_value");
        int valueId = 0;
        const auto addValue = [&](int paramId, const QString& name, int proc, int suma, int pos) {
            value.set("param_id", paramId)
                .set("id", ++valueId)
                .set("name", name)
                .set("proc", money(rub(proc)))
                .set("suma", money(rub(suma)))
                .set("tax", money(Amount()))
                .set("pos", pos)
                .set("suma_curr_id", 1)
                .insert();
            return valueId;
        };
        for (int size = 44, pos = 1; size <= 54; size += 2, ++pos)
            m_clothesSizes.push_back(
                {addValue(2, QString::number(size), 0, 0, pos), QString::number(size)});
        for (int size = 36, pos = 1; size <= 45; ++size, ++pos)
            m_shoeSizes.push_back(
                {addValue(3, QString::number(size), 0, 0, pos), QString::number(size)});
        addValue(5, u("Без упаковки"), 0, 0, 1);
        m_packing = {addValue(5, u("Картонная коробка"), 0, 150, 2), u("Картонная коробка")};
        addValue(5, u("Подарочная коробка"), 0, 350, 3);
        addValue(6, u("Без гравировки"), 0, 0, 1);
        addValue(6, u("Инициалы"), 5, 0, 2);
        addValue(6, u("Логотип компании"), 10, 0, 3);
    }

    void catalogue()
    {
        const std::vector<SeedTexts::Section>& sections = SeedTexts::sections();
        RowInserter topic(m_db, "topic");
        std::vector<const SeedTexts::Section*> leaves;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            const SeedTexts::Section& s = sections[i];
            topic.set("id", s.id)
                .set("name", u(s.name))
                .set("tindex", s.parent)
                .set("tlevel", s.parent ? 1 : 0)
                .set("absindex", int(i))
                .set("active", 1)
                .set("istype", 0)
                .set("title", u(s.name))
                .set("link", u("catalog/%1").arg(QLatin1String(s.slug)))
                .set("keywords", u(s.name).toLower())
                .set("in_xml", 1)
                .set("seo_psu", QString::fromLatin1(s.slug))
                .set("full_descr", u("Раздел «%1» интернет-магазина «Дунвик».").arg(u(s.name)))
                .insert();
            if (!s.kinds.empty())
                leaves.push_back(&s);
        }

        RowInserter store(m_db, "store");
        RowInserter place(m_db, "topic_store");
        RowInserter storeParam(m_db, "store_param");
        RowInserter storeAdd(m_db, "store_add");
        m_goods.reserve(std::size_t(m_size.goods));
        for (int id = 1; id <= m_size.goods; ++id) {
            const SeedTexts::Section& section = *m_rng.pick(leaves);
            Goods goods;
            goods.id = id;
            goods.code = u("%1-%2")
                             .arg(section.id, 2, 10, QLatin1Char('0'))
                             .arg(id, 6, 10, QLatin1Char('0'));
            goods.name =
                u("%1 «%2»").arg(u(m_rng.pick(section.kinds)), u(m_rng.pick(SeedTexts::models())));
            goods.meas = u(section.meas);
            goods.price = rub(m_rng.between(section.minPrice / 10, section.maxPrice / 10) * 10);
            goods.tax = Amount::fromRaw(m_rng.between(1, 50) * 1000);
            goods.partProc = rub(m_rng.pick(std::array<int, 3>{0, 5, 10}));
            goods.provPrice = (goods.price * *Amount::parseC(u("0.6"))).roundToCents();
            goods.providerId = section.providerId;
            const int roll = int(m_rng.between(1, 100));
            goods.status = roll <= 70 ? 0 : roll <= 80 ? 1 : roll <= 90 ? 2 : 3;
            const int how = goods.status == 0   ? int(m_rng.between(1, 200))
                            : goods.status == 3 ? 100
                                                : 0;
            const bool inDollars = m_rng.chance(10);
            // A dollar price is kept in dollars; an order line shows its value in roubles.
            Amount listed = goods.price;
            if (inDollars) {
                listed = (goods.price / UsdRate).roundToCents();
                goods.price = (listed * UsdRate).roundToCents();
            }
            const bool onSale = m_rng.chance(15);
            store.set("id", id)
                .set("code", goods.code)
                .set("meas", goods.meas)
                .set("name", goods.name)
                .set("descr", u(m_rng.pick(SeedTexts::descriptions())))
                .set("price", money(listed))
                .set("part_proc", money(goods.partProc))
                .set("step_order", 1)
                .set("min_order", 1)
                .set("tax", money(goods.tax))
                .set("status", goods.status)
                .set("active", m_rng.chance(95) ? 1 : 0)
                .set("apendix_type", 0)
                .set("how", how)
                .set("kind", 0)
                .set("family", 0)
                .set("price_curr_id", inDollars ? 2 : 1)
                .set("dprice_curr_id", inDollars ? 2 : 1)
                .set("conf_id", 0)
                .set("seo_title", goods.name)
                .set("in_xml", m_rng.chance(80) ? 1 : 0)
                .set("seo_psu", u("%1-%2").arg(QLatin1String(section.slug)).arg(id))
                .set("provider_id", goods.providerId)
                .set("prov_price", money(goods.provPrice))
                .set("pprice_curr_id", 1);
            if (onSale)
                store.set("disc_price", money((listed * *Amount::parseC(u("0.8"))).roundToCents()));
            store.insert();

            place.set("topic_id", section.id).set("store_id", id).set("pos", id).insert();
            if (onSale)
                place.set("topic_id", 14).set("store_id", id).set("pos", id).insert();
            if (id > m_size.goods - m_size.goods / 10)
                place.set("topic_id", 15).set("store_id", id).set("pos", id).insert();

            const std::vector<std::pair<int, QString>>* sizes =
                section.sizes == Sizes::Clothes ? &m_clothesSizes
                : section.sizes == Sizes::Shoes ? &m_shoeSizes
                                                : nullptr;
            if (sizes) {
                goods.paramId = section.sizes == Sizes::Clothes ? 2 : 3;
                storeParam.set("store_id", id).set("param_id", goods.paramId).insert();
                for (std::size_t i = 0; i < sizes->size(); ++i) {
                    if (!m_rng.chance(80))
                        continue;
                    Variant variant;
                    variant.paramValueId = (*sizes)[i].first;
                    variant.sizeName = (*sizes)[i].second;
                    // The largest sizes cost a little more.
                    variant.price = i + 2 >= sizes->size()
                                        ? (goods.price * *Amount::parseC(u("1.05"))).roundToCents()
                                        : goods.price;
                    variant.code = goods.code + QLatin1Char('-') + variant.sizeName;
                    const int state = int(m_rng.between(1, 100));
                    variant.status = state <= 80 ? 0 : state <= 90 ? 1 : 4;
                    variant.how = variant.status == 0 ? int(m_rng.between(1, 30)) : 0;
                    storeAdd.set("store_id", id)
                        .set("param_value_id", variant.paramValueId)
                        .set("price", money(inDollars ? (variant.price / UsdRate).roundToCents()
                                                      : variant.price))
                        .set("code", variant.code)
                        .set("status", variant.status)
                        .set("how", variant.how)
                        .set("tax", money(goods.tax))
                        .set("price_curr_id", inDollars ? 2 : 1)
                        .insert();
                    if (variant.status != 4)
                        goods.variants.push_back(variant);
                }
            } else {
                goods.paramId = 0;
            }
            if (m_rng.chance(40))
                storeParam.set("store_id", id).set("param_id", 5).insert();
            if (section.sizes == Sizes::None && section.providerId == 3)
                storeParam.set("store_id", id).set("param_id", 6).insert();
            m_goods.push_back(std::move(goods));
        }
    }

    Person person()
    {
        Person p;
        const SeedTexts::Person& surname = m_rng.pick(SeedTexts::surnames());
        const SeedTexts::FirstName& first = m_rng.pick(SeedTexts::firstNames());
        const SeedTexts::FirstName& father = m_rng.pick(SeedTexts::firstNames());
        QString login =
            QLatin1String(first.latin) + QLatin1Char('.') + QLatin1String(surname.latin);
        if (first.female)
            login += QLatin1Char('a');
        if (m_logins.contains(login))
            login += QString::number(m_logins.size());
        m_logins.insert(login);
        p.login = login;
        p.email = login + QLatin1Char('@') + QLatin1String(m_rng.pick(SeedTexts::mailDomains()));
        p.values[2] = u(surname.surname) + (first.female ? u("а") : QString());
        p.values[3] = u(first.name);
        if (!m_rng.chance(20))
            p.values[4] = u(first.female ? father.patronymicFemale : father.patronymicMale);
        p.values[5] = u("+7 (9%1) %2-%3-%4")
                          .arg(m_rng.between(10, 99))
                          .arg(m_rng.between(100, 999))
                          .arg(m_rng.between(10, 99), 2, 10, QLatin1Char('0'))
                          .arg(m_rng.between(10, 99), 2, 10, QLatin1Char('0'));
        if (m_rng.chance(70))
            p.values[7] = QString::number(m_rng.between(101000, 690000));
        p.values[8] = u(m_rng.pick(SeedTexts::cities()));
        p.values[9] = u("%1, д. %2, кв. %3")
                          .arg(u(m_rng.pick(SeedTexts::streets())))
                          .arg(m_rng.between(1, 120))
                          .arg(m_rng.between(1, 300));
        if (m_rng.chance(50))
            p.values[11] = u(m_rng.pick(HowFound));
        if (m_rng.chance(30))
            p.values[12] = u(m_rng.pick(CallTimes));
        if (m_rng.chance(60))
            p.values[13] = first.female ? u("Женский") : u("Мужской");
        return p;
    }

    void clients()
    {
        m_clients.reserve(std::size_t(m_size.clients));
        for (int id = 1; id <= m_size.clients; ++id) {
            Client c;
            c.id = id;
            c.person = person();
            c.proc = rub(m_rng.chance(70) ? 0 : m_rng.pick(std::array<int, 3>{3, 5, 10}));
            c.suma = rub(m_rng.chance(80) ? 0 : m_rng.pick(std::array<int, 2>{200, 500}));
            c.categoryId = m_rng.chance(50) ? 0 : int(m_rng.between(1, 3));
            c.person.categoryName = u(CategoryNames[std::size_t(c.categoryId)]);
            c.regDate = m_now.date().addDays(-m_rng.between(100, 720));
            c.rulesAllow = m_rng.chance(70) ? 1 : 0;
            m_clients.push_back(std::move(c));
        }
    }

    // The client's rows are written after the orders, which add up their sums.
    void clientRows()
    {
        RowInserter client(m_db, "client");
        RowInserter value(m_db, "client_field_value");
        for (const Client& c : m_clients) {
            client.set("id", c.id)
                .set("do", 0)
                .set("login", c.person.login)
                .set("pass", md5(c.person.login + u("/demo")))
                .set("email", c.person.email)
                .set("proc", money(c.proc))
                .set("suma", money(c.suma))
                .set("category_id", c.categoryId)
                .set("orders_suma", money(c.ordersSum))
                .set("reg_date", c.regDate.toString(u("yyyy-MM-dd")))
                .set("rules_allow", c.rulesAllow);
            if (c.categoryId)
                client.set("category_name", c.person.categoryName);
            if (c.lastDate.isValid())
                client.set("last_date", c.lastDate.toString(u("yyyy-MM-dd")));
            client.insert();
            for (std::size_t i = 0; i < Form.size(); ++i) {
                if (!shown(c.person, i))
                    continue;
                value.set("client_id", c.id)
                    .set("id", Form[i].id)
                    .set("name", u(Form[i].name))
                    .set("isfolder", Form[i].folder ? 1 : 0)
                    .set("absindex", int(i));
                if (!Form[i].folder)
                    value.set("value_text", c.person.values[std::size_t(Form[i].id)]);
                value.insert();
            }
        }
    }

    // A field is listed when it has a value; a group when one of its fields has.
    static bool shown(const Person& person, std::size_t formIndex)
    {
        const FormField& field = Form[formIndex];
        if (!field.folder)
            return !person.values[std::size_t(field.id)].isEmpty();
        for (const FormField& child : Form)
            if (child.parent == field.id && !person.values[std::size_t(child.id)].isEmpty())
                return true;
        return false;
    }

    void orderFields(RowInserter& row, int orderId, const Person& person)
    {
        // Written for every order, so the texts are made once.
        static const auto texts = [] {
            struct Texts {
                std::array<QString, 3> names;
                std::array<QString, 3> tabNames;
                std::array<QString, Form.size()> formNames;
                std::array<QString, Form.size()> formTabNames;
            } t;
            const char* own[] = {"Логин", "E-mail", "Категория скидки"};
            for (std::size_t i = 0; i < 3; ++i) {
                t.names[i] = u(own[i]);
                t.tabNames[i] = u("· ") + t.names[i];
            }
            for (std::size_t i = 0; i < Form.size(); ++i) {
                t.formNames[i] = u(Form[i].name);
                t.formTabNames[i] = QString(Form[i].level * 4, QLatin1Char(' ')) +
                                    (Form[i].folder ? QString() : u("· ")) + t.formNames[i];
            }
            return t;
        }();
        const auto add = [&](int fieldId, const QString& name, const QString& tabName, int level,
                             int absindex, bool folder, const QString& value) {
            row.set("order_id", orderId)
                .set("field_id", fieldId)
                .set("name", name)
                .set("tab_name", tabName)
                .set("tlevel", level)
                .set("absindex", absindex)
                .set("isfolder", folder ? 1 : 0);
            if (!value.isEmpty())
                row.set("value_text", value);
            row.insert();
        };
        const QString* own[] = {&person.login, &person.email, &person.categoryName};
        for (int i = 0; i < 3; ++i)
            add(i - 3, texts.names[std::size_t(i)], texts.tabNames[std::size_t(i)], 0, i, false,
                *own[i]);
        for (std::size_t i = 0; i < Form.size(); ++i)
            if (shown(person, i))
                add(Form[i].id, texts.formNames[i], texts.formTabNames[i], Form[i].level,
                    int(i) + 3, Form[i].folder,
                    Form[i].folder ? QString() : person.values[std::size_t(Form[i].id)]);
    }

    void orders()
    {
        RowInserter order(m_db, "archive_order");
        RowInserter line(m_db, "archive_basket");
        RowInserter field(m_db, "archive_client_field");
        const QDateTime start = m_now.addMonths(-3);
        const qint64 span = start.secsTo(m_now.addSecs(-3600));
        qint64 lineId = 0;
        for (int id = 1; id <= m_size.orders && !m_goods.empty(); ++id) {
            const QDateTime time =
                start.addSecs(span * id / (m_size.orders + 1) + m_rng.between(0, 600));
            const bool recent = time.daysTo(m_now) < 30;
            int status = 0;
            int payment = 1;
            if (id <= 10) {
                // The first orders show every status in both payment states.
                status = (id - 1) % 5;
                payment = (id - 1) / 5 + 1;
            } else {
                const int roll = int(m_rng.between(1, 100));
                status = recent ? (roll <= 35   ? 0
                                   : roll <= 65 ? 1
                                   : roll <= 85 ? 2
                                   : roll <= 95 ? 3
                                                : 4)
                                : (roll <= 5    ? 0
                                   : roll <= 15 ? 1
                                   : roll <= 25 ? 2
                                   : roll <= 85 ? 3
                                                : 4);
                payment = status == 3   ? (m_rng.chance(90) ? 2 : 1)
                          : status == 0 ? 1
                                        : (m_rng.chance(50) ? 2 : 1);
            }
            const int managerId = status == 0 && m_rng.chance(80)
                                      ? 0
                                      : (m_rng.chance(50) ? 1 : int(m_rng.between(2, 3)));
            const int partnerId = m_rng.chance(15) ? int(m_rng.between(1, 3)) : 0;
            Client* client =
                !m_clients.empty() && m_rng.chance(85)
                    ? &m_clients[std::size_t(m_rng.between(0, qint64(m_clients.size()) - 1))]
                    : nullptr;
            const Person guest = client ? Person() : person();
            const Person& buyer = client ? client->person : guest;

            Amount itogo;
            Amount partnerSum;
            int units = 0;
            const int lines = int(m_rng.between(1, 4));
            for (int n = 0; n < lines; ++n) {
                const Goods& goods = m_rng.pick(m_goods);
                const Variant* variant =
                    goods.variants.empty() ? nullptr : &m_rng.pick(goods.variants);
                Amount price = variant ? variant->price : goods.price;
                QString paramName = variant
                                        ? u("%1: %2").arg(goods.paramId == 2 ? u("Размер одежды")
                                                                             : u("Размер обуви"),
                                                          variant->sizeName)
                                        : QString();
                const bool packed = m_rng.chance(10);
                if (packed) {
                    paramName += (paramName.isEmpty() ? QString() : u("; ")) +
                                 u("Подарочная упаковка: ") + m_packing.second;
                    price += rub(150);
                }
                const bool gift = n > 0 && m_rng.chance(5);
                const Amount newPrice = gift ? Amount()
                                        : m_rng.chance(10)
                                            ? (price * *Amount::parseC(u("0.95"))).roundToCents()
                                            : price;
                const int how = gift ? 1 : int(m_rng.between(1, 3));
                const Amount partValue =
                    partnerId ? (newPrice * goods.partProc / rub(100)).roundToCents() : Amount();
                itogo += newPrice * how;
                partnerSum += partValue * how;
                units += how;
                line.set("id", ++lineId)
                    .set("order_id", id)
                    .set("store_id", goods.id)
                    .set("code", goods.code)
                    .set("meas", goods.meas)
                    .set("name", goods.name)
                    .set("param_personal", variant ? 1 : 0)
                    .set("param_value_id", variant ? variant->paramValueId : 0)
                    .set("price", money(price))
                    .set("new_price", money(newPrice))
                    .set("status", gift      ? 10
                                   : variant ? variant->status
                                             : goods.status)
                    .set("how", how)
                    .set("part_proc", money(partnerId ? goods.partProc : Amount()))
                    .set("part_value", money(partValue))
                    .set("prov_price", money(goods.provPrice))
                    .set("provider_id", goods.providerId)
                    .set("tax", money(goods.tax))
                    .set("inside_disc", money(Amount()));
                if (!paramName.isEmpty())
                    line.set("param_name", paramName);
                if (variant)
                    line.set("modify_code", variant->code);
                line.insert();
            }

            Amount discountProc = client ? client->proc : Amount();
            const std::array<std::pair<int, int>, 3> steps = {{{30000, 7}, {15000, 5}, {5000, 3}}};
            for (const auto& [from, proc] : steps)
                if (itogo >= rub(from) && rub(proc) > discountProc) {
                    discountProc = rub(proc);
                    break;
                }
            const Amount discount = (itogo * discountProc / rub(100)).roundToCents();

            const int delivery = int(m_rng.pick(std::array<int, 5>{1, 3, 4, 5, 6}));
            const char* deliveryNames[] = {"",
                                           "Самовывоз из магазина",
                                           "",
                                           "Курьером по Москве",
                                           "Курьером по Московской области",
                                           "Почта России",
                                           "Транспортная компания"};
            Amount deliveryCost;
            if (delivery == 3)
                deliveryCost = itogo >= rub(5000) ? Amount() : rub(300);
            else if (delivery == 4)
                deliveryCost = itogo >= rub(10000) ? Amount() : rub(500);
            else if (delivery == 5)
                deliveryCost = itogo >= rub(15000)  ? Amount()
                               : itogo >= rub(3000) ? rub(250)
                                                    : rub(350);
            else if (delivery == 6)
                deliveryCost = itogo >= rub(20000) ? rub(500) : rub(900);

            Amount conditionCost;
            QString conditionName;
            QString conditionCode;
            if (m_rng.chance(20)) {
                const ConditionInfo& c = m_rng.pick(m_conditions);
                conditionName = c.name;
                conditionCode = QString::number(c.id);
                conditionCost = c.perUnit ? rub(c.suma) * units
                                : c.proc  ? (itogo * rub(c.proc) / rub(100)).roundToCents()
                                          : rub(c.suma);
            }
            const Amount total = itogo - discount + deliveryCost + conditionCost;
            const int paymentId = int(m_rng.pick(std::array<int, 5>{1, 3, 4, 5, 6}));
            const char* paymentNames[] = {"",
                                          "Наличными курьеру",
                                          "",
                                          "Картой на сайте",
                                          "Картой курьеру",
                                          "Безналичный расчёт по счёту",
                                          "В долларах США (PayPal)"};
            const bool dollars = paymentId == 6;
            const Amount paymentCost = dollars ? (total / UsdRate).roundToCents()
                                               : total + (paymentId == 4 ? rub(50) : Amount());

            const QString code = u("ДШ-%1").arg(id, 6, 10, QLatin1Char('0'));
            QDateTime changed = time.addSecs(m_rng.between(0, 72 * 3600));
            if (changed > m_now)
                changed = m_now;
            order.set("id", id)
                .set("sid", md5(code))
                .set("code", code)
                .set("client_id", client ? client->id : 0)
                .set("manager_id", managerId)
                .set("partner_id", partnerId)
                .set("status", status)
                .set("status_was", status)
                .set("disc_sum", money(discount))
                .set("cond_cost", money(conditionCost))
                .set("deliv_name", u(deliveryNames[delivery]))
                .set("deliv_cost", money(deliveryCost))
                .set("payment_name", u(paymentNames[paymentId]))
                .set("payment_cost", money(paymentCost))
                .set("payment_curr", dollars ? u("USD") : u("руб."))
                .set("payment_id", paymentId)
                .set("itogo_sum", money(itogo))
                .set("total_sum", money(total))
                .set("get_payment", payment)
                .set("payment_was", payment)
                .set("date_time", WireText::storedTimestamp(time))
                .set("partner_sum", money(partnerSum))
                .set("deliv_id", delivery)
                .set("send_email", 1)
                .set("update_time", WireText::storedTimestamp(changed));
            if (managerId)
                order.set("manager_name", u(ManagerNames[std::size_t(managerId)]));
            if (partnerId)
                order.set("partner_login", u(PartnerLogins[std::size_t(partnerId)]));
            if (!conditionName.isEmpty())
                order.set("cond_name", conditionName).set("cond_code", conditionCode);
            if (m_rng.chance(20))
                order.set("notice", u(m_rng.pick(SeedTexts::buyerNotes())));
            if (m_rng.chance(10))
                order.set("inside_note", u(m_rng.pick(SeedTexts::insideNotes())));
            order.insert();
            orderFields(field, id, buyer);

            if (client && status != 4) {
                client->ordersSum += total;
                if (!client->lastDate.isValid() || client->lastDate < time.date())
                    client->lastDate = time.date();
            }
        }
    }

    struct ConditionInfo {
        int id;
        QString name;
        int proc;
        int suma;
        int perUnit;
    };

    ShopDb& m_db;
    ShopSeeder::Size m_size;
    QDateTime m_now;
    Rng m_rng;
    std::vector<std::pair<int, QString>> m_clothesSizes;
    std::vector<std::pair<int, QString>> m_shoeSizes;
    std::pair<int, QString> m_packing;
    std::vector<ConditionInfo> m_conditions;
    std::vector<Goods> m_goods;
    std::vector<Client> m_clients;
    QSet<QString> m_logins;
};

} // namespace

ShopSeeder::ShopSeeder(ShopDb& db, Size size, QDateTime now)
    : m_db(db)
    , m_size(size)
    , m_now(std::move(now))
{
}

void ShopSeeder::seed()
{
    // The shop is seeded into a fresh database that is thrown away unless it is complete,
    // so the load may skip the journal's safety.
    m_db.exec("PRAGMA journal_mode=MEMORY");
    m_db.exec("PRAGMA synchronous=OFF");
    m_db.exec("PRAGMA cache_size=-262144");
    {
        ShopTransaction transaction(m_db);
        m_db.createTables();
        Builder(m_db, m_size, m_now).run();
        m_db.createIndexes();
        transaction.commit();
    }
    m_db.exec("PRAGMA synchronous=NORMAL");
    m_db.exec("PRAGMA journal_mode=WAL");
}

void ShopSeeder::touchOrders(ShopDb& db, int count, const QDateTime& now, quint64 seed)
{
    SqlStatement ids(db, "SELECT id, status, get_payment FROM archive_order ORDER BY id");
    std::vector<std::array<qint64, 3>> orders;
    while (ids.next())
        orders.push_back({ids.integer(0), ids.integer(1), ids.integer(2)});
    if (orders.empty())
        return;
    Rng rng(seed);
    ShopTransaction transaction(db);
    ShopContext context{db, 0, [now] { return now; }, 0, {}};
    for (int i = 0; i < count; ++i) {
        const std::array<qint64, 3>& order =
            orders[std::size_t(rng.between(0, qint64(orders.size()) - 1))];
        // An open order moves on by one status; a finished one gets its payment.
        const qint64 status = order[1] < 3 ? order[1] + 1 : order[1];
        const qint64 payment = order[1] < 3 ? order[2] : 2;
        SqlStatement update(db, "UPDATE archive_order SET status=?, status_was=?, get_payment=?, "
                                "payment_was=?, update_time=? WHERE id=?");
        update.bind(1, status)
            .bind(2, status)
            .bind(3, payment)
            .bind(4, payment)
            .bind(5, OrderCommands::nextUpdateTime(context, order[0]))
            .bind(6, order[0])
            .run();
    }
    transaction.commit();
}
