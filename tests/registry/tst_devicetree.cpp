// The device tree and setup page: building from Setting.dat, add / sub add / delete /
// rename / apply with the registry file they leave behind, and the modem type defaults.

#include "app/errorlog.h"
#include "app/programfolder.h"
#include "registry/devicetreeactions.h"
#include "registry/modemtype.h"
#include "support/testrig.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

using P = SetupPageModel;

struct Entry {
    QString name;
    int level;
};

// A device as a user would have left it: consistent with what applying the page gives,
// so that a device nobody touched comes back byte for byte.
Setup storedDevice(const QString &home, const QString &name, int level)
{
    Setup s;
    s.DeviceSet.TreeLevel = level;
    s.DeviceSet.DeviceName = name;
    s.DeviceSet.LogID = QStringLiteral("07");
    s.PortSet.COMPORT = 4;
    s.PortSet.Baudrate = QStringLiteral("9600");
    s.PortSet.Parity = QStringLiteral("None");
    s.PortSet.StopBits = QStringLiteral("1");
    s.ModemSet.ModemType = QStringLiteral("MRX-417");
    s.DeviceSet.Communication = 2;
    s.ModemSet.ModemNo = QStringLiteral("0105551234");
    s.ModemSet.Command = QStringLiteral("AT");
    s.ModemSet.CallCMD = QStringLiteral("ATDT");
    s.ModemSet.DiscntCMD = QStringLiteral("+++");
    s.ScheduleSet.SchDown = true;
    s.ScheduleSet.intervalMin = 15;
    s.ScheduleSet.DelayMin = 2;
    s.SaveFileSet.SavePath = QStringLiteral("/data/") + name;
    s.SaveFileSet.FileName1 = name;
    s.SaveFileSet.FileName2 = name + QStringLiteral("_backup");
    s._3DSSetPath = joinPath(home, QStringLiteral("s3DS_") + name + QStringLiteral(".dat"));
    return s;
}

// Writes Setting.dat with these devices in display order, tree positions as a tree of
// these levels gives them.
void storeTree(TestRig &rig, const QList<Entry> &entries)
{
    DeviceRegistry registry;
    int counters[8] = {};
    for (int k = 0; k < entries.size(); ++k) {
        const int level = entries[k].level;
        Setup s = storedDevice(rig.home.path(), entries[k].name, level);
        s.DeviceSet.TreeIndex = counters[level]++;
        for (int deeper = level + 1; deeper < 8; ++deeper)
            counters[deeper] = 0;
        s.DeviceSet.TreeParentsIndex = level == 0 ? -1 : counters[level - 1] - 1;
        registry[k] = s;
    }
    registry.SettingSave(rig.home.path());
}

