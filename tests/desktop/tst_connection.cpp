// The connection as the window shows it: the connect button, the top bar and status panels
// kept in step by the monitoring timer, the terminal page's port buttons and the setup
// page's connection test, on the offscreen platform with a scripted logger.

#include "desktop/devicetreeview.h"
#include "desktop/desktophooks.h"
#include "desktop/kvlapplication.h"
#include "desktop/mainwindow.h"
#include "desktop/receiveview.h"
#include "desktop/setuppage.h"
#include "desktop/terminalpage.h"
#include "registry/devicetreeactions.h"
#include "support/recordinghooks.h"
#include "support/scriptedport.h"
#include "support/virtualclock.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace kvl;

namespace {

const QByteArray ClockReply("Time Read 08 05 12 10 30\r");

// One direct-cabled logger 01 "Dam A" on COM7 in the program folder.
void writeRegistry(const QString &home)
{
    DeviceRegistry registry;
    Setup &d = registry[0];
    d.DeviceSet.DeviceName = QStringLiteral("Dam A");
    d.DeviceSet.LogID = QStringLiteral("01");
    d.PortSet.COMPORT = 7;
    d.PortSet.Baudrate = QStringLiteral("9600");
    d.PortSet.Parity = QStringLiteral("None");
    d.PortSet.StopBits = QStringLiteral("1");
    d.ModemSet.ModemType = QStringLiteral("Direct");
    registry.SettingSave(home);
}

// Keeps every status write of a panel while the window's status bar shows them.
class PanelHistory final : public StatusPanels {
public:
    PanelHistory(StatusPanels &shown, int panel) : m_shown(shown), m_panel(panel) {}
    void setStatus(int panel, const QString &text) override
    {
        if (panel == m_panel)
            texts << text;
        m_shown.setStatus(panel, text);
    }
    QStringList texts;

private:
    StatusPanels &m_shown;
    int m_panel;
};

} // namespace

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void connectWithoutDevice();
    void lostLinkIsShownWithoutUserAction_data();
    void lostLinkIsShownWithoutUserAction();
    void terminalPortButtons();
    void closingWhileConnectedYesDisconnects();
    void setupPageTestOfDirectDevice();

private:
    // The window on the scripted port; its waits run in virtual time and its messages
    // are recorded instead of shown.
    void openWindow();
    void clickDevice();
    // Connects the device with the top bar button; the monitoring then shows it.
    void connectDevice();
    void verifyShown(bool connected);
    QString panel(int k) const { return m_window->statusPanels().text(k); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<test::VirtualClock> m_clock;
    std::unique_ptr<test::ScriptedPort> m_port;
    std::unique_ptr<TfKVL520_Main> m_window;
    test::RecordingHooks m_hooks;
};

void ConnectionTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    writeRegistry(m_home->path());
    m_clock = std::make_unique<test::VirtualClock>();
    m_port = std::make_unique<test::ScriptedPort>(*m_clock);
    m_hooks = {};
    openWindow();
}

void ConnectionTest::cleanup()
{
    if (m_window)
        m_window->session().setDialogs(nullptr);
    m_window.reset();
    m_port.reset();
    m_clock.reset();
    m_home.reset();
}

