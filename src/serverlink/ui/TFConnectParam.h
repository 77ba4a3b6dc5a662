#pragma once

#include <QDialog>

class PasswordStore;
class Prompter;
class QLineEdit;
class QPushButton;
class ServerRequest;
class SettingsFile;
struct ConnectionParams;

// "Параметры подключения": edits the program's connection values in place. The edits are
// filled from the values each time the dialog is shown; "Сохранить" hands them to
// ConnectionParams::save, "Отмена" (or Esc, or the close button) leaves the values as
// they were when the dialog opened. Enter anywhere in the dialog saves.
class TFConnectParam : public QDialog {
    Q_OBJECT
public:
    TFConnectParam(ConnectionParams& connection, const SettingsFile& settings,
                   ServerRequest& request, const PasswordStore& passwords, Prompter& prompter,
                   QWidget* parent = nullptr);

    static QString caption() { return QStringLiteral("Параметры подключения"); }

    // Shows the dialog modally; true when the values were saved. Either way the caller
    // then shows ConnectionParams::programCaption() in its title.
    bool runDialog();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillEdits();
    void BSaveClick();

    ConnectionParams& m_connection;
    const SettingsFile& m_settings;
    ServerRequest& m_request;
    const PasswordStore& m_passwords;
    Prompter& m_prompter;

    QLineEdit* EURL;
    QLineEdit* ELogin;
    QLineEdit* EPassword;
    QLineEdit* EProxy;
    QLineEdit* EPort;
    QLineEdit* EPLogin;
    QLineEdit* EPPass;
    QPushButton* BSave;
    QPushButton* BClose;
};
