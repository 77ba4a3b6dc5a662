#pragma once

#include <QByteArray>

// One request as the form brings it: every value in the bytes the trader sent
// (windows-1251); the payload is the unpacked "SomeData.xml" of the file field.
struct ShopRequest {
    QByteArray login;
    QByteArray code;
    QByteArray command;
    QByteArray values;
    QByteArray payload;
};