void ConnectionTest::openWindow()
{
    m_window = std::make_unique<TfKVL520_Main>(m_home->path(), m_port.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->session().setDialogs(&m_hooks);
    m_window->session().setClock(m_clock.get());
}

void ConnectionTest::clickDevice()
{
    DeviceTreeView *view = m_window->ProjectView;
    const QModelIndex index = m_window->treeActions().tree().indexAt(0);
    QVERIFY(index.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QCOMPARE(m_window->session().Selected_index, 0);
}

void ConnectionTest::verifyShown(bool connected)
{
    QTRY_COMPARE(m_window->btnConnectTap->text(), connected ? u"Disconnect"_qs : u"Connect"_qs);
    QCOMPARE(!m_window->imgconnect->isHidden(), connected);
    QCOMPARE(!m_window->imgdisConnect->isHidden(), !connected);
    QCOMPARE(panel(1), connected ? u"Dam A Connected"_qs : u"Dam A Disconnected"_qs);
}

void ConnectionTest::connectDevice()
{
    clickDevice();
    m_port->script("#T01 R", {{ClockReply, 300}});
    // The pictures blink and the monitoring rests while the connect waits.
    auto timersInWait = std::make_shared<QStringList>();
    m_clock->onDelay([timersInWait, w = m_window.get()](int) {
        *timersInWait << QStringLiteral("blink %1 monitor %2")
                             .arg(w->tmrConnectIng->isActive())
                             .arg(w->tmrMonitoring->isActive());
    });
    QTest::mouseClick(m_window->btnConnectTap, Qt::LeftButton);

    QVERIFY(m_window->session().Connect_flg);
    QVERIFY(!timersInWait->isEmpty());
    QCOMPARE(timersInWait->first(), u"blink 1 monitor 0"_qs);
    QVERIFY(!m_window->tmrConnectIng->isActive());
    QVERIFY(m_window->tmrMonitoring->isActive());
    QCOMPARE(m_hooks.messages, QStringList{u"Sucess - Logger is Connected"_qs});
    verifyShown(true);
    QCOMPARE(panel(0), u"Comport Open"_qs);
    m_hooks.messages.clear();
}

void ConnectionTest::connectWithoutDevice()
{
    QTest::mouseClick(m_window->btnConnectTap, Qt::LeftButton);

    QCOMPARE(m_hooks.messages, QStringList{u"Please select a device."_qs});
    QVERIFY(m_port->writes().isEmpty());
    QVERIFY(!m_port->isOpen());
    QTRY_COMPARE(panel(0), u"Comport Close"_qs);
    QCOMPARE(panel(1), u" Disconnected"_qs);
    QCOMPARE(m_window->btnConnectTap->text(), u"Connect"_qs);
    QVERIFY(m_window->tmrMonitoring->isActive());
}

void ConnectionTest::lostLinkIsShownWithoutUserAction_data()
{
    QTest::addColumn<bool>("portCloses");
    QTest::addColumn<QString>("portPanel");
    QTest::newRow("NO CARRIER line") << false << u"Comport Open"_qs;
    QTest::newRow("port closed under the program") << true << u"Comport Close"_qs;
}

void ConnectionTest::lostLinkIsShownWithoutUserAction()
{
    QFETCH(bool, portCloses);
    QFETCH(QString, portPanel);
    connectDevice();

    if (portCloses)
        m_port->close();
    else
        m_port->inject("NO CARRIER\r\n");

    verifyShown(false);
    QVERIFY(!m_window->session().Connect_flg);
    QCOMPARE(panel(0), portPanel);
    QVERIFY(m_hooks.messages.isEmpty());
}

void ConnectionTest::terminalPortButtons()
{
    TerminalPage *page = m_window->tabTerminal;
    m_window->PageControl1->setCurrentWidget(page);
    QTRY_VERIFY(page->btnComOpen->isVisible());
    QCOMPARE(page->btnComOpen->text(), u"ComOpen"_qs);
    QCOMPARE(page->btnDisconnect->text(), u"Disconnect"_qs);

    // Without a device nothing happens; with one the port opens and the caption turns.
    QTest::mouseClick(page->btnComOpen, Qt::LeftButton);
    QVERIFY(!m_port->isOpen());
    QCOMPARE(page->btnComOpen->text(), u"ComOpen"_qs);
    clickDevice();
    QTest::mouseClick(page->btnComOpen, Qt::LeftButton);
    QVERIFY(m_port->isOpen());
    QCOMPARE(page->btnComOpen->text(), u"ComClose"_qs);
    QTRY_COMPARE(panel(0), u"Comport Open"_qs);

    // "Disconnect" hangs up and closes the port, and the port button says so; once the
    // port is closed there is nothing to end.
    QTest::mouseClick(page->btnDisconnect, Qt::LeftButton);
    QVERIFY(!m_port->isOpen());
    QCOMPARE(page->btnComOpen->text(), u"ComOpen"_qs);
    QVERIFY(m_hooks.messages.isEmpty());
    QTest::mouseClick(page->btnDisconnect, Qt::LeftButton);
    QCOMPARE(m_hooks.messages, QStringList{u"Open Comport."_qs});
    QTRY_COMPARE(panel(0), u"Comport Close"_qs);

    QTest::mouseClick(page->btnComOpen, Qt::LeftButton);
    QVERIFY(m_port->isOpen());
    QTest::mouseClick(page->btnComOpen, Qt::LeftButton);
    QVERIFY(!m_port->isOpen());
    QCOMPARE(page->btnComOpen->text(), u"ComOpen"_qs);
}

void ConnectionTest::closingWhileConnectedYesDisconnects()
{
    connectDevice();
    m_hooks.answers << true;

    QVERIFY(m_window->close());

    QCOMPARE(m_hooks.questions, QStringList{u"Do you want to disconnect?\r\n"_qs});
    QVERIFY(!m_port->isOpen());
    QVERIFY(!m_window->session().Connect_flg);
    QCOMPARE(m_hooks.messages, QStringList{u"Logger is Disconnected"_qs});
    // The disconnect shows the link as it ends, but does not start the monitoring of a
    // closed window again.
    QCOMPARE(m_window->btnConnectTap->text(), u"Connect"_qs);
    QVERIFY(m_window->imgconnect->isHidden());
    for (QTimer *timer : {m_window->tmrMonitoring, m_window->tmrConnectIng})
        QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
}

void ConnectionTest::setupPageTestOfDirectDevice()
{
    clickDevice();
    SetupPage *page = m_window->tabSetup;
    QCOMPARE(page->clbModemType->currentText(), u"Direct"_qs);
    // The logger number typed but not applied is the one tried.
    page->clbLogID->setFocus();
    page->clbLogID->lineEdit()->selectAll();
    QTest::keyClicks(page->clbLogID->lineEdit(), u"02"_qs);
    m_port->script("#t02 r;", {{ClockReply, 1500}});
    PanelHistory linkPanel(m_window->statusPanels(), 1);
    m_window->session().setStatusPanels(&linkPanel);

    QTest::mouseClick(page->btnTest, Qt::LeftButton);

    m_window->session().setStatusPanels(&m_window->statusPanels());
    // The port close that ends the test says "Disconnect"; the monitoring takes over after.
    QCOMPARE(linkPanel.texts, (QStringList{u"Try connect..."_qs, u"Connect OK"_qs, u"Disconnect"_qs}));
    QCOMPARE(page->pgbTest->value(), 100);
    QCOMPARE(m_hooks.messages, QStringList{u"Success."_qs});
    QCOMPARE(m_port->sentLines(), QList<QByteArray>{"#t02 r;"});
    QVERIFY(!m_port->isOpen());
    QVERIFY(!m_window->session().Connect_flg);
    QCOMPARE(m_window->treeActions().page().text(SetupPageModel::clbLogID), u"02"_qs);
}

int main(int argc, char *argv[])
{
    KvlApplication app(argc, argv);
    ConnectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_connection.moc"
