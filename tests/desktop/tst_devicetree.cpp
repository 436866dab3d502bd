// The device tree and the setup page as the user meets them: the device buttons, the
// tree's rename by F2, and the modem type list, on the offscreen platform.

#include "desktop/devicetreeview.h"
#include "desktop/kvlapplication.h"
#include "desktop/mainwindow.h"
#include "desktop/setuppage.h"
#include "registry/deviceregistry.h"
#include "registry/devicetreeactions.h"
#include "support/recordinghooks.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvl;

namespace {

struct StoredDevice {
    QString name;
    int level = 0;
    QString modemType = QStringLiteral("Direct");
    QStringList commands{QString(), QString(), QString()}; // Command, CallCMD, DiscntCMD
};

// Writes a registry with these devices (in display order) into the program folder.
void writeRegistry(const QString &home, const QList<StoredDevice> &devices)
{
    DeviceRegistry registry;
    for (int k = 0; k < devices.size(); ++k) {
        Setup &slot = registry[k];
        const StoredDevice &d = devices[k];
        slot.DeviceSet.DeviceName = d.name;
        slot.DeviceSet.TreeLevel = d.level;
        slot.DeviceSet.LogID = QStringLiteral("01");
        slot.PortSet.COMPORT = 3;
        slot.PortSet.Baudrate = QStringLiteral("115200");
        slot.PortSet.Parity = QStringLiteral("Even");
        slot.PortSet.StopBits = QStringLiteral("2");
        slot.ModemSet.ModemType = d.modemType;
        slot.ModemSet.Command = d.commands[0];
        slot.ModemSet.CallCMD = d.commands[1];
        slot.ModemSet.DiscntCMD = d.commands[2];
        slot.ScheduleSet.intervalMin = 30;
        slot.ScheduleSet.DelayMin = 5;
        slot.SaveFileSet.FileName1 = d.name;
        slot.SaveFileSet.FileName2 = d.name + QStringLiteral("_backup");
    }
    registry.SettingSave(home);
}

DeviceRegistry readRegistry(const QString &home)
{
    DeviceRegistry registry;
    registry.SettingOpen(home);
    return registry;
}

} // namespace

class DeviceTreeTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void addTwiceThenSubAddUnderTheFirst();
    void f2RenamesTheMarkedDevice();
    void modemTypeDefaultsOnlyForTheUsersChoice_data();
    void modemTypeDefaultsOnlyForTheUsersChoice();

private:
    void openWindow();
    // A real click on the node at this absolute index.
    void clickNode(int absoluteIndex);
    QString text(QWidget *w) const;

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<TfKVL520_Main> m_window;
    test::RecordingHooks m_hooks;
};

void DeviceTreeTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_hooks = {};
}

void DeviceTreeTest::cleanup()
{
    m_window.reset();
    m_home.reset();
}

void DeviceTreeTest::openWindow()
{
    m_window = std::make_unique<TfKVL520_Main>(m_home->path());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Any message or question shows up in the hooks instead of a modal box.
    m_window->session().setDialogs(&m_hooks);
}

