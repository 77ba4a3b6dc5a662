#include "AppFolder.h"
#include "PasswordStore.h"
#include "ProcessMemory.h"
#include "ProgramInfo.h"
#include "QtPrompter.h"
#include "TFMain.h"
#include "TraderIcons.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    ProcessMemory::keepFreedBlocks();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Dunvik Shop"));
    QApplication::setApplicationName(QStringLiteral("Trader"));
    QApplication::setApplicationVersion(ProgramInfo::ProgramVersion());
    QApplication::setWindowIcon(TraderIcons::program());

    // The interface is Russian on every system, the standard dialogs included.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    QtPrompter prompter;
    TFMain window(AppFolder::resolve(), prompter, PasswordStore());
    prompter.setOwner(&window);
    window.showAsLastTime();
    return QApplication::exec();
}
