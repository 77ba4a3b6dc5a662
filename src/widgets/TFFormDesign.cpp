#include "TFFormDesign.h"

#include "DataGrid.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFFormDesign::TFFormDesign(QWidget* owner)
    : QDialog(owner)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("TFFormDesign"));
    setWindowTitle(QStringLiteral("Дизайнер таблицы"));
    m_list->setObjectName(QStringLiteral("LBColumns"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* done = buttons->addButton(QStringLiteral("Готово"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    done->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Видимость столбцов таблицы"), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    setFixedSize(320, 420);
}

void TFFormDesign::fill(const DataGrid* grid)
{
    m_list->clear();
    for (int column : grid->columnsInViewOrder()) {
        const GridColumn& c = grid->columns()[column];
        QString title = c.title;
        title.replace(QLatin1Char('|'), QLatin1String(" | "));
        auto* item = new QListWidgetItem(title, m_list);
        item->setData(Qt::UserRole, column);
        item->setCheckState(grid->isColumnHidden(column) ? Qt::Unchecked : Qt::Checked);
        Qt::ItemFlags flags = Qt::ItemIsEnabled;
        if (!c.visibilityFixed)
            flags |= Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
        item->setFlags(flags);
    }
}

void TFFormDesign::apply(DataGrid* grid) const
{
    for (int row = 0; row < m_list->count(); ++row) {
        const QListWidgetItem* item = m_list->item(row);
        const int column = item->data(Qt::UserRole).toInt();
        if (!grid->columns()[column].visibilityFixed)
            grid->setColumnHidden(column, item->checkState() != Qt::Checked);
    }
}

bool TFFormDesign::editColumns(DataGrid* grid)
{
    fill(grid);
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    if (exec() != QDialog::Accepted)
        return false;
    apply(grid);
    return true;
}
