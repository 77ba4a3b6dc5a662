#pragma once

#include <QIcon>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// One column of a DataGrid: which field it shows, how, and what its footer cell says.
struct GridColumn {
    enum class Kind { Text, Number, Money, Percent, DateTime, Picture, CheckBox };
    enum class Footer { None, Sum, Count, CurrentValue };

    QString field;
    // "Доставка|Сумма" is a two-level title: the part before the bar spans the neighbouring
    // columns that share it.
    QString title;
    Kind kind = Kind::Text;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    // "###,###,###,##0.00", "##0.00 %", "dd.MM.yyyy hh:mm"; empty for the kind's own form.
    QString displayFormat;
    QMap<qint64, QString> valueTexts; // codes shown as words
    QList<QIcon> pictures;            // a picture column shows pictures[pictureIndex(value)]
    std::function<int(const QVariant&)> pictureIndex;
    QIcon titlePicture; // drawn in place of the title text, which stays the hint
    Footer footer = Footer::None;
    QString footerFormat; // "Число заказов: ###", "ID: ###"
    QString footerField;  // the field a CurrentValue footer shows (default: the column's)
    bool sortable = true;
    bool filterable = true;
    bool visibilityFixed = false; // the layout designer lists it but cannot switch it
    bool editable = false;
    QStringList pickList; // an editable column's drop-down values
    int width = 100;

    QString upperTitle() const { return title.section(QLatin1Char('|'), 0, 0); }
    QString lowerTitle() const { return title.section(QLatin1Char('|'), 1); }
    bool isTwoLevel() const { return title.contains(QLatin1Char('|')); }
};
