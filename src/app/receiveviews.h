#pragma once
// The contents of the pages' receive views (terminal memo, program memos, download views,
// 3DS view), kept in the core: operations read them back (a listing is parsed from the
// terminal memo, a download is saved from the download views), and widgets only show them.

#include "app/uihooks.h"

#include <QMap>
#include <QObject>
#include <QStringList>

namespace kvl {

// Receive-view numbers as RxTypeIndex uses them.
namespace RxView {
constexpr int Terminal = 0;     // mmoRxTemp
constexpr int Program = 1;      // Memo_RX_PROG
constexpr int DownloadUpper = 5; // mmoDown1
constexpr int DownloadLower = 6; // mmoDown2
constexpr int Converter = 7;    // mmo3DS_RX
constexpr int ProgramReply = 9; // Memo_RX_Buff
} // namespace RxView

class ReceiveViews : public QObject, public LineSinks {
    Q_OBJECT
public:
    using QObject::QObject;

    void appendLine(int view, const QString &line) override;
    void clearView(int view) override;
    // Replaces a view's whole text (a memo the user edits or a file loaded into it).
    void setLines(int view, const QStringList &lines);

    const QStringList &lines(int view) const;
    int lineCount(int view) const { return int(lines(view).size()); }

    // A front end's own sinks that see every append and clear as well (not owned).
    void setMirror(LineSinks *mirror) { m_mirror = mirror; }

signals:
    void lineAppended(int view, const QString &line);
    void viewCleared(int view);
    void viewReplaced(int view);

private:
    QMap<int, QStringList> m_views;
    LineSinks *m_mirror = nullptr;
};

} // namespace kvl