QByteArray settingFile(const TestRig &rig)
{
    QFile file(joinPath(rig.home.path(), DeviceRegistry::fileName()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray slotBytes(const QByteArray &file, int slot) { return file.mid(slot * Setup::Size, Setup::Size); }

// The slot's record as the file holds it.
Setup storedSlot(const TestRig &rig, int slot) { return Setup::fromBytes(slotBytes(settingFile(rig), slot)); }

// Tree as text: "A(B,C),D".
QString shape(const DeviceTreeModel &tree, const QModelIndex &parent = {})
{
    QStringList parts;
    for (int row = 0; row < tree.rowCount(parent); ++row) {
        const QModelIndex idx = tree.index(row, 0, parent);
        QString part = idx.data().toString();
        if (tree.rowCount(idx) > 0)
            part += QLatin1Char('(') + shape(tree, idx) + QLatin1Char(')');
        parts << part;
    }
    return parts.join(QLatin1Char(','));
}

} // namespace

class DeviceTreeTest : public QObject {
    Q_OBJECT
private slots:
    void startUpLeavesNoDeviceCurrentUntilAClick();
    void levelJumpsArePlacedUnderThePreviousNode();
    void damagedSettingFileStillGivesTheTreeRead();
    void subAddUnderFirstShiftsSecondUnchanged();
    void deletingGroupMovesLaterDevicesWithTheir3DSResults();
    void limitsAreReportedAndChangeNothing();
    void levelThreeTakesSiblingsButNoChildren();
    void actionsWithNothingMarkedDoNotFail();
    void renameRenamesDataFilesAndGroupFile();
    void portTextIsStoredAsNumber_data();
    void portTextIsStoredAsNumber();
    void modemTypeDefaults_data();
    void modemTypeDefaults();
    void modemDefaultsRunOnlyOnUserChoices();
    void modemTypeFindComparesExactly();
};

void DeviceTreeTest::startUpLeavesNoDeviceCurrentUntilAClick()
{
    TestRig rig;
    rig.session.Version = QStringLiteral("KVL520 Ver2.0.3");
    storeTree(rig, {{QStringLiteral("A"), 0}, {QStringLiteral("B"), 0}, {QStringLiteral("C"), 0}});
    DeviceTreeActions actions(rig.session);
    rig.session.Selected_index = 2;
    actions.startUp();

    QCOMPARE(actions.tree().count(), 3);
    QCOMPARE(rig.session.Selected_index, -1);
    QCOMPARE(actions.tree().absoluteIndex(actions.tree().selected()), 2); // the mark stays on the last node
    QVERIFY(rig.hooks.messages.isEmpty());

    actions.ProjectViewClick(1);
    QCOMPARE(rig.session.Selected_index, 1);
    QCOMPARE(actions.labels().lbeSelectedDeviceName(), QStringLiteral("B"));
    QCOMPARE(actions.labels().lbeClickName(), QStringLiteral("B"));
    QCOMPARE(actions.labels().caption(), QStringLiteral("KVL520 Ver2.0.3 - B"));
    QCOMPARE(actions.labels().lbeDeviceInfo(),
             QStringLiteral("LogID: 07  PortNo: 4  Communication: LTE  ModemNo: 0105551234"));
    QCOMPARE(actions.page().text(P::cbbPortno), QStringLiteral("COM4"));
    QCOMPARE(actions.page().text(P::edtInterval), QStringLiteral("15"));
    QVERIFY(actions.page().checked(P::ckbSchedule));
    QCOMPARE(rig.hooks.progress.value(QStringLiteral("pgbTest")).last(), 0);
}

void DeviceTreeTest::levelJumpsArePlacedUnderThePreviousNode()
{
    TestRig rig;
    storeTree(rig, {{QStringLiteral("A"), 0}, {QStringLiteral("B"), 2}, {QStringLiteral("C"), 2},
                    {QStringLiteral("D"), 1}, {QStringLiteral("E"), 0}, {QStringLiteral("F"), 1},
                    {QStringLiteral("G"), 2}, {QStringLiteral("H"), 3}, {QStringLiteral("I"), 1}});
    DeviceTreeActions actions(rig.session);
    actions.startUp();
    QCOMPARE(shape(actions.tree()), QStringLiteral("A(B,C,D),E(F(G(H)),I)"));

    // Saved, the levels describe the tree as it stands.
    actions.AllSettingSave();
    QCOMPARE(rig.registry[1].DeviceSet.TreeLevel, 1);
    QCOMPARE(rig.registry[8].DeviceSet.TreeIndex, 1);
    QCOMPARE(rig.registry[8].DeviceSet.TreeParentsIndex, 1);
}

void DeviceTreeTest::damagedSettingFileStillGivesTheTreeRead()
{
    TestRig rig;
    storeTree(rig, {{QStringLiteral("A"), 0}, {QStringLiteral("B"), 0}, {QStringLiteral("C"), 0}});
    const QString path = joinPath(rig.home.path(), DeviceRegistry::fileName());
    QFile file(path);
    QVERIFY(file.resize(2 * Setup::Size + 10)); // the third name is not reached

    DeviceTreeActions actions(rig.session);
    QVERIFY_THROWS_EXCEPTION(PlatformError, actions.startUp());
    QCOMPARE(shape(actions.tree()), QStringLiteral("A,B"));
    QCOMPARE(rig.session.Selected_index, -1);
}

void DeviceTreeTest::subAddUnderFirstShiftsSecondUnchanged()
{
    TestRig rig;
    storeTree(rig, {{QStringLiteral("A"), 0}, {QStringLiteral("B"), 0}});
    const QByteArray before = settingFile(rig);
    DeviceTreeActions actions(rig.session);
    actions.startUp();

    actions.ProjectViewClick(0);
    QSignalSpy expand(&actions.tree(), &DeviceTreeModel::expandRequested);
    QCOMPARE(actions.btnDeviceSubAddClick(), 1);
    QCOMPARE(shape(actions.tree()), QStringLiteral("A(NewDevice),B"));
    QCOMPARE(expand.size(), 1);
    // A now has a child: the page is cleared and disabled, A stays marked.
    QVERIFY(!actions.page().isEnabled(P::edtSaveFile1));
    QCOMPARE(actions.page().text(P::edtSaveFile1), QString());
    QCOMPARE(rig.session.Selected_index, 0);

    const QByteArray after = settingFile(rig);
    QCOMPARE(after.size(), DeviceRegistry::FileSize);
    QCOMPARE(slotBytes(after, 0), slotBytes(before, 0));
    QCOMPARE(slotBytes(after, 2), slotBytes(before, 1));
    const Setup added = Setup::fromBytes(slotBytes(after, 1));
    QCOMPARE(added.DeviceSet.DeviceName, QStringLiteral("NewDevice"));
    QCOMPARE(added.DeviceSet.TreeLevel, 1);
    QCOMPARE(added.DeviceSet.TreeIndex, 0);
    QCOMPARE(added.DeviceSet.TreeParentsIndex, 0);
    // A new device: fixed port values, the page's modem texts (A's), its own data files.
    QCOMPARE(added.PortSet.COMPORT, 0);
    QCOMPARE(added.PortSet.Baudrate, QStringLiteral("115200"));
    QCOMPARE(added.ModemSet.ModemType, QStringLiteral("MRX-417"));
    QCOMPARE(added.ModemSet.ModemNo, QStringLiteral("0105551234"));
    QCOMPARE(added.ScheduleSet.intervalMin, 15);
    QVERIFY(!added.ScheduleSet.SchDown);
    QCOMPARE(added.SaveFileSet.SavePath,
             QDir::toNativeSeparators(rig.home.path() + QStringLiteral("/Data/")));
    QCOMPARE(added.SaveFileSet.FileName1, QStringLiteral("NewDevice"));
    QCOMPARE(added.SaveFileSet.FileName2, QStringLiteral("NewDevice_backup"));
    QCOMPARE(added._3DSSetPath, QString());
}

void DeviceTreeTest::deletingGroupMovesLaterDevicesWithTheir3DSResults()
{
    TestRig rig;
    storeTree(rig, {{QStringLiteral("X"), 0}, {QStringLiteral("G"), 0}, {QStringLiteral("c1"), 1},
                    {QStringLiteral("c2"), 1}, {QStringLiteral("c3"), 1}, {QStringLiteral("Y"), 0},
                    {QStringLiteral("Z"), 0}});
    const QByteArray before = settingFile(rig);
    DeviceTreeActions actions(rig.session);
    actions.startUp();
    // The 3DS pages write a device's result folder and name straight into its slot.
    rig.registry[5].SaveFileSet._3DSSavePath = QStringLiteral("/results/Y");
    rig.registry[5].SaveFileSet._3DSFileName = QStringLiteral("Y_3DS");
    rig.registry[6].SaveFileSet._3DSSavePath = QStringLiteral("/results/Z");
    rig.registry[6].SaveFileSet._3DSFileName = QStringLiteral("Z_3DS");

    actions.ProjectViewClick(1);
    rig.hooks.answers << false;
    QVERIFY(!actions.btnDeviceDelClick());
    QCOMPARE(rig.hooks.questions, QStringList{QStringLiteral("Are you sure you want to delete the List?\r\n")});
    QCOMPARE(actions.tree().count(), 7);
    QCOMPARE(settingFile(rig), before);

    rig.hooks.answers << true;
    QVERIFY(actions.btnDeviceDelClick());
    QCOMPARE(shape(actions.tree()), QStringLiteral("X,Y,Z"));
    // The old index would now name Z: no device is current until the next click.
    QCOMPARE(rig.session.Selected_index, -1);
    QCOMPARE(actions.tree().selected(), nullptr);

    const QByteArray after = settingFile(rig);
    const int treeFields = SetupLayout::DeviceName;
    for (int moved : {1, 2}) {
        const int from = moved + 4;
        QCOMPARE(slotBytes(after, moved).mid(treeFields).left(SetupLayout::_3DSSavePath - treeFields),
                 slotBytes(before, from).mid(treeFields).left(SetupLayout::_3DSSavePath - treeFields));
        const Setup s = Setup::fromBytes(slotBytes(after, moved));
        QCOMPARE(s.DeviceSet.TreeIndex, moved);
        QCOMPARE(s.DeviceSet.TreeParentsIndex, -1);
        QCOMPARE(s._3DSSetPath, Setup::fromBytes(slotBytes(before, from))._3DSSetPath);
    }
    QCOMPARE(storedSlot(rig, 1).SaveFileSet._3DSSavePath, QStringLiteral("/results/Y"));
    QCOMPARE(storedSlot(rig, 1).SaveFileSet._3DSFileName, QStringLiteral("Y_3DS"));
    QCOMPARE(storedSlot(rig, 2).SaveFileSet._3DSSavePath, QStringLiteral("/results/Z"));
    QCOMPARE(storedSlot(rig, 2).SaveFileSet._3DSFileName, QStringLiteral("Z_3DS"));
    for (int emptied = 3; emptied <= 6; ++emptied) {
        const Setup s = storedSlot(rig, emptied);
        QVERIFY(s.isEmpty());
        QCOMPARE(s.ScheduleSet.intervalMin, 60);
        QCOMPARE(s.ScheduleSet.DelayMin, 5);
    }

    // A device added into the slot Y used before does not take over Y's results.
    QCOMPARE(actions.btnDeviceAddClick(), 3);
    QCOMPARE(actions.btnDeviceAddClick(), 4);
    QCOMPARE(actions.btnDeviceAddClick(), 5);
    QCOMPARE(storedSlot(rig, 5).DeviceSet.DeviceName, QStringLiteral("NewDevice"));
    QVERIFY(storedSlot(rig, 5).SaveFileSet._3DSSavePath.isEmpty());
    QVERIFY(storedSlot(rig, 5).SaveFileSet._3DSFileName.isEmpty());
    QCOMPARE(storedSlot(rig, 1).SaveFileSet._3DSSavePath, QStringLiteral("/results/Y"));
}

void DeviceTreeTest::limitsAreReportedAndChangeNothing()
{
    TestRig rig;
    QList<Entry> full;
    for (int k = 0; k < DeviceRegistry::SlotCount; ++k)
        full << Entry{QStringLiteral("D%1").arg(k), 0};
    storeTree(rig, full);
    const QByteArray before = settingFile(rig);
    DeviceTreeActions actions(rig.session);
    actions.startUp();
    actions.ProjectViewClick(10);

    QCOMPARE(actions.btnDeviceAddClick(), -1);
    QCOMPARE(actions.btnDeviceSubAddClick(), -1);
    QCOMPARE(rig.hooks.messages,
             (QStringList{QStringLiteral("등록 최대치 초과 하였습니다."), QStringLiteral("Over max item number.")}));
    QCOMPARE(actions.tree().count(), DeviceRegistry::SlotCount);
    QCOMPARE(settingFile(rig), before);
}

void DeviceTreeTest::levelThreeTakesSiblingsButNoChildren()
{
    TestRig rig;
    storeTree(rig, {{QStringLiteral("A"), 0}, {QStringLiteral("B"), 1}, {QStringLiteral("C"), 2},
                    {QStringLiteral("D"), 3}});
    DeviceTreeActions actions(rig.session);
    actions.startUp();
    actions.ProjectViewClick(3);

    QCOMPARE(actions.btnDeviceSubAddClick(), -1);
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Too low-level.")});
    QCOMPARE(actions.btnDeviceAddClick(), 4);
    QCOMPARE(rig.hooks.messages.size(), 1);
    QCOMPARE(shape(actions.tree()), QStringLiteral("A(B(C(D,NewDevice)))"));
    const Setup added = storedSlot(rig, 4);
    QCOMPARE(added.DeviceSet.TreeLevel, 3);
    QCOMPARE(added.DeviceSet.TreeIndex, 1);
    QCOMPARE(added.DeviceSet.TreeParentsIndex, 0);
    // The mark stays on D, which is shown again.
    QCOMPARE(rig.session.Selected_index, 3);
}

void DeviceTreeTest::actionsWithNothingMarkedDoNotFail()
{
    TestRig rig;
    DeviceTreeActions actions(rig.session);
    actions.startUp();
    QCOMPARE(actions.tree().count(), 0);

    QVERIFY(!actions.btnApplyClick());
    QVERIFY(!actions.canRename());
    QVERIFY(!actions.ProjectViewEdited(QStringLiteral("X")));
    QVERIFY(!actions.btnDeviceDelClick());
    QVERIFY(rig.hooks.questions.isEmpty());
    QVERIFY(settingFile(rig).isEmpty());

    // "Sub Add" with nothing marked adds a top-level device, as "Add" does.
    actions.page().userSetText(P::edtInterval, QStringLiteral("abc"));
    QCOMPARE(actions.btnDeviceSubAddClick(), 0);
    QCOMPARE(actions.btnDeviceAddClick(), 1);
    QCOMPARE(shape(actions.tree()), QStringLiteral("NewDevice,NewDevice"));
    QCOMPARE(rig.session.Selected_index, -1);
    QCOMPARE(storedSlot(rig, 1).DeviceSet.TreeLevel, 0);
    QCOMPARE(storedSlot(rig, 1).DeviceSet.TreeIndex, 1);
    QCOMPARE(storedSlot(rig, 0).ScheduleSet.intervalMin, 60);
    QCOMPARE(storedSlot(rig, 0).ScheduleSet.DelayMin, 5);
    QVERIFY(rig.hooks.messages.isEmpty());
}

void DeviceTreeTest::renameRenamesDataFilesAndGroupFile()
{
    TestRig rig;
    storeTree(rig, {{QStringLiteral("Pump0"), 0}, {QStringLiteral("Pump1"), 0}});
    DeviceTreeActions actions(rig.session);
    actions.startUp();

    // Straight after start-up the mark is on Pump1 while no device is current: editing its
    // name still saves it in its own slot.
    QVERIFY(actions.canRename());
    QVERIFY(actions.tree().setData(actions.tree().indexAt(1), QStringLiteral("Pump2")));
    QCOMPARE(actions.tree().indexAt(1).data().toString(), QStringLiteral("Pump2"));
    const Setup s = storedSlot(rig, 1);
    QCOMPARE(s.DeviceSet.DeviceName, QStringLiteral("Pump2"));
    QCOMPARE(s.SaveFileSet.FileName1, QStringLiteral("Pump2"));
    QCOMPARE(s.SaveFileSet.FileName2, QStringLiteral("Pump2_backup"));
    QVERIFY(s._3DSSetPath.endsWith(QStringLiteral("s3DS_Pump2.dat")));
    QCOMPARE(s.SaveFileSet.SavePath, QStringLiteral("/data/Pump1"));
    QCOMPARE(actions.labels().lbeSelectedDeviceName(), QStringLiteral("Pump2"));
    QCOMPARE(actions.labels().lbeClickName(), QStringLiteral("Pump2"));
    QCOMPARE(storedSlot(rig, 0).DeviceSet.DeviceName, QStringLiteral("Pump0"));

    // An empty name is refused: a nameless slot would read as the end of the registry.
    QVERIFY(!actions.ProjectViewEdited(QString()));
    QCOMPARE(storedSlot(rig, 1).DeviceSet.DeviceName, QStringLiteral("Pump2"));
}

void DeviceTreeTest::portTextIsStoredAsNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored");
    QTest::newRow("COM12") << QStringLiteral("COM12") << 12;
    QTest::newRow("7") << QStringLiteral("7") << 7;
    QTest::newRow("No COM Port") << QStringLiteral("No COM Port") << 0;
    QTest::newRow("lower case") << QStringLiteral("com3") << 3;
}

void DeviceTreeTest::portTextIsStoredAsNumber()
{
    QFETCH(QString, text);
    QFETCH(int, stored);
    TestRig rig;
    storeTree(rig, {{QStringLiteral("A"), 0}});
    DeviceTreeActions actions(rig.session);
    actions.startUp();
    actions.ProjectViewClick(0);
    QVERIFY(actions.page().userSetText(P::cbbPortno, text));
    QVERIFY(actions.btnApplyClick());
    QCOMPARE(storedSlot(rig, 0).PortSet.COMPORT, stored);
}

void DeviceTreeTest::modemTypeDefaults_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("disconnect");
    QTest::addColumn<QString>("baudrate");
    QTest::addColumn<QString>("modemNoLabel");
    QTest::addColumn<QString>("commandLabel");
    const QString phone = QStringLiteral("Phone No");
    const QString command = QStringLiteral("Command");
    QTest::newRow("B/T(QN305)") << QStringLiteral("B/T(QN305)") << QStringLiteral("AT") << QStringLiteral("ATD")
                                << QStringLiteral("ATH") << QStringLiteral("9600") << phone << command;
    QTest::newRow("N-Warden") << QStringLiteral("N-Warden") << QStringLiteral("AT+CRM=129") << QStringLiteral("ATDT")
                              << QStringLiteral("^]+++^[") << QStringLiteral("9600") << phone << command;
    QTest::newRow("etc") << QStringLiteral("etc") << QStringLiteral("Insert Command") << QStringLiteral("Insert Command")
                         << QStringLiteral("Insert Command") << QStringLiteral("9600") << phone << command;
    QTest::newRow("Direct") << QStringLiteral("Direct") << QString() << QString() << QString()
                            << QStringLiteral("9600") << phone << command;
    QTest::newRow("TCP/IP") << QStringLiteral("TCP/IP") << QString() << QString() << QString()
                            << QStringLiteral("115200") << QStringLiteral("TCP/IP") << QStringLiteral("PORT");
}

