#include "TFOrderNote.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFOrderNote::TFOrderNote(QWidget* owner)
    : QDialog(owner)
    , m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TFOrderNote"));
    setWindowTitle(QStringLiteral("Редактирование примечания к заказу"));
    m_text->setObjectName(QStringLiteral("MNote"));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Сохранить"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Примечание к заказу"), this));
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    resize(460, 300);
}

bool TFOrderNote::edit(QString& note)
{
    m_text->setPlainText(note);
    m_text->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    note = m_text->toPlainText();
    return true;
}
