#include "TFConnectParam.h"

#include "ConnectionParams.h"
#include "Prompter.h"
#include "ServerRequest.h"
#include "TraderError.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* newEdit(const char* name, QWidget* parent, bool masked = false)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (masked) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    }
    return edit;
}

void addRow(QFormLayout* form, const QString& label, QLineEdit* edit)
{
    auto* text = new QLabel(label, edit->parentWidget());
    text->setBuddy(edit);
    form->addRow(text, edit);
}

} // namespace

TFConnectParam::TFConnectParam(ConnectionParams& connection, const SettingsFile& settings,
                               ServerRequest& request, const PasswordStore& passwords,
                               Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_connection(connection)
    , m_settings(settings)
    , m_request(request)
    , m_passwords(passwords)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("TFConnectParam"));
    setWindowTitle(caption());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    EURL = newEdit("EURL", this);
    EURL->setMinimumWidth(380);
    ELogin = newEdit("ELogin", this);
    EPassword = newEdit("EPassword", this, true);
    auto* shop = new QFormLayout;
    addRow(shop, QStringLiteral("Адрес интернет-магазина"), EURL);
    addRow(shop, QStringLiteral("Логин"), ELogin);
    addRow(shop, QStringLiteral("Пароль"), EPassword);

    auto* proxyGroup = new QGroupBox(QStringLiteral("Прокси-сервер"), this);
    proxyGroup->setObjectName(QStringLiteral("GBProxy"));
    EProxy = newEdit("EProxy", proxyGroup);
    EPort = newEdit("EPort", proxyGroup);
    auto* proxyForm = new QFormLayout(proxyGroup);
    addRow(proxyForm, QStringLiteral("Адрес сервера"), EProxy);
    addRow(proxyForm, QStringLiteral("Порт"), EPort);

    auto* authGroup = new QGroupBox(QStringLiteral("Прокси-авторизация"), this);
    authGroup->setObjectName(QStringLiteral("GBProxyAuth"));
    EPLogin = newEdit("EPLogin", authGroup);
    EPPass = newEdit("EPPass", authGroup, true);
    auto* authForm = new QFormLayout(authGroup);
    addRow(authForm, QStringLiteral("Логин"), EPLogin);
    addRow(authForm, QStringLiteral("Пароль"), EPPass);

    auto* groups = new QHBoxLayout;
    groups->addWidget(proxyGroup);
    groups->addWidget(authGroup);

    BSave = new QPushButton(QStringLiteral("Сохранить"), this);
    BSave->setObjectName(QStringLiteral("BSave"));
    BClose = new QPushButton(QStringLiteral("Отмена"), this);
    BClose->setObjectName(QStringLiteral("BClose"));
    // Enter saves wherever the focus is, so no button may take Enter for itself.
    BSave->setAutoDefault(false);
    BClose->setAutoDefault(false);
    BSave->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BSave);
    buttons->addWidget(BClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(shop);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    connect(BSave, &QPushButton::clicked, this, &TFConnectParam::BSaveClick);
    connect(BClose, &QPushButton::clicked, this, &TFConnectParam::reject);
    fillEdits();
}

bool TFConnectParam::runDialog()
{
    return exec() == QDialog::Accepted;
}

void TFConnectParam::showEvent(QShowEvent* event)
{
    fillEdits();
    EURL->setFocus();
    QDialog::showEvent(event);
}

bool TFConnectParam::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BSaveClick();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFConnectParam::fillEdits()
{
    EURL->setText(m_connection.shopUrl);
    ELogin->setText(m_connection.login);
    EPassword->setText(m_connection.password);
    EProxy->setText(m_connection.proxy);
    EPort->setText(m_connection.proxyPort);
    EPLogin->setText(m_connection.proxyLogin);
    EPPass->setText(m_connection.proxyPassword);
}

void TFConnectParam::reject()
{
    // The values themselves were never touched; the edits show them again for next time.
    fillEdits();
    QDialog::reject();
}

void TFConnectParam::BSaveClick()
{
    ConnectionParams edited;
    edited.shopUrl = EURL->text();
    edited.login = ELogin->text();
    edited.password = EPassword->text();
    edited.proxy = EProxy->text();
    edited.proxyPort = EPort->text();
    edited.proxyLogin = EPLogin->text();
    edited.proxyPassword = EPPass->text();
    try {
        edited.save(m_settings, m_request, m_passwords);
    } catch (const TraderError& e) {
        // A save that did not reach its end changes none of the program's values: the
        // exchange keeps the old proxy, and the dialog stays open for another try or
        // "Отмена".
        m_request.setProxy(m_connection.networkProxy());
        m_prompter.error(caption(), e.message());
        return;
    }
    m_connection = edited;
    fillEdits();
    accept();
}
