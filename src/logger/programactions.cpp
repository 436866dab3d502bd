#include "logger/programactions.h"

#include "app/errorlog.h"
#include "app/programfolder.h"
#include "app/session.h"
#include "app/textcodec.h"
#include "logger/clockcommands.h"
#include "logger/download.h"
#include "logger/filecommands.h"
#include "logger/loggerbutton.h"
#include "logger/program.h"
#include "logger/terminalbracket.h"
#include "registry/deviceregistry.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kvl {

namespace {

const QString ProgramBar = QStringLiteral("pgbProgram");

bool progDown(Session &session, int index)
{
    if (!(PROGRAM_COMMAND_Terminal_Mode_Close(session, index) && PROGRAM_COMMAND_Terminal_Mode_Open(session, index)
          && PROGRAM_COMMAND_FSIZE(session, index, ProgramFilePath)))
        return false;
    session.progress().setProgress(ProgramBar, 10);
    session.RxTypeIndex = RxView::Program;
    const bool ok = PROGRAM_COMMAND_FREAD(session, index, true, ProgramFilePath);
    session.progress().setProgress(ProgramBar, 100);
    return ok;
}

bool progSend(Session &session, int index)
{
    if (!(PROGRAM_COMMAND_Terminal_Mode_Close(session, index) && PROGRAM_COMMAND_Terminal_Mode_Open(session, index)
          && PROGRAM_COMMAND_ROOT(session, index) && PROGRAM_COMMAND_FCreate(session, index, ProgramFilePath)))
        return false;
    if (!PROGRAM_COMMAND_DIR(session, index))
        return false;
    // The terminal view holds the answer to the create and the listing so far.
    bool listed = false;
    for (const QString &line : session.Views.lines(RxView::Terminal))
        listed = listed || line.toUpper().contains(u"PROG");
    if (!listed) {
        // The logger has not made the file yet: make it again; the user sends once more.
        if (PROGRAM_COMMAND_FCreate(session, index, ProgramFilePath))
            PROGRAM_COMMAND_DIR(session, index);
        return false;
    }
    PROGRAM_COMMAND_Mode_T(session, index);
    return PROGRAM_COMMAND_WRITE(session, index, true, QStringList(session.Views.lines(RxView::Program)),
                                 ProgramFilePath);
}

bool progClear(Session &session)
{
    session.lineSinks().clearView(RxView::Program);
    session.lineSinks().clearView(RxView::ProgramReply);
    return true;
}

// Connection check, one operation at a time, stop flags cleared, then the dispatcher.
template <typename Prepare>
bool programButton(Session &session, int tag, bool needsLink, Prepare &&prepare)
{
    LoggerButton button(session, needsLink);
    if (button.refused())
        return false;
    prepare();
    return PROGRAM_COMMAND(session, tag);
}

} // namespace

bool PROGRAM_COMMAND(Session &session, int tag)
{
    session.progress().setProgress(ProgramBar, 0);
    const int index = session.Selected_index;
    if (index < 0 || index >= DeviceRegistry::SlotCount || !session.DeviceInfo)
        return false;
    const int ProgramCommand = tag;
    return closingTerminalModeAfter(session, index, [&] {
        switch (ProgramCommand) {
        case ProgramTag::ProgDown:
            return progDown(session, index);
        case ProgramTag::ProgSend:
            return progSend(session, index);
        case ProgramTag::ProgRun:
            return PROGRAM_COMMAND_Run(session, index, true, QStringList(session.Views.lines(RxView::Program)),
                                       ProgramFilePath);
        case ProgramTag::Clear:
            return progClear(session);
        default:
            return false;
        }
    });
}

bool progDownButton(Session &session)
{
    return programButton(session, ProgramTag::ProgDown, true,
                         [&] { session.lineSinks().clearView(RxView::Program); });
}

bool progSendButton(Session &session)
{
    return programButton(session, ProgramTag::ProgSend, true,
                         [&] { session.RxTypeIndex = RxView::ProgramReply; });
}

bool progRunButton(Session &session)
{
    return programButton(session, ProgramTag::ProgRun, true, [] {});
}

bool programClearButton(Session &session)
{
    return programButton(session, ProgramTag::Clear, false, [] {});
}

void stopRunButton(Session &session) { session.Stop_flg(); }

bool saveProgramToPc(Session &session)
{
    const int index = session.Selected_index;
    if (index < 0 || index >= DeviceRegistry::SlotCount || !session.DeviceInfo) {
        session.message(QStringLiteral("Select Device Name"));
        return false;
    }
    const QString proposed =
        joinPath(session.ProgramFolder, (*session.DeviceInfo)[index].DeviceSet.DeviceName + QStringLiteral("_PROG.TXT"));
    QString path = session.dialogs().saveFileName(QStringLiteral("Save As"), proposed,
                                                  QStringLiteral("Text files (*.txt *.TXT)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".TXT");

    QByteArray bytes;
    const AnsiCodec &codec = AnsiCodec::instance();
    for (const QString &line : session.Views.lines(RxView::Program))
        bytes += codec.encode(line) + QByteArrayLiteral("\r\n");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw PlatformError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    return true;
}

} // namespace kvl
