// KVL520: the desktop program.

#include "app/programfolder.h"
#include "desktop/kvlapplication.h"
#include "desktop/mainwindow.h"

#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    kvl::KvlApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVL520"));
    QApplication::setApplicationVersion(QStringLiteral(KVL_VERSION_TEXT));
    kvl::KvlApplication::applyLightLook();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("KVL520 data logger manager"));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption home(QStringLiteral("home"),
                                  QStringLiteral("Program folder (Setting.dat, LogFile.Log, ...)."),
                                  QStringLiteral("DIR"));
    options.addOption(home);
    options.process(app);

    kvl::TfKVL520_Main fKVL520_Main(kvl::resolveProgramFolder(options.value(home)));
    fKVL520_Main.show();
    return app.exec();
}
