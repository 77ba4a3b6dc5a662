#pragma once

#include "StartSettings.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;

// "Параметры получения заказов ": the period of the order download. The automatic boxes
// switch their date off.
class TFOrdersGetParam : public QDialog {
    Q_OBJECT
public:
    explicit TFOrdersGetParam(QWidget* owner);

    void fill(const OrderPeriodSettings& period);
    OrderPeriodSettings values() const;
    // Shows the dialog for the period; on "ОК" the period takes the dialog's values and is
    // written to the settings file. Returns whether it was confirmed.
    bool edit(OrderPeriodSettings& period, const SettingsFile& file);

private:
    void applyBoxes();
    QDateEdit* DTFrom;
    QDateEdit* DTTo;
    QCheckBox* CBAutoFrom;
    QCheckBox* CBAutoTo;
    QCheckBox* CBAutoClear;
};
