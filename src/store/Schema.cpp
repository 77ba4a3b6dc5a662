#include "Schema.h"

#include <QStringList>

namespace Schema {

namespace {

QString quoted(const char* name)
{
    return QLatin1Char('"') + QLatin1String(name) + QLatin1Char('"');
}

} // namespace

const std::vector<Table>& tables()
{
    static const std::vector<Table> all = {
        {"shop_values",
         1,
         {{"key_name", FieldType::Text, 30, true}, {"key_value", FieldType::Text, 255}}},
        {"category",
         1,
         {{"id", FieldType::Long, 0}, {"name", FieldType::Text, 255}, {"pos", FieldType::Long, 0}}},
        {"topic",
         1,
         {{"id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"tindex", FieldType::Long, 0},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"active", FieldType::Logical, 0},
          {"istype", FieldType::Short, 0},
          {"title", FieldType::Text, 255},
          {"descr", FieldType::Text, 255},
          {"link", FieldType::Text, 255},
          {"div_before", FieldType::Logical, 0},
          {"template_name", FieldType::Text, 50},
          {"templates_goods", FieldType::Text, 50},
          {"main_goods_col", FieldType::Short, 0},
          {"new_goods_col", FieldType::Short, 0},
          {"new_goods_how", FieldType::Short, 0},
          {"hit_goods_col", FieldType::Short, 0},
          {"hit_goods_how", FieldType::Short, 0},
          {"step_goods", FieldType::Short, 0},
          {"sub_sec_type", FieldType::Short, 0},
          {"keywords", FieldType::Text, 255},
          {"in_cat_left", FieldType::Logical, 0},
          {"in_cat_center", FieldType::Logical, 0},
          {"in_cat_menu", FieldType::Logical, 0},
          {"in_cat_down", FieldType::Logical, 0},
          {"link_title", FieldType::Text, 255},
          {"full_descr", FieldType::Memo, 0},
          {"order_by_voice", FieldType::Logical, 0},
          {"in_xml", FieldType::Logical, 0},
          {"seo_psu", FieldType::Text, 70},
          {"select_name", FieldType::Text, 255},
          {"select_place_type", FieldType::Short, 0},
          {"select_dir_name", FieldType::Text, 20},
          {"cache_how_goods", FieldType::Short, 0}}},
        {"store",
         1,
         {{"id", FieldType::Long, 0},
          {"code", FieldType::Text, 255},
          {"meas", FieldType::Text, 20},
          {"name", FieldType::Text, 255},
          {"descr", FieldType::Memo, 0},
          {"price", FieldType::Decimal, 2},
          {"part_proc", FieldType::Decimal, 2},
          {"step_order", FieldType::Long, 0},
          {"min_order", FieldType::Long, 0},
          {"tax", FieldType::Decimal, 2},
          {"disc_price", FieldType::Decimal, 2},
          {"status", FieldType::Short, 0},
          {"active", FieldType::Logical, 0},
          {"apendix_type", FieldType::Short, 0},
          {"how", FieldType::Long, 0},
          {"xpos", FieldType::Short, 0},
          {"ypos", FieldType::Short, 0},
          {"w", FieldType::Short, 0},
          {"h", FieldType::Short, 0},
          {"kind", FieldType::Short, 0},
          {"family", FieldType::Long, 0},
          {"price_curr_id", FieldType::Long, 0},
          {"dprice_curr_id", FieldType::Long, 0},
          {"conf_id", FieldType::Long, 0},
          {"seo_title", FieldType::Text, 255},
          {"seo_descr", FieldType::Text, 255},
          {"seo_keywords", FieldType::Text, 255},
          {"seo_link", FieldType::Text, 255},
          {"seo_alt", FieldType::Text, 255},
          {"in_xml", FieldType::Logical, 0},
          {"seo_psu", FieldType::Text, 70},
          {"provider_id", FieldType::Long, 0},
          {"prov_price", FieldType::Decimal, 2},
          {"pprice_curr_id", FieldType::Long, 0}}},
        {"topic_store",
         2,
         {{"topic_id", FieldType::Long, 0},
          {"store_id", FieldType::Long, 0},
          {"pos", FieldType::Long, 0}}},
        {"currency",
         1,
         {{"id", FieldType::Long, 0},
          {"name", FieldType::Text, 20},
          {"multiplex", FieldType::Decimal, 4},
          {"division", FieldType::Logical, 0},
          {"pos", FieldType::Long, 0}}},
        {"param",
         1,
         {{"id", FieldType::Long, 0},
          {"tindex", FieldType::Long, 0},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"dir_name", FieldType::Text, 20},
          {"col_num", FieldType::Short, 0},
          {"get_type", FieldType::Short, 0},
          {"xpos", FieldType::Short, 0},
          {"ypos", FieldType::Short, 0},
          {"w", FieldType::Short, 0},
          {"h", FieldType::Short, 0},
          {"isfolder", FieldType::Logical, 0},
          {"phis_type", FieldType::Short, 0}}},
        {"param_value",
         2,
         {{"param_id", FieldType::Long, 0},
          {"id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"descr", FieldType::Memo, 0},
          {"proc", FieldType::Decimal, 2},
          {"suma", FieldType::Decimal, 2},
          {"tax", FieldType::Decimal, 2},
          {"pos", FieldType::Long, 0},
          {"suma_curr_id", FieldType::Long, 0}}},
        {"store_add",
         2,
         {{"store_id", FieldType::Long, 0},
          {"param_value_id", FieldType::Long, 0},
          {"price", FieldType::Decimal, 2},
          {"code", FieldType::Text, 255},
          {"status", FieldType::Short, 0},
          {"how", FieldType::Long, 0},
          {"tax", FieldType::Decimal, 2},
          {"price_curr_id", FieldType::Long, 0}}},
        {"store_param", 2, {{"store_id", FieldType::Long, 0}, {"param_id", FieldType::Long, 0}}},
        {"condition",
         1,
         {{"id", FieldType::Long, 0},
          {"tindex", FieldType::Long, 0},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"isfolder", FieldType::Logical, 0},
          {"name", FieldType::Text, 255},
          {"descr", FieldType::Memo, 0},
          {"proc", FieldType::Decimal, 2},
          {"suma", FieldType::Decimal, 2},
          {"multiplex_how", FieldType::Decimal, 2},
          {"multiplex_how_tax", FieldType::Decimal, 2},
          {"suma_curr_id", FieldType::Long, 0}}},
        {"payment",
         1,
         {{"id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"descr", FieldType::Memo, 0},
          {"tindex", FieldType::Long, 0},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"isfolder", FieldType::Logical, 0},
          {"curr_name", FieldType::Text, 20},
          {"multiplex", FieldType::Decimal, 4},
          {"division", FieldType::Logical, 0},
          {"curr_prec", FieldType::Short, 0},
          {"suma", FieldType::Decimal, 2},
          {"online", FieldType::Logical, 0},
          {"info_type", FieldType::Logical, 0},
          {"pay_template", FieldType::Memo, 0},
          {"vat_value", FieldType::Decimal, 2}}},
        {"delivery",
         1,
         {{"id", FieldType::Long, 0},
          {"tindex", FieldType::Long, 0},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"isfolder", FieldType::Logical, 0},
          {"name", FieldType::Text, 255},
          {"descr", FieldType::Memo, 0},
          {"proc", FieldType::Decimal, 2},
          {"suma", FieldType::Decimal, 2},
          {"free_from", FieldType::Decimal, 2},
          {"suma_curr_id", FieldType::Long, 0}}},
        {"delivery_multiplex",
         1,
         {{"id", FieldType::Long, 0},
          {"delivery_id", FieldType::Long, 0},
          {"tax_from", FieldType::Decimal, 2},
          {"multiplex", FieldType::Decimal, 4}}},
        {"delivery_cost",
         1,
         {{"id", FieldType::Long, 0},
          {"delivery_id", FieldType::Long, 0},
          {"sum_from", FieldType::Decimal, 2},
          {"cost", FieldType::Decimal, 2},
          {"cost_curr_id", FieldType::Long, 0}}},
        {"discount_order",
         1,
         {{"id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"descr", FieldType::Memo, 0},
          {"from_sum", FieldType::Decimal, 2},
          {"proc", FieldType::Decimal, 2}}},
        {"client_field",
         1,
         {{"id", FieldType::Long, 0},
          {"tindex", FieldType::Long, 0},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"isfolder", FieldType::Logical, 0},
          {"name", FieldType::Text, 255},
          {"descr", FieldType::Memo, 0},
          {"need", FieldType::Logical, 0}}},
        {"client",
         1,
         {{"id", FieldType::Long, 0},
          {"do", FieldType::Short, 0},
          {"login", FieldType::Text, 255},
          {"pass", FieldType::Text, 32},
          {"email", FieldType::Text, 75},
          {"proc", FieldType::Decimal, 2},
          {"suma", FieldType::Decimal, 2},
          {"category_id", FieldType::Long, 0},
          {"category_name", FieldType::Text, 255},
          {"orders_suma", FieldType::Decimal, 2},
          {"reg_date", FieldType::Date, 0},
          {"last_date", FieldType::Date, 0},
          {"rules_allow", FieldType::Short, 0}}},
        {"client_field_value",
         2,
         {{"client_id", FieldType::Long, 0},
          {"id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"value_text", FieldType::Memo, 0},
          {"isfolder", FieldType::Short, 0},
          {"absindex", FieldType::Long, 0}}},
        {"client_field_set",
         1,
         {{"id", FieldType::Long, 0},
          {"client_field_id", FieldType::Long, 0},
          {"set_value", FieldType::Text, 255},
          {"pos", FieldType::Long, 0}}},
        {"archive_basket",
         3,
         {{"id", FieldType::Long, 0},
          {"order_id", FieldType::Long, 0},
          {"store_id", FieldType::Long, 0},
          {"code", FieldType::Text, 255},
          {"meas", FieldType::Text, 20},
          {"name", FieldType::Text, 255},
          {"param_name", FieldType::Memo, 0},
          {"param_personal", FieldType::Short, 0},
          {"param_value_id", FieldType::Long, 0},
          {"price", FieldType::Decimal, 2},
          {"new_price", FieldType::Decimal, 2},
          {"status", FieldType::Short, 0},
          {"how", FieldType::Long, 0},
          {"part_proc", FieldType::Decimal, 2},
          {"part_value", FieldType::Decimal, 2},
          {"modify_code", FieldType::Text, 255},
          {"prov_price", FieldType::Decimal, 2},
          {"provider_id", FieldType::Long, 0},
          {"tax", FieldType::Decimal, 2},
          {"inside_disc", FieldType::Decimal, 2}}},
        {"archive_order",
         1,
         {{"id", FieldType::Long, 0},
          {"sid", FieldType::Text, 32},
          {"code", FieldType::Text, 255},
          {"client_id", FieldType::Long, 0},
          {"manager_id", FieldType::Long, 0},
          {"partner_id", FieldType::Long, 0},
          {"status", FieldType::Short, 0},
          {"status_was", FieldType::Short, 0},
          {"disc_sum", FieldType::Decimal, 2},
          {"cond_name", FieldType::Memo, 0},
          {"cond_cost", FieldType::Decimal, 2},
          {"deliv_name", FieldType::Text, 255},
          {"deliv_cost", FieldType::Decimal, 2},
          {"payment_name", FieldType::Text, 255},
          {"payment_cost", FieldType::Decimal, 2},
          {"payment_curr", FieldType::Text, 20},
          {"payment_id", FieldType::Long, 0},
          {"itogo_sum", FieldType::Decimal, 2},
          {"total_sum", FieldType::Decimal, 2},
          {"get_payment", FieldType::Short, 0},
          {"payment_was", FieldType::Short, 0},
          {"date_time", FieldType::Timestamp, 0},
          {"notice", FieldType::Memo, 0},
          {"partner_sum", FieldType::Decimal, 2},
          {"partner_login", FieldType::Text, 100},
          {"manager_name", FieldType::Text, 50},
          {"deliv_id", FieldType::Long, 0},
          {"cond_code", FieldType::Text, 255},
          {"inside_note", FieldType::Memo, 0},
          {"send_note", FieldType::Memo, 0},
          {"send_email", FieldType::Logical, 0},
          {"update_time", FieldType::Timestamp, 0}}},
        {"archive_client_field",
         2,
         {{"order_id", FieldType::Long, 0},
          {"field_id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"tab_name", FieldType::Text, 255},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"isfolder", FieldType::Logical, 0},
          {"value_text", FieldType::Memo, 0}}},
        {"draft_basket",
         3,
         {{"id", FieldType::AutoInc, 0, true},
          {"order_id", FieldType::Long, 0},
          {"store_id", FieldType::Long, 0},
          {"code", FieldType::Text, 255},
          {"meas", FieldType::Text, 20},
          {"name", FieldType::Text, 255},
          {"param_name", FieldType::Memo, 0},
          {"param_personal", FieldType::Short, 0},
          {"param_value_id", FieldType::Long, 0},
          {"price", FieldType::Decimal, 2},
          {"new_price", FieldType::Decimal, 2},
          {"status", FieldType::Short, 0},
          {"how", FieldType::Long, 0},
          {"part_proc", FieldType::Decimal, 2},
          {"part_value", FieldType::Decimal, 2},
          {"modify_code", FieldType::Text, 255},
          {"prov_price", FieldType::Decimal, 2},
          {"provider_id", FieldType::Long, 0},
          {"tax", FieldType::Decimal, 2},
          {"inside_disc", FieldType::Decimal, 2}}},
        {"draft_order",
         1,
         {{"id", FieldType::AutoInc, 0, true},
          {"folder", FieldType::Short, 0},
          {"sid", FieldType::Text, 32},
          {"code", FieldType::Text, 255},
          {"order_id", FieldType::Long, 0},
          {"client_id", FieldType::Long, 0},
          {"client_email", FieldType::Text, 75},
          {"manager_id", FieldType::Long, 0},
          {"partner_id", FieldType::Long, 0},
          {"status", FieldType::Short, 0},
          {"disc_sum", FieldType::Decimal, 2},
          {"cond_name", FieldType::Memo, 0},
          {"cond_cost", FieldType::Decimal, 2},
          {"deliv_name", FieldType::Text, 255},
          {"deliv_cost", FieldType::Decimal, 2},
          {"payment_name", FieldType::Text, 255},
          {"payment_cost", FieldType::Decimal, 2},
          {"payment_curr", FieldType::Text, 20},
          {"payment_id", FieldType::Long, 0},
          {"itogo_sum", FieldType::Decimal, 2},
          {"total_sum", FieldType::Decimal, 2},
          {"get_payment", FieldType::Short, 0},
          {"date_time", FieldType::Timestamp, 0},
          {"notice", FieldType::Memo, 0},
          {"partner_sum", FieldType::Decimal, 2},
          {"partner_login", FieldType::Text, 100},
          {"manager_name", FieldType::Text, 50},
          {"deliv_id", FieldType::Long, 0},
          {"cond_code", FieldType::Text, 255},
          {"inside_note", FieldType::Memo, 0},
          {"send_note", FieldType::Memo, 0},
          {"send_email", FieldType::Logical, 0},
          {"error_ignore", FieldType::Logical, 0}}},
        {"draft_client_field",
         2,
         {{"order_id", FieldType::Long, 0},
          {"field_id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"tab_name", FieldType::Text, 255},
          {"tlevel", FieldType::Long, 0},
          {"absindex", FieldType::Long, 0},
          {"isfolder", FieldType::Logical, 0},
          {"value_text", FieldType::Memo, 0}}},
        {"provider",
         1,
         {{"id", FieldType::Long, 0},
          {"name", FieldType::Text, 255},
          {"manager", FieldType::Text, 255},
          {"email", FieldType::Text, 75},
          {"phone", FieldType::Text, 255},
          {"pos", FieldType::Long, 0}}},
    };
    return all;
}

const std::vector<Index>& indexes()
{
    static const std::vector<Index> all = {
        {"topic_store", "store_id"},    {"client_field_set", "client_field_id"},
        {"archive_basket", "order_id"}, {"archive_order", "date_time"},
        {"draft_basket", "order_id"},
    };
    return all;
}

const QStringList& referenceTables()
{
    static const QStringList names = {
        QStringLiteral("topic"),         QStringLiteral("topic_store"),
        QStringLiteral("store"),         QStringLiteral("param"),
        QStringLiteral("param_value"),   QStringLiteral("store_add"),
        QStringLiteral("provider"),      QStringLiteral("currency"),
        QStringLiteral("client_field"),  QStringLiteral("client_field_set"),
        QStringLiteral("store_param"),   QStringLiteral("condition"),
        QStringLiteral("delivery"),      QStringLiteral("delivery_multiplex"),
        QStringLiteral("delivery_cost"), QStringLiteral("discount_order"),
        QStringLiteral("payment"),       QStringLiteral("category"),
        QStringLiteral("shop_values")};
    return names;
}

const Table* find(QStringView tableName)
{
    for (const Table& table : tables())
        if (tableName.compare(QLatin1String(table.name), Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

QString sqlType(const Field& field)
{
    switch (field.type) {
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case FieldType::Short:
        return QStringLiteral("SMALLINT");
    case FieldType::Long:
    case FieldType::AutoInc:
        return QStringLiteral("INTEGER");
    case FieldType::Logical:
        return QStringLiteral("BOOLEAN");
    case FieldType::Decimal:
        return QStringLiteral("REAL(%1)").arg(field.size);
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::Timestamp:
        return QStringLiteral("TIMESTAMP");
    }
    return QString();
}

QString createTableSql(const Table& table)
{
    QStringList parts;
    bool autoKey = false;
    for (const Field& field : table.fields) {
        QString column = quoted(field.name) + QLatin1Char(' ') + sqlType(field);
        if (field.type == FieldType::AutoInc) {
            column += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
            autoKey = true;
        }
        if (field.required)
            column += QStringLiteral(" NOT NULL");
        parts << column;
    }
    QStringList key;
    for (int i = 0; i < table.keyFieldCount; ++i)
        key << quoted(table.fields[i].name);
    // An autoincrement id is the row's own key, so the listed key becomes a unique constraint.
    if (!autoKey)
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(key.join(QLatin1Char(',')));
    else if (table.keyFieldCount > 1)
        parts << QStringLiteral("UNIQUE (%1)").arg(key.join(QLatin1Char(',')));
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quoted(table.name), parts.join(QStringLiteral(", ")));
}

std::vector<QString> createIndexSql(const Table& table)
{
    std::vector<QString> statements;
    for (const Index& index : indexes())
        if (qstrcmp(index.table, table.name) == 0)
            statements.push_back(
                QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                    .arg(quoted((QByteArray(index.table) + "_" + index.field + "_idx").constData()),
                         quoted(index.table), quoted(index.field)));
    return statements;
}

} // namespace Schema
