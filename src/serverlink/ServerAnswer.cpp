#include "ServerAnswer.h"

#include "Cp1251.h"

namespace ErrorKinds {

QString message(const QString& errorKind, const QString& answer)
{
    if (errorKind == NoAnswer())
        return QStringLiteral("Сервер не отвечает. Повторить запрос?");
    if (errorKind == WrongPassword())
        return QStringLiteral("Ошибка идентификации! Проверьте логин и пароль.");
    if (errorKind == WrongCWD())
        return QStringLiteral("Неверно указан путь к магазину на сервере!\n"
                              "Проверьте параметры подключения магазина на сервере.");
    if (errorKind == WrongZip())
        return QStringLiteral("По HTTP:80 был получен \"битый\" zip-архив!\n"
                              "Обратитесь к администратору сервера для выяснения причины!");
    if (errorKind == ShopIsLock())
        return QStringLiteral("Магазин временно заблокирован! Идет обновление данных...");
    if (errorKind == IPBlocked())
        return QStringLiteral("Управление магазином с вашего IP-адреса неразрешено!");
    if (errorKind == SqlError())
        return QStringLiteral("Ошибка в SQL-запросе: ") + answer;
    if (errorKind == PHPError())
        return QStringLiteral("Ошибка при выполнении скрипта: ") + answer;
    return QStringLiteral("Неопознаный ответ сервера!");
}

} // namespace ErrorKinds

namespace {

// The text after a word and its one separator character, empty when there is none.
QString after(const QByteArray& reply, qsizetype wordLength)
{
    return Cp1251::decode(reply.mid(wordLength + 1));
}

} // namespace

ServerAnswer ServerAnswer::recognize(const QByteArray& reply)
{
    ServerAnswer a;
    a.errorKind = ErrorKinds::UnknowAnswer();
    // A zipped answer is logged by its word only, so only the others are decoded whole.
    if (!reply.startsWith("ZIP_FILE") && !reply.startsWith("ZIP_RESULT"))
        a.logText = Cp1251::decode(reply);

    struct Whole {
        const char* word;
        QString kind;
    };
    const Whole wholes[] = {{"WRONG_PASSWORD", ErrorKinds::WrongPassword()},
                            {"WRONG_CWD", ErrorKinds::WrongCWD()},
                            {"SHOP_IS_LOCK", ErrorKinds::ShopIsLock()},
                            {"IP_BLOCKED", ErrorKinds::IPBlocked()}};
    for (const Whole& w : wholes) {
        if (reply == w.word) {
            a.errorKind = w.kind;
            return a;
        }
    }
    if (reply.startsWith("SQL_ERROR")) {
        a.errorKind = ErrorKinds::SqlError();
        a.answer = after(reply, 9);
    } else if (reply.startsWith("PHP_ERROR")) {
        a.errorKind = ErrorKinds::PHPError();
        a.answer = after(reply, 9);
    } else if (reply == "QUERY_EXECUTE") {
        a.errorKind.clear();
        a.answer = QStringLiteral("QUERY_EXECUTE");
    } else if (reply.startsWith("RETURN_VALUE")) {
        a.errorKind.clear();
        a.answer = after(reply, 12);
    } else if (reply.startsWith("ZIP_FILE")) {
        a.errorKind.clear();
        a.logText = QStringLiteral("ZIP_FILE");
        a.payload = Payload::ZipFile;
        a.archive = reply.mid(8);
    } else if (reply.startsWith("ZIP_RESULT")) {
        // Unpacking decides the kind and the log text.
        a.payload = Payload::ZipResult;
        a.resultEntry = Cp1251::decode(reply.mid(10, 32));
        a.archive = reply.mid(42);
    }
    return a;
}
