#include "app/receiveviews.h"

namespace kvl {

void ReceiveViews::appendLine(int view, const QString &line)
{
    m_views[view].append(line);
    if (m_mirror)
        m_mirror->appendLine(view, line);
    emit lineAppended(view, line);
}

void ReceiveViews::clearView(int view)
{
    m_views[view].clear();
    if (m_mirror)
        m_mirror->clearView(view);
    emit viewCleared(view);
}

void ReceiveViews::setLines(int view, const QStringList &lines)
{
    m_views[view] = lines;
    emit viewReplaced(view);
}

const QStringList &ReceiveViews::lines(int view) const
{
    static const QStringList none;
    const auto it = m_views.constFind(view);
    return it == m_views.constEnd() ? none : *it;
}

} // namespace kvl
