#include "QtPrompter.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtPrompter::QtPrompter(QWidget* owner)
    : m_owner(owner)
{
}

Prompter::Answer QtPrompter::show(const QString& caption, const QString& text, Icon icon,
                                  Buttons buttons)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, m_owner);
    // The button texts are set here, so that they are Russian whatever the system's language.
    const auto add = [&box](const QString& label, QMessageBox::ButtonRole role, Answer answer) {
        QPushButton* button = box.addButton(label, role);
        button->setProperty("answer", int(answer));
        return button;
    };
    QPushButton* escape = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        escape = add(QStringLiteral("OK"), QMessageBox::AcceptRole, Answer::Ok);
        break;
    case Buttons::OkCancel:
        box.setDefaultButton(add(QStringLiteral("OK"), QMessageBox::AcceptRole, Answer::Ok));
        escape = add(QStringLiteral("Отмена"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    case Buttons::YesNo:
        box.setDefaultButton(add(QStringLiteral("Да"), QMessageBox::YesRole, Answer::Yes));
        escape = add(QStringLiteral("Нет"), QMessageBox::NoRole, Answer::No);
        break;
    case Buttons::YesNoCancel:
        box.setDefaultButton(add(QStringLiteral("Да"), QMessageBox::YesRole, Answer::Yes));
        add(QStringLiteral("Нет"), QMessageBox::NoRole, Answer::No);
        escape = add(QStringLiteral("Отмена"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    }
    box.setEscapeButton(escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? Answer(clicked->property("answer").toInt())
                   : Answer(escape->property("answer").toInt());
}

QString QtPrompter::saveFileName(const QString& caption, const QString& suggestedPath,
                                 const QString& filter)
{
    return QFileDialog::getSaveFileName(m_owner, caption, suggestedPath, filter);
}

QString QtPrompter::openFileName(const QString& caption, const QString& folder,
                                 const QString& filter)
{
    return QFileDialog::getOpenFileName(m_owner, caption, folder, filter);
}

void QtPrompter::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
