// dunvik-trader-sync: the synchronisation for scheduled work, without windows. It runs the
// very same commands on a program folder as the window does.
#include "AppFolder.h"
#include "HeadlessSync.h"
#include "PasswordStore.h"
#include "ProcessMemory.h"
#include "ProgramInfo.h"
#include "TerminalPrompter.h"
#include "TraderError.h"

#include <QCoreApplication>
#include <QDir>

#include <unistd.h>

namespace {

int usage()
{
    std::fputs("Usage: dunvik-trader-sync --folder DIR COMMAND [--yes]\n"
               "Commands:\n"
               "  refresh       download new and changed orders (and the shop's data when it "
               "changed)\n"
               "  reget-tables  download the shop's reference data anew\n"
               "  upload        send the status and payment marks\n"
               "Questions are asked on a terminal; otherwise --yes answers Yes and its absence "
               "No.\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    ProcessMemory::keepFreedBlocks();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Dunvik Shop"));
    QCoreApplication::setApplicationName(QStringLiteral("Trader"));

    QString folderPath;
    QString command;
    bool yes = false;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder") && i + 1 < args.size())
            folderPath = args[++i];
        else if (args[i] == QLatin1String("--yes"))
            yes = true;
        else if (command.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            command = args[i];
        else
            return usage();
    }
    const QStringList commands = {QStringLiteral("refresh"), QStringLiteral("reget-tables"),
                                  QStringLiteral("upload")};
    if (folderPath.isEmpty() || !commands.contains(command) || !QDir(folderPath).exists())
        return usage();

    TerminalPrompter prompter(yes, isatty(STDIN_FILENO) != 0);
    try {
        const PasswordStore passwords;
        HeadlessSync sync(AppFolder(folderPath), prompter, passwords);
        bool ok = true;
        if (command == QLatin1String("refresh"))
            ok = sync.orders().ARefreshData();
        else if (command == QLatin1String("reget-tables"))
            ok = sync.reference().AReGetTables();
        else
            ok = sync.status().AUpdateStatus() || sync.request().ErrorKind.isEmpty();
        return ok ? 0 : 1;
    } catch (const TraderError& e) {
        prompter.error(ProgramInfo::ProgramTitle(), e.message());
    } catch (const std::exception& e) {
        prompter.error(ProgramInfo::ProgramTitle(), QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
