#pragma once

#include <QByteArray>

#include <optional>

// One request as the form brings it: every value in the bytes the trader sent
// (windows-1251); the archive is the file field "string_file", which holds the text
// payload as "SomeData.xml".
struct ShopRequest {
    QByteArray login;
    QByteArray code;
    QByteArray command;
    QByteArray values;
    std::optional<QByteArray> archive;
};