void DeviceTreeTest::modemTypeDefaults()
{
    QFETCH(QString, type);
    QFETCH(QString, command);
    QFETCH(QString, call);
    QFETCH(QString, disconnect);
    QFETCH(QString, baudrate);
    QFETCH(QString, modemNoLabel);
    QFETCH(QString, commandLabel);
    SetupPageModel page;
    page.setText(P::edtModemNo, QStringLiteral("0105551234"));
    page.setText(P::edtCommand1, QStringLiteral("old"));
    page.setText(P::edtCallCmd, QStringLiteral("old"));
    page.setText(P::edtDisconnect, QStringLiteral("old"));
    page.setText(P::edtParity, QStringLiteral("EVEN"));

    QVERIFY(page.userSetText(P::clbModemType, type));
    QCOMPARE(page.text(P::edtCommand1), command);
    QCOMPARE(page.text(P::edtCallCmd), call);
    QCOMPARE(page.text(P::edtDisconnect), disconnect);
    QCOMPARE(page.text(P::cbbBaudrate), baudrate);
    QCOMPARE(page.label(P::edtModemNo), modemNoLabel);
    QCOMPARE(page.label(P::edtCommand1), commandLabel);
    const bool tcp = type == u"TCP/IP";
    QCOMPARE(page.text(P::edtModemNo), tcp ? QString() : QStringLiteral("0105551234"));
    QCOMPARE(page.text(P::edtParity), tcp ? QStringLiteral("EVEN") : QStringLiteral("None"));
}

