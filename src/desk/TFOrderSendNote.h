#pragma once

#include "OrderNotes.h"

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;

// "Примечание для покупателя": the note that goes to the buyer with a status mark.
class TFOrderSendNote : public QDialog {
    Q_OBJECT
public:
    explicit TFOrderSendNote(QWidget* owner);
    // Starts from the current order's note and flag; on "OK" the buyer note takes the
    // dialog's values. A cancelled dialog leaves it as it was and returns false.
    bool AEditSendNote(const QString& orderNote, bool orderEmail, BuyerNote& note);
    QPlainTextEdit* text() const { return m_text; }
    QCheckBox* email() const { return m_email; }

private:
    QPlainTextEdit* m_text;
    QCheckBox* m_email;
};
