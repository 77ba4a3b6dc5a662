#include "TFOrdersGetParam.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QGroupBox* periodEnd(const QString& title, QDateEdit* date, const QString& time, QCheckBox* box,
                     QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QGridLayout(group);
    date->setCalendarPopup(true);
    date->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    layout->addWidget(date, 0, 0);
    layout->addWidget(new QLabel(time, group), 0, 1);
    layout->addWidget(box, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    return group;
}

} // namespace

TFOrdersGetParam::TFOrdersGetParam(QWidget* owner)
    : QDialog(owner)
    , DTFrom(new QDateEdit(this))
    , DTTo(new QDateEdit(this))
    , CBAutoFrom(new QCheckBox(QStringLiteral("За последние три месяца"), this))
    , CBAutoTo(new QCheckBox(QStringLiteral("До текущего момента"), this))
    , CBAutoClear(new QCheckBox(
          QStringLiteral("Автоматически удалять в локальной базе заказы не из интервала"), this))
{
    setObjectName(QStringLiteral("TFOrdersGetParam"));
    setWindowTitle(QStringLiteral("Параметры получения заказов "));
    DTFrom->setObjectName(QStringLiteral("DTFrom"));
    DTTo->setObjectName(QStringLiteral("DTTo"));
    CBAutoFrom->setObjectName(QStringLiteral("CBAutoFrom"));
    CBAutoTo->setObjectName(QStringLiteral("CBAutoTo"));
    CBAutoClear->setObjectName(QStringLiteral("CBAutoClear"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(CBAutoFrom, &QCheckBox::toggled, this, &TFOrdersGetParam::applyBoxes);
    connect(CBAutoTo, &QCheckBox::toggled, this, &TFOrdersGetParam::applyBoxes);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Получать и обновлять заказы в интервале"), this));
    layout->addWidget(periodEnd(QStringLiteral("Начиная с"), DTFrom, QStringLiteral("00:00:00"),
                                CBAutoFrom, this));
    layout->addWidget(periodEnd(QStringLiteral("Заканчивая (включительно)"), DTTo,
                                QStringLiteral("23:59:59"), CBAutoTo, this));
    layout->addWidget(CBAutoClear);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFOrdersGetParam::applyBoxes()
{
    DTFrom->setEnabled(!CBAutoFrom->isChecked());
    DTTo->setEnabled(!CBAutoTo->isChecked());
}

void TFOrdersGetParam::fill(const OrderPeriodSettings& period)
{
    DTFrom->setDate(period.from);
    DTTo->setDate(period.to);
    CBAutoFrom->setChecked(period.autoFrom);
    CBAutoTo->setChecked(period.autoTo);
    CBAutoClear->setChecked(period.autoClear);
    applyBoxes();
}

OrderPeriodSettings TFOrdersGetParam::values() const
{
    OrderPeriodSettings period;
    period.from = DTFrom->date();
    period.to = DTTo->date();
    period.autoFrom = CBAutoFrom->isChecked();
    period.autoTo = CBAutoTo->isChecked();
    period.autoClear = CBAutoClear->isChecked();
    return period;
}

bool TFOrdersGetParam::edit(OrderPeriodSettings& period, const SettingsFile& file)
{
    fill(period);
    if (exec() != QDialog::Accepted)
        return false;
    period = values();
    period.write(file);
    return true;
}
