// A large download shown live in the desktop window: the main window is made in a
// temporary program folder and shown on the offscreen platform with the download page
// open, then 20,000 data lines (16 channels each, as the logger writes them) arrive in
// the upper download view while the window keeps handling its events.
//
// Two ways in, each timed from the first received byte (or line) until the view has
// painted itself with the last line at its bottom:
//   receive path  the bytes come from the port in 4 KiB receive events and go through the
//                 framing and the receive event (download view, log window, panel 4);
//   line sinks    the lines go straight to the session's receive view 5.
// Also printed: the longest time the event loop was held up by one receive event and the
// events it let through, and the processor time. Target: under 1 s in total.

#include "desktop/downloadpage.h"
#include "desktop/kvlapplication.h"
#include "desktop/mainwindow.h"
#include "desktop/receiveview.h"
#include "link/receiveframing.h"
#include "support/scriptedport.h"
#include "support/virtualclock.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

using namespace kvl;

namespace {

constexpr int LineCount = 20000;
constexpr int Channels = 16;
// What a serial driver typically hands over in one receive event during a long transfer.
constexpr qsizetype ReceiveChunk = 4096;
// How long to wait for the view to show the last line before the run counts as failed.
constexpr qint64 GiveUpNs = 30'000'000'000;

// One measurement every ten minutes from 12 May 2008, 16 slowly drifting channels; the
// logger writes its year as 08, which the receive side turns into the PC's year.
QList<QByteArray> dataLines()
{
    QList<QByteArray> lines;
    lines.reserve(LineCount);
    const QDateTime first(QDate(2008, 5, 12), QTime(0, 0));
    for (int i = 0; i < LineCount; ++i) {
        QByteArray line = first.addSecs(qint64(i) * 600).toString(QStringLiteral("yy/MM/dd hh:mm:ss")).toLatin1();
        for (int c = 1; c <= Channels; ++c) {
            const double value = c * 1.5 + double((i * 37 + c * 11) % 200 - 100) / 1000.0;
            line += ',';
            if (value >= 0)
                line += '+';
            line += QByteArray::number(value, 'f', 3);
        }
        lines << line;
    }
    return lines;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Notes a paint of the view port that shows the last line at the bottom of the view.
class PaintWatch : public QObject {
public:
    PaintWatch(ReceiveView *view, const QString &lastLine) : m_view(view), m_lastLine(lastLine) {}
    bool paintedLastLine = false;

    // Read from the widget itself, without flushing lines it still collects.
    static bool showsLastLine(ReceiveView *view, const QString &lastLine)
    {
        const QTextDocument *doc = view->document();
        const QScrollBar *bar = view->verticalScrollBar();
        return doc->blockCount() == LineCount && doc->lastBlock().text() == lastLine
            && bar->value() == bar->maximum();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !paintedLastLine && showsLastLine(m_view, m_lastLine))
            paintedLastLine = true;
        return QObject::eventFilter(watched, event);
    }

private:
    ReceiveView *m_view;
    const QString &m_lastLine;
};

struct Run {
    qint64 fedNs = 0;      // the last byte or line handed over
    qint64 contentNs = -1; // the view holds the last line and is scrolled to it
    qint64 shownNs = -1;   // the first paint after that
    qint64 longestStallNs = 0;
    double cpu = 0;
    int blocks = 0;
};

class Bench {
public:
    explicit Bench(TfKVL520_Main &window) : m_window(window) {}

    // feed() hands over the next piece and returns false once everything was handed over.
    template <typename Feed>
    Run run(const QString &lastLine, Feed &&feed)
    {
        ReceiveView *view = m_window.tabDownload->mmoDown1;
        m_window.session().lineSinks().clearView(RxView::DownloadUpper);
        QCoreApplication::processEvents();

        Run r;
        QElapsedTimer timer;
        PaintWatch paints(view, lastLine);
        view->viewport()->installEventFilter(&paints);
        const double cpuBefore = cpuSeconds();
        timer.start();
        bool feeding = true;
        for (;;) {
            const qint64 before = timer.nsecsElapsed();
            if (feeding) {
                feeding = feed();
                if (!feeding)
                    r.fedNs = timer.nsecsElapsed();
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            r.longestStallNs = std::max(r.longestStallNs, timer.nsecsElapsed() - before);
            if (!feeding && r.contentNs < 0 && PaintWatch::showsLastLine(view, lastLine))
                r.contentNs = timer.nsecsElapsed();
            if (paints.paintedLastLine) {
                // The paint ran inside the turn that just ended.
                r.shownNs = timer.nsecsElapsed();
                if (r.contentNs < 0)
                    r.contentNs = r.shownNs;
                break;
            }
            if (timer.nsecsElapsed() > GiveUpNs)
                break;
            if (!feeding)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        r.cpu = cpuSeconds() - cpuBefore;
        r.blocks = view->document()->blockCount();
        view->viewport()->removeEventFilter(&paints);
        return r;
    }

private:
    TfKVL520_Main &m_window;
};

void print(const char *label, const Run &r)
{
    if (r.shownNs < 0) {
        std::printf("%-13s the last line was not shown within %.0f s (%d lines in the view)\n", label,
                    GiveUpNs / 1e9, r.blocks);
        return;
    }
    std::printf("%-13s fed %6.1f ms, last line in view %6.1f ms, painted %6.1f ms; longest stall %5.1f ms, "
                "CPU %.2f s\n",
                label, r.fedNs / 1e6, r.contentNs / 1e6, r.shownNs / 1e6, r.longestStallNs / 1e6, r.cpu);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    KvlApplication app(argc, argv);
    QTemporaryDir home;
    if (!home.isValid())
        return 1;

    test::VirtualClock unused; // the port's scripted replies are not used; bytes are injected
    test::ScriptedPort port(unused);
    TfKVL520_Main window(home.path(), &port);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::printf("(main window not exposed)\n");
    window.PageControl1->setCurrentWidget(window.tabDownload);
    QCoreApplication::processEvents();
    Session &session = window.session();
    session.RxTypeIndex = RxView::DownloadUpper;

    const QList<QByteArray> lines = dataLines();
    QByteArray stream;
    for (const QByteArray &line : lines)
        stream += line + "\r\n";
    const QString lastLine = rewriteYear(QString::fromLatin1(lines.last()), session.NowYear);

    std::printf("%d data lines of %lld characters (%.1f MB with CR LF) into the upper download view, "
                "window shown, download page open (target: < 1000 ms)\n",
                LineCount, static_cast<long long>(lines.last().size()), stream.size() / 1e6);

    Bench bench(window);
    for (int round = 1; round <= 3; ++round) {
        qsizetype at = 0;
        const Run viaPort = bench.run(lastLine, [&] {
            port.inject(stream.mid(at, ReceiveChunk));
            at += ReceiveChunk;
            return at < stream.size();
        });
        print("receive path", viaPort);

        QList<QString> texts;
        texts.reserve(LineCount);
        for (const QByteArray &line : lines)
            texts << rewriteYear(QString::fromLatin1(line), session.NowYear);
        qsizetype next = 0;
        // As many lines per turn of the event loop as one receive event of the port brings.
        const qsizetype perTurn = ReceiveChunk / (lines.last().size() + 2);
        const Run viaSinks = bench.run(lastLine, [&] {
            for (qsizetype k = 0; k < perTurn && next < texts.size(); ++k)
                session.lineSinks().appendLine(RxView::DownloadUpper, texts[next++]);
            return next < texts.size();
        });
        print("line sinks", viaSinks);
    }
    return 0;
}
