#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The program's pictures, drawn rather than shipped, so that they are sharp at any size and
// the executable needs no files beside it.
namespace TraderIcons {

// The picture of a command, by the action's name ("ARefreshData"); an empty icon for a
// name without one.
QIcon action(const QString& actionName);
QIcon program();
// The pictures of an order's status (0 to 5) and payment state (0 not paid, 1 paid) in the
// order list.
QList<QIcon> orderStatusPictures();
QList<QIcon> paymentPictures();
// The program's emblem as the About window shows it.
QPixmap emblem(int size);

// The transfer indicators of the traffic log and the server buttons, numbered as the
// indicator pictures have always been numbered.
enum class Indicator {
    ReceiveIdle = 0, // "RD"
    Receiving = 1,
    SendIdle = 2, // "TD"
    Sending = 3,
    ServerIdle = 8, // "Работа с сервером"
    ServerBusy = 9,
};
// The same picture object for every call, so a button's picture can be told by its key.
QIcon indicator(Indicator picture);

} // namespace TraderIcons
