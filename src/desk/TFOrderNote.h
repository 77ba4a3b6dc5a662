#pragma once

#include <QDialog>

class QPlainTextEdit;

// "Редактирование примечания к заказу": the internal note of an order.
class TFOrderNote : public QDialog {
    Q_OBJECT
public:
    explicit TFOrderNote(QWidget* owner);
    // Shows the note; true with the edited text when "Сохранить" was pressed.
    bool edit(QString& note);
    QPlainTextEdit* text() const { return m_text; }

private:
    QPlainTextEdit* m_text;
};
