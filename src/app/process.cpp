#include "app/process.h"

#include <QProcess>

namespace kvl {

qint64 ExecNewProcess(const QString &path)
{
    if (path.isEmpty())
        return 0;
    QProcess process;
    process.setProgram(path);
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return 0;
    return pid;
}

} // namespace kvl
