// The communication log window and the clock buttons of the pages, on the offscreen
// platform: what the log records before it is first shown, what a closed and reopened
// window holds, switching between the lists, and a long run of lines.

#include "desktop/devicetreeview.h"
#include "desktop/kvlapplication.h"
#include "desktop/logwindow.h"
#include "desktop/mainwindow.h"
#include "desktop/programpage.h"
#include "desktop/receiveview.h"
#include "desktop/terminalpage.h"
#include "link/receiveframing.h"
#include "registry/deviceregistry.h"
#include "support/recordinghooks.h"
#include "support/scriptedport.h"
#include "support/virtualclock.h"

#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kvl;

class LogWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void timeSetBeforeTheWindowWasShown_data();
    void timeSetBeforeTheWindowWasShown();
    void closeThenReopenStartsEmpty();
    void switchingListsKeepsBoth();
    void longRunKeepsTheNewestLineInView();

private:
    void openWindow();
    TFmLogMessage *showLog();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<test::VirtualClock> m_clock;
    std::unique_ptr<test::ScriptedPort> m_port;
    std::unique_ptr<test::RecordingHooks> m_hooks;
    std::unique_ptr<TfKVL520_Main> m_window;
};

void LogWindowTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_clock = std::make_unique<test::VirtualClock>();
    m_port = std::make_unique<test::ScriptedPort>(*m_clock);
    m_hooks = std::make_unique<test::RecordingHooks>();
}

void LogWindowTest::cleanup()
{
    m_window.reset();
    m_port.reset();
    m_clock.reset();
    m_hooks.reset();
    m_home.reset();
}

void LogWindowTest::openWindow()
{
    DeviceRegistry registry;
    registry[0].DeviceSet.DeviceName = QStringLiteral("Pump1");
    registry[0].DeviceSet.LogID = QStringLiteral("01");
    registry.SettingSave(m_home->path());

    m_window = std::make_unique<TfKVL520_Main>(m_home->path(), m_port.get());
    m_window->session().setClock(m_clock.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->session().setDialogs(m_hooks.get());
}

TFmLogMessage *LogWindowTest::showLog()
{
    QTest::mouseClick(m_window->btnLogMsg, Qt::LeftButton);
    TFmLogMessage *log = m_window->logWindow();
    if (log && !QTest::qWaitForWindowExposed(log))
        qWarning("log window not exposed");
    return log;
}

void LogWindowTest::timeSetBeforeTheWindowWasShown_data()
{
    QTest::addColumn<bool>("terminalPage");
    QTest::newRow("program page") << false;
    QTest::newRow("terminal page") << true;
}

void LogWindowTest::timeSetBeforeTheWindowWasShown()
{
    QFETCH(bool, terminalPage);
    openWindow();
    QVERIFY(m_window->logWindow() && m_window->logWindow()->isHidden());
    QVERIFY(m_port->open());
    m_window->session().Connect_flg = true;
    m_port->script("#T01 W 24 05 12 10 30", {{"Time Set 24/05/12 10:30\r", 300}});

    DeviceTreeView *tree = m_window->ProjectView;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(tree->model()->index(0, 0)).center());
    QCOMPARE(m_window->session().Selected_index, 0);
    ReceiveView *replies = m_window->tabProg->Memo_RX_Buff;
    if (terminalPage) {
        m_window->session().NowYear.clear();
        m_window->PageControl1->setCurrentWidget(m_window->tabTerminal);
        QCOMPARE(m_window->session().NowYear, u"24"_qs); // the session clock's year
        QTest::mouseClick(m_window->tabTerminal->SpeedButton1, Qt::LeftButton);
        replies = m_window->tabTerminal->mmoRxTemp;
    } else {
        m_window->PageControl1->setCurrentWidget(m_window->tabProg);
        QTest::mouseClick(m_window->tabProg->Btn_TiemSet, Qt::LeftButton);
    }
    QCOMPARE(m_port->sentLines(), (QList<QByteArray>{"#T01 W 24 05 12 10 30"}));
    QCOMPARE(m_hooks->messages, QStringList{u"Time set OK"_qs});
    QCOMPARE(replies->lines(), QStringList{u"Time Set 24/05/12 10:30"_qs});

    TFmLogMessage *log = showLog();
    QVERIFY(log && log->isVisible());
    QCOMPARE(log->windowTitle(), u"MessageBox"_qs);
    QCOMPARE(log->Log_TX->lines(), (QStringList{u"TX_Message"_qs, u"2024-05-12 10:30:05: #T01 W 24 05 12 10 30"_qs}));
    QCOMPARE(log->Log_RX->lines(), (QStringList{u"RX_Message"_qs, u"Time Set 24/05/12 10:30"_qs}));
}

