#pragma once

#include <QString>
#include <QStringList>

// Starts a program with its arguments (no shell), waits without a time limit for it to end
// and returns its exit code. Blocks the calling thread while the program runs.
int RunAndWait(const QString& program, const QStringList& arguments);