void DeviceTreeTest::clickNode(int absoluteIndex)
{
    DeviceTreeView *view = m_window->ProjectView;
    const QModelIndex index = m_window->treeActions().tree().indexAt(absoluteIndex);
    QVERIFY(index.isValid());
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

QString DeviceTreeTest::text(QWidget *w) const
{
    if (auto *list = qobject_cast<QComboBox *>(w))
        return list->currentText();
    return qobject_cast<QLineEdit *>(w)->text();
}

void DeviceTreeTest::addTwiceThenSubAddUnderTheFirst()
{
    openWindow();
    QTest::mouseClick(m_window->btnDeviceAdd, Qt::LeftButton);
    QTest::mouseClick(m_window->btnDeviceAdd, Qt::LeftButton);
    clickNode(0);
    QCOMPARE(m_window->session().Selected_index, 0);
    QTest::mouseClick(m_window->btnDeviceSubAdd, Qt::LeftButton);

    // The tree: two top-level devices, the first with the new child, shown open.
    const DeviceTreeModel &tree = m_window->treeActions().tree();
    QCOMPARE(tree.rowCount(), 2);
    const QModelIndex first = tree.index(0, 0);
    QCOMPARE(tree.rowCount(first), 1);
    QCOMPARE(tree.rowCount(tree.index(1, 0)), 0);
    QVERIFY(m_window->ProjectView->isExpanded(first));
    // The first node now is a group: the page is cleared and disabled.
    QVERIFY(!m_window->tabSetup->edtSaveFile1->isEnabled());
    QVERIFY(m_window->tabSetup->edtSaveFile1->text().isEmpty());
    QVERIFY(m_window->lbeDeviceInfo->isHidden());
    QVERIFY(m_hooks.messages.isEmpty());

    // Setting.dat in display order: the group, its child, the second top-level device.
    const DeviceRegistry stored = readRegistry(m_home->path());
    const QList<QList<int>> placed{{0, 0, -1}, {1, 0, 0}, {0, 1, -1}};
    for (int k = 0; k < placed.size(); ++k) {
        const Device &d = stored[k].DeviceSet;
        QCOMPARE(d.DeviceName, u"NewDevice"_qs);
        QCOMPARE((QList<int>{d.TreeLevel, d.TreeIndex, d.TreeParentsIndex}), placed[k]);
    }
    QVERIFY(stored[3].isEmpty());

    // "Del" on the group takes its child along; afterwards no node is marked, in the
    // model and in the view alike, and the remaining device moves up.
    clickNode(0);
    m_hooks.answers << true;
    QTest::mouseClick(m_window->btnDeviceDel, Qt::LeftButton);
    QCOMPARE(m_hooks.questions, QStringList{u"Are you sure you want to delete the List?\r\n"_qs});
    QCOMPARE(tree.count(), 1);
    QVERIFY(!tree.selected());
    QVERIFY(!m_window->ProjectView->currentIndex().isValid());
    QCOMPARE(m_window->session().Selected_index, -1);
    const DeviceRegistry afterDel = readRegistry(m_home->path());
    QCOMPARE(afterDel[0].DeviceSet.TreeIndex, 0);
    QVERIFY(!afterDel[0].isEmpty() && afterDel[1].isEmpty());
}

void DeviceTreeTest::f2RenamesTheMarkedDevice()
{
    writeRegistry(m_home->path(), {{u"Station"_qs, 0}, {u"Pump1"_qs, 1}, {u"Well"_qs, 0}});
    openWindow();
    clickNode(1);
    QCOMPARE(m_window->tabSetup->edtSaveFile1->text(), u"Pump1"_qs);

    DeviceTreeView *view = m_window->ProjectView;
    QTest::keyClick(view, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QCOMPARE(editor->text(), u"Pump1"_qs);
    editor->selectAll();
    QTest::keyClicks(editor, u"Pump2"_qs);
    QTest::keyClick(editor, Qt::Key_Return);

    // The edit is committed once the editor has seen its Enter.
    const QModelIndex renamed = m_window->treeActions().tree().indexAt(1);
    QTRY_COMPARE(renamed.data().toString(), u"Pump2"_qs);
    QCOMPARE(m_window->tabSetup->edtSaveFile1->text(), u"Pump2"_qs);
    QCOMPARE(m_window->tabSetup->edtSaveFile2->text(), u"Pump2_backup"_qs);
    QCOMPARE(m_window->lbeSelectedDeviceName->text(), u"Pump2"_qs);
    QCOMPARE(m_window->lbeClickName->text(), u"Pump2"_qs);

    const DeviceRegistry stored = readRegistry(m_home->path());
    QCOMPARE(stored[1].DeviceSet.DeviceName, u"Pump2"_qs);
    QCOMPARE(stored[1].SaveFileSet.FileName1, u"Pump2"_qs);
    QCOMPARE(stored[1].SaveFileSet.FileName2, u"Pump2_backup"_qs);
    QVERIFY(stored[1]._3DSSetPath.endsWith(u"s3DS_Pump2.dat"_qs));
    // Its neighbours keep their names and places.
    QCOMPARE(stored[0].DeviceSet.DeviceName, u"Station"_qs);
    QCOMPARE(stored[2].DeviceSet.DeviceName, u"Well"_qs);
    QCOMPARE(stored[1].DeviceSet.TreeLevel, 1);
}

void DeviceTreeTest::modemTypeDefaultsOnlyForTheUsersChoice_data()
{
    QTest::addColumn<bool>("typed");
    QTest::newRow("chosen from the list") << false;
    QTest::newRow("typed") << true;
}

void DeviceTreeTest::modemTypeDefaultsOnlyForTheUsersChoice()
{
    QFETCH(bool, typed);
    writeRegistry(m_home->path(),
                  {{u"Radio"_qs, 0, u"MRX-417"_qs, {u"AT"_qs, u"ATDT"_qs, u"+++"_qs}},
                   {u"Bluetooth"_qs, 0, u"B/T(QN305)"_qs, {u"ATZ"_qs, u"ATD5"_qs, u"ATH0"_qs}}});
    openWindow();
    SetupPage *page = m_window->tabSetup;
    using C = SetupPageModel::Control;
    const QList<C> shown{C::clbModemType, C::edtCommand1, C::edtCallCmd, C::edtDisconnect,
                         C::cbbBaudrate, C::edtParity, C::edtStopbits};
    auto pageTexts = [&] {
        QStringList texts;
        for (C c : shown)
            texts << text(page->widget(c));
        return texts;
    };

    // Showing a stored "B/T(QN305)" device fills the page with its own commands.
    clickNode(1);
    QCOMPARE(pageTexts(), (QStringList{u"B/T(QN305)"_qs, u"ATZ"_qs, u"ATD5"_qs, u"ATH0"_qs,
                                       u"115200"_qs, u"Even"_qs, u"2"_qs}));

    clickNode(0);
    QCOMPARE(pageTexts(), (QStringList{u"MRX-417"_qs, u"AT"_qs, u"ATDT"_qs, u"+++"_qs,
                                       u"115200"_qs, u"Even"_qs, u"2"_qs}));
    QComboBox *type = page->clbModemType;
    if (typed) {
        type->lineEdit()->selectAll();
        QTest::keyClicks(type->lineEdit(), u"B/T(QN305)"_qs);
    } else {
        // The next entry of the list after "MRX-417".
        QTest::keyClick(type, Qt::Key_Down);
    }
    QCOMPARE(pageTexts(), (QStringList{u"B/T(QN305)"_qs, u"AT"_qs, u"ATD"_qs, u"ATH"_qs,
                                       u"9600"_qs, u"None"_qs, u"1"_qs}));
    // The device itself changes only when applied.
    QCOMPARE(readRegistry(m_home->path())[0].ModemSet.ModemType, u"MRX-417"_qs);
    QTest::mouseClick(page->btnApply, Qt::LeftButton);
    const Setup applied = readRegistry(m_home->path())[0];
    QCOMPARE(applied.ModemSet.ModemType, u"B/T(QN305)"_qs);
    QCOMPARE(applied.ModemSet.CallCMD, u"ATD"_qs);
    QCOMPARE(applied.PortSet.Baudrate, u"9600"_qs);
}

int main(int argc, char *argv[])
{
    KvlApplication app(argc, argv);
    DeviceTreeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_devicetree.moc"