void LogWindowTest::closeThenReopenStartsEmpty()
{
    openWindow();
    Session &session = m_window->session();
    TFmLogMessage *log = showLog();
    Comport_TXMessage(session, u"2024-05-12 10:30:05: #T01 R"_qs);
    ComportRXEvent(session, u"Time Read 24/05/12 10:30:05"_qs);

    QPointer<TFmLogMessage> closed = log;
    QTest::mouseClick(log->Pnl_Close, Qt::LeftButton);
    QTRY_VERIFY(closed.isNull()); // destroyed
    QVERIFY(!m_window->logWindow());
    QVERIFY(!session.TfmLog && !session.LogMessage_flg);
    // Nothing is recorded while there is no window.
    Comport_TXMessage(session, u"2024-05-12 10:31:00: #T01 R"_qs);
    ComportRXEvent(session, u"Time Read 24/05/12 10:31:00"_qs);

    log = showLog();
    QVERIFY(log && log != closed.data());
    QCOMPARE(session.TfmLog, static_cast<TrafficLog *>(log));
    QCOMPARE(log->Log_TX->lines(), QStringList{u"TX_Message"_qs});
    QCOMPARE(log->Log_RX->lines(), QStringList{u"RX_Message"_qs});

    // "MessageClear" empties both lists, their caption lines too.
    ComportRXEvent(session, u"OK"_qs);
    QTest::mouseClick(log->Panel4, Qt::LeftButton);
    QVERIFY(log->Log_TX->lines().isEmpty());
    QVERIFY(log->Log_RX->lines().isEmpty());
}

void LogWindowTest::switchingListsKeepsBoth()
{
    openWindow();
    Session &session = m_window->session();
    TFmLogMessage *log = showLog();
    Comport_TXMessage(session, u"2024-05-12 10:30:05: #T01 R"_qs);
    ComportRXEvent(session, u"Time Read"_qs);

    QTest::mouseClick(log->Pnl_LogRX, Qt::LeftButton);
    QTRY_VERIFY(log->Log_RX->isVisible() && log->Log_TX->isHidden());
    ComportRXEvent(session, u"OK"_qs); // arrives while the TX list is hidden
    Comport_TXMessage(session, u"2024-05-12 10:30:06: #M01 T O"_qs);
    QTest::mouseClick(log->Pnl_LogTX, Qt::LeftButton);
    QTRY_VERIFY(log->Log_TX->isVisible() && log->Log_RX->isHidden());
    // The list shown fills the list area.
    QTRY_VERIFY(log->Log_TX->height() > 300);

    QCOMPARE(log->Log_TX->lines(), (QStringList{u"TX_Message"_qs, u"2024-05-12 10:30:05: #T01 R"_qs,
                                               u"2024-05-12 10:30:06: #M01 T O"_qs}));
    QCOMPARE(log->Log_RX->lines(), (QStringList{u"RX_Message"_qs, u"Time Read"_qs, u"OK"_qs}));
}

void LogWindowTest::longRunKeepsTheNewestLineInView()
{
    openWindow();
    Session &session = m_window->session();
    TFmLogMessage *log = showLog();
    constexpr int Lines = 100000;
    // Half while the RX list is hidden, half while it is shown, in bursts between events.
    QTest::mouseClick(log->Pnl_LogTX, Qt::LeftButton);
    for (int k = 0; k < Lines; ++k) {
        ComportRXEvent(session, QStringLiteral("line %1").arg(k));
        if (k == Lines / 2)
            QTest::mouseClick(log->Pnl_LogRX, Qt::LeftButton);
        if (k % 5000 == 0)
            QCoreApplication::processEvents();
    }
    ReceiveView *rx = log->Log_RX;
    QTRY_COMPARE(rx->document()->blockCount(), Lines + 1);
    QCoreApplication::processEvents();
    const QString newest = QStringLiteral("line %1").arg(Lines - 1);
    QCOMPARE(rx->document()->lastBlock().text(), newest);
    QCOMPARE(rx->document()->firstBlock().text(), u"RX_Message"_qs); // nothing dropped
    auto newestAtTheBottom = [rx] {
        const QPoint bottom(4, rx->viewport()->height() - 4);
        return rx->cursorForPosition(bottom).block().text();
    };
    QCOMPARE(newestAtTheBottom(), newest);
    // A smaller window still shows the newest line.
    const int shownHeight = rx->height();
    log->resize(log->width(), log->height() - 150);
    QTRY_VERIFY(rx->height() < shownHeight);
    QCOMPARE(newestAtTheBottom(), newest);
}

int main(int argc, char *argv[])
{
    KvlApplication app(argc, argv);
    LogWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logwindow.moc"