void DeviceTreeTest::modemDefaultsRunOnlyOnUserChoices()
{
    SetupPageModel page;
    // Filling the page from a record leaves the stored commands alone.
    page.setText(P::clbModemType, QStringLiteral("MRX-417"));
    page.setText(P::edtCommand1, QStringLiteral("AT&F"));
    QCOMPARE(page.text(P::cbbBaudrate), QStringLiteral("115200"));
    QCOMPARE(page.text(P::edtCommand1), QStringLiteral("AT&F"));

    // Choosing a baud rate runs the type's defaults but keeps the rate just chosen.
    QVERIFY(page.userSetText(P::cbbBaudrate, QStringLiteral("115200")));
    QCOMPARE(page.text(P::cbbBaudrate), QStringLiteral("115200"));
    QCOMPARE(page.text(P::edtCommand1), QStringLiteral("AT"));
    QCOMPARE(page.text(P::edtDisconnect), QStringLiteral("+++"));

    // An empty type text changes nothing; a disabled page takes no edits.
    page.setText(P::edtCommand1, QStringLiteral("kept"));
    QVERIFY(page.userSetText(P::clbModemType, QString()));
    QCOMPARE(page.text(P::edtCommand1), QStringLiteral("kept"));
    page.SetupEnable(false);
    QVERIFY(!page.userSetText(P::clbModemType, QStringLiteral("etc")));
    QVERIFY(!page.userSetField(QStringLiteral("SchDown"), QStringLiteral("1")));
    QCOMPARE(page.text(P::edtCommand1), QString());
    QVERIFY(page.userSetField(QStringLiteral("LogID"), QStringLiteral("03")));
    QCOMPARE(page.text(P::clbLogID), QStringLiteral("03"));
}

void DeviceTreeTest::modemTypeFindComparesExactly()
{
    QCOMPARE(MdoemTypeFind(QStringLiteral("H315k")), 1);
    QCOMPARE(MdoemTypeFind(QStringLiteral("JT004")), 2);
    QCOMPARE(MdoemTypeFind(QStringLiteral("N-Warden")), 3);
    QCOMPARE(MdoemTypeFind(QStringLiteral("B/T(QN305)")), 4);
    QCOMPARE(MdoemTypeFind(QStringLiteral("etc")), 5);
    QCOMPARE(MdoemTypeFind(QStringLiteral("MRX-417")), 6);
    QCOMPARE(MdoemTypeFind(QStringLiteral("mrx-417")), 0);
    QCOMPARE(MdoemTypeFind(QStringLiteral("TCP/IP")), 0);
    QCOMPARE(MdoemTypeFind(QString()), 0);
}

QTEST_GUILESS_MAIN(DeviceTreeTest)
#include "tst_devicetree.moc"
