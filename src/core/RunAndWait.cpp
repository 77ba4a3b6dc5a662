#include "RunAndWait.h"

#include "TraderError.h"

#include <QProcess>

int RunAndWait(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        throw TraderError(QStringLiteral("Error during CreateProcess"));
    if (!process.waitForFinished(-1))
        throw TraderError(QStringLiteral("Error in WaitForSingleObject"));
    // A program killed by a signal leaves no exit code to read.
    if (process.exitStatus() != QProcess::NormalExit)
        throw TraderError(QStringLiteral("Error in GetExitCodeProcess"));
    return process.exitCode();
}
