#include "TFOrderSendNote.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFOrderSendNote::TFOrderSendNote(QWidget* owner)
    : QDialog(owner)
    , m_text(new QPlainTextEdit(this))
    , m_email(
          new QCheckBox(QStringLiteral("Уведомить покупателя об изменении статуса заказа"), this))
{
    setObjectName(QStringLiteral("TFOrderSendNote"));
    setWindowTitle(QStringLiteral("Примечание для покупателя"));
    m_text->setObjectName(QStringLiteral("MSendNote"));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_email->setObjectName(QStringLiteral("CBSendEmail"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Дополнительный текст в отправляемом письме"), this));
    layout->addWidget(m_text, 1);
    layout->addWidget(m_email);
    layout->addWidget(buttons);
    resize(460, 300);
}

bool TFOrderSendNote::AEditSendNote(const QString& orderNote, bool orderEmail, BuyerNote& note)
{
    m_text->setPlainText(orderNote);
    m_email->setChecked(orderEmail);
    m_text->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    note.SendNoteText = m_text->toPlainText();
    note.SendNoteEmail = m_email->isChecked();
    return true;
}
