#include "logger/downloadactions.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "link/receiveframing.h"
#include "logger/clockcommands.h"
#include "logger/datafiles.h"
#include "logger/download.h"
#include "logger/filecommands.h"
#include "logger/loggerbutton.h"
#include "logger/terminalbracket.h"
#include "registry/deviceregistry.h"

#include <QDir>

namespace kvl {

namespace {

// The logger closes the first file before it can report the size of the second.
constexpr int SecondFilePauseMs = 500;

const QString DownBar = QStringLiteral("pgbDown");

// Reads the standard file(s) into the download views. An error on the line ends the
// read as a failure; its text is handed back for the error handler.
bool fetchStandardFiles(Session &session, int index, DataFileSet set, QString &error)
{
    const Setup &device = (*session.DeviceInfo)[index];
    const QString logId = device.DeviceSet.LogID;
    const bool split = device.ScheduleSet.SensorNoCheck;
    const QString first = standardDataFile(set, logId, 0);
    const QString second = standardDataFile(set, logId, 1);
    // "Last Down" always confirms; "All Down" confirms the last file it reads.
    const bool firstShowsMessage = set == DataFileSet::Last || !split;
    try {
        bool ok = PROGRAM_COMMAND_Terminal_Mode_Close(session, index)
            && PROGRAM_COMMAND_Terminal_Mode_Open(session, index) && PROGRAM_COMMAND_DIR(session, index)
            && PROGRAM_COMMAND_FSIZE(session, index, first);
        if (ok) {
            session.RxTypeIndex = RxView::DownloadUpper;
            RxTypeMemoClear(session);
            ok = PROGRAM_COMMAND_ALLDownFREAD(session, index, firstShowsMessage, first);
        }
        if (ok && split) {
            session.delay(SecondFilePauseMs);
            session.FileSizeChk = 0;
            ok = PROGRAM_COMMAND_FSIZE(session, index, second);
            session.RxTypeIndex = RxView::DownloadLower;
            RxTypeMemoClear(session);
            // An empty second file is not read; one whose size is unknown fails the read.
            if (ok && session.FileSizeChk != 0)
                ok = PROGRAM_COMMAND_ALLDownFREAD(session, index, true, second);
        }
        return ok;
    } catch (const PlatformError &e) {
        error = e.message();
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    }
    return false;
}

// Appends the merged lines to each named save file. The first failure ends the save;
// its text is handed back for the error handler.
bool saveMergedLines(Session &session, int index, QString &error)
{
    const SaveFile &files = (*session.DeviceInfo)[index].SaveFileSet;
    const QStringList merged = mergeDataLines(session.Views.lines(RxView::DownloadUpper),
                                              session.Views.lines(RxView::DownloadLower));
    const QString suffix = QStringLiteral(".TXT");
    // The folder is made (one level) for the first file only, as the two share it.
    const struct {
        QString name;
        bool createFolder;
    } targets[] = {{files.FileName1, true}, {files.FileName2, false}};
    for (const auto &target : targets) {
        if (target.name.isEmpty())
            continue;
        const QString path = saveFilePath(session, files.SavePath, target.name + suffix);
        try {
            appendToSaveFile(path, merged, target.createFolder);
        } catch (const PlatformError &e) {
            error = e.message();
            return false;
        }
        session.status(4, QStringLiteral("The File Saved to ") + QDir::toNativeSeparators(path) + QStringLiteral(" -")
                              + session.clock().now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    }
    return true;
}

bool downloadStandardFiles(Session &session, DataFileSet set)
{
    if (!session.Connect_flg || !session.DeviceInfo || session.Selected_index < 0
        || session.Selected_index >= DeviceRegistry::SlotCount)
        return false;
    const int index = session.Selected_index;
    session.lineSinks().clearView(RxView::DownloadUpper);
    session.lineSinks().clearView(RxView::DownloadLower);

    QString error;
    bool ok = false;
    try {
        ok = closingTerminalModeAfter(session, index, [&] {
            bool fetched = fetchStandardFiles(session, index, set, error);
            if (!fetched) {
                session.status(3, QStringLiteral("PROGRAM_COMMAND_ALLDownFREAD  ERROR "));
                return false;
            }
            return saveMergedLines(session, index, error);
        });
    } catch (...) {
        session.progress().setProgress(DownBar, 0);
        throw;
    }
    session.progress().setProgress(DownBar, 0);
    // Reported after the close, so that panel 4 keeps the error rather than the logger's
    // answer to the close.
    if (!error.isEmpty())
        AppException(session, error);
    return ok;
}

template <typename Download>
bool downloadButton(Session &session, Download &&download)
{
    LoggerButton button(session);
    if (button.refused())
        return false;
    session.progress().setProgress(DownBar, 0);
    return download(session);
}

} // namespace

bool AllDownLoad(Session &session) { return downloadStandardFiles(session, DataFileSet::All); }

bool LastDownLoad(Session &session) { return downloadStandardFiles(session, DataFileSet::Last); }

bool allDownButton(Session &session) { return downloadButton(session, AllDownLoad); }

bool lastDownButton(Session &session) { return downloadButton(session, LastDownLoad); }

void downClearButton(Session &session)
{
    session.progress().setProgress(DownBar, 0);
    session.lineSinks().clearView(RxView::DownloadUpper);
    session.lineSinks().clearView(RxView::DownloadLower);
}

} // namespace kvl
