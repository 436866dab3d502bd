// The device record and Setting.dat: sizes, the offset of every field, the empty-slot
// values, cutting to capacity, byte-for-byte round trips and the failures of the store.

#include "app/errorlog.h"
#include "app/textcodec.h"
#include "registry/deviceregistry.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace kvl;

namespace {

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(v, b.data());
    return b;
}

QByteArray shortString(const char *latin1)
{
    const QByteArray text(latin1);
    return char(text.size()) + text;
}

// Every field set, each to a value of its own, so a field written at another field's
// place shows in the bytes.
Setup distinctRecord()
{
    Setup s;
    s.DeviceSet.TreeLevel = 2;
    s.DeviceSet.TreeIndex = 0x01020304;
    s.DeviceSet.TreeParentsIndex = -1;
    s.DeviceSet.DeviceName = QStringLiteral("Dam North");
    s.DeviceSet.LogID = QStringLiteral("07");
    s.DeviceSet.Communication = 3;
    s.PortSet.COMPORT = 33;
    s.PortSet.Baudrate = QStringLiteral("115200");
    s.PortSet.Parity = QStringLiteral("EVEN");
    s.PortSet.StopBits = QStringLiteral("1");
    s.ModemSet.ModemNo = QStringLiteral("0123456789");
    s.ModemSet.ModemType = QStringLiteral("MRX-417");
    s.ModemSet.Command = QStringLiteral("ATZ");
    s.ModemSet.CallCMD = QStringLiteral("ATD");
    s.ModemSet.DiscntCMD = QStringLiteral("ATH0");
    s.TCPIPSet.IP = QStringLiteral("10.0.0.1");
    s.TCPIPSet.Port = QStringLiteral("8080");
    s.ScheduleSet.SchDown = true;
    s.ScheduleSet.SensorNoCheck = false;
    s.ScheduleSet.CheckSum = true;
    s.ScheduleSet.DeleteDATAAfter = false;
    s.ScheduleSet.AppendData = true;
    s.ScheduleSet.intervalMin = 61;
    s.ScheduleSet.DelayMin = -7;
    s.ScheduleSet._3DSCal = true;
    s.SaveFileSet.SavePath = QStringLiteral("C:\\KVL\\Data\\");
    s.SaveFileSet.FileName1 = QStringLiteral("Dam1");
    s.SaveFileSet.FileName2 = QStringLiteral("Dam1_backup");
    s.SaveFileSet._3DSSavePath = QStringLiteral("C:\\KVL\\3DS");
    s.SaveFileSet._3DSFileName = QStringLiteral("Res");
    s._3DSSetPath = QStringLiteral("C:\\KVL\\s3DS_Dam North.dat");
    return s;
}

// What an empty slot holds on disk: zero except intervalMin 60 and DelayMin 5.
QByteArray emptySlotImage()
{
    QByteArray b(Setup::Size, '\0');
    b.replace(SetupLayout::intervalMin, 4, le32(60));
    b.replace(SetupLayout::DelayMin, 4, le32(5));
    return b;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray randomImage(quint32 seed)
{
    QRandomGenerator rng(seed);
    QByteArray image(DeviceRegistry::FileSize, '\0');
    for (char &c : image)
        c = char(rng.bounded(256));
    return image;
}

} // namespace

class SettingDatTest : public QObject {
    Q_OBJECT
private slots:
    void fieldOffsets_data();
    void fieldOffsets();
    void fieldsReadBack();
    void twoDevicesAndEmptySlots();
    void longNameStoredAsFirst100Bytes();
    void cutNeverSplitsDoubleByteCharacter_data();
    void cutNeverSplitsDoubleByteCharacter();
    void loadSaveByteForByte();
    void missingFileLeavesRegistryEmpty();
    void shortFileIsReportedAndKept();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
};

void SettingDatTest::fieldOffsets_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");

    QCOMPARE(Setup::Size, 1956);
    QCOMPARE(DeviceRegistry::SlotCount, 255);
    QCOMPARE(DeviceRegistry::FileSize, 498780);

    QTest::newRow("TreeLevel") << 0 << le32(2);
    QTest::newRow("TreeIndex") << 4 << le32(0x01020304);
    QTest::newRow("TreeParentsIndex") << 8 << le32(-1);
    QTest::newRow("DeviceName") << 12 << shortString("Dam North");
    QTest::newRow("LogID") << 113 << shortString("07");
    QTest::newRow("Communication") << 116 << le32(3);
    QTest::newRow("COMPORT") << 120 << le32(33);
    QTest::newRow("Baudrate") << 124 << shortString("115200");
    QTest::newRow("Parity") << 135 << shortString("EVEN");
    QTest::newRow("StopBits") << 141 << shortString("1");
    QTest::newRow("ModemNo") << 148 << shortString("0123456789");
    QTest::newRow("ModemType") << 199 << shortString("MRX-417");
    QTest::newRow("Command") << 250 << shortString("ATZ");
    QTest::newRow("CallCMD") << 301 << shortString("ATD");
    QTest::newRow("DiscntCMD") << 352 << shortString("ATH0");
    QTest::newRow("IP") << 403 << shortString("10.0.0.1");
    QTest::newRow("Port") << 419 << shortString("8080");
    QTest::newRow("SchDown..AppendData") << 424 << QByteArray("\1\0\1\0\1", 5);
    QTest::newRow("intervalMin") << 432 << le32(61);
    QTest::newRow("DelayMin") << 436 << le32(-7);
    QTest::newRow("_3DSCal") << 440 << QByteArray("\1", 1);
    QTest::newRow("SavePath") << 444 << shortString("C:\\KVL\\Data\\");
    QTest::newRow("FileName1") << 695 << shortString("Dam1");
    QTest::newRow("FileName2") << 946 << shortString("Dam1_backup");
    QTest::newRow("_3DSSavePath") << 1197 << shortString("C:\\KVL\\3DS");
    QTest::newRow("_3DSFileName") << 1448 << shortString("Res");
    QTest::newRow("_3DSSetPath") << 1699 << shortString("C:\\KVL\\s3DS_Dam North.dat");
}

void SettingDatTest::fieldOffsets()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    const QByteArray image = distinctRecord().toBytes();
    QCOMPARE(image.size(), Setup::Size);
    QCOMPARE(image.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
}

void SettingDatTest::fieldsReadBack()
{
    const Setup in = distinctRecord();
    const Setup out = Setup::fromBytes(in.toBytes());
    QCOMPARE(out.DeviceSet.TreeIndex, in.DeviceSet.TreeIndex);
    QCOMPARE(out.DeviceSet.TreeParentsIndex, -1);
    QCOMPARE(out.DeviceSet.DeviceName, in.DeviceSet.DeviceName);
    QCOMPARE(out.PortSet.Parity, in.PortSet.Parity);
    QCOMPARE(out.ModemSet.DiscntCMD, in.ModemSet.DiscntCMD);
    QCOMPARE(out.ScheduleSet.SensorNoCheck, false);
    QCOMPARE(out.ScheduleSet.AppendData, true);
    QCOMPARE(out.ScheduleSet.DelayMin, -7);
    QCOMPARE(out.SaveFileSet._3DSFileName, in.SaveFileSet._3DSFileName);
    QCOMPARE(out._3DSSetPath, in._3DSSetPath);

    // Any non-zero byte reads as true, and a saved record keeps that byte as it was.
    QByteArray raw = in.toBytes();
    raw[SetupLayout::SensorNoCheck] = char(7);
    const Setup odd = Setup::fromBytes(raw);
    QVERIFY(odd.ScheduleSet.SensorNoCheck);
    QCOMPARE(odd.toBytes(), raw);
}

void SettingDatTest::twoDevicesAndEmptySlots()
{
    QTemporaryDir home;
    DeviceRegistry registry;
    for (int k = 0; k < 2; ++k) {
        Setup &d = registry[k];
        d.DeviceSet.DeviceName = QStringLiteral("NewDevice");
        d.DeviceSet.TreeIndex = k;
        d.DeviceSet.TreeParentsIndex = -1;
        d.PortSet.Baudrate = QStringLiteral("115200");
        d.PortSet.Parity = QStringLiteral("None");
        d.PortSet.StopBits = QStringLiteral("1");
        d.ScheduleSet.intervalMin = 60;
        d.ScheduleSet.DelayMin = 5;
        d.SaveFileSet.FileName1 = QStringLiteral("NewDevice");
        d.SaveFileSet.FileName2 = QStringLiteral("NewDevice_backup");
    }
    // A deleted device left behind in slot 3: the reset clears it but keeps its 3DS
    // result folder and name.
    registry[3] = distinctRecord();
    registry.clearSlotsFrom(2);
    registry.SettingSave(home.path());

    const QByteArray file = readFile(home.filePath(QStringLiteral("Setting.dat")));
    QCOMPARE(file.size(), 498780);
    QCOMPARE(file.mid(12, 10), QByteArray("\x09NewDevice"));
    QCOMPARE(file.mid(Setup::Size + 12, 10), QByteArray("\x09NewDevice"));
    QCOMPARE(registry.deviceCount(), 2);

    QByteArray slot3Expected = emptySlotImage();
    slot3Expected.replace(SetupLayout::_3DSSavePath, 11, shortString("C:\\KVL\\3DS"));
    slot3Expected.replace(SetupLayout::_3DSFileName, 4, shortString("Res"));
    for (int k = 2; k < DeviceRegistry::SlotCount; ++k) {
        const QByteArray slot = file.mid(qsizetype(k) * Setup::Size, Setup::Size);
        QCOMPARE(slot.toHex(), (k == 3 ? slot3Expected : emptySlotImage()).toHex());
    }
    QCOMPARE(file.mid(3912 + 432, 8), le32(60) + le32(5));
}

void SettingDatTest::longNameStoredAsFirst100Bytes()
{
    QString name;
    for (int i = 0; i < 120; ++i)
        name += QChar(u'a' + i % 26);
    Setup s;
    s.DeviceSet.DeviceName = name;
    const QByteArray image = s.toBytes();
    QCOMPARE(int(quint8(image.at(SetupLayout::DeviceName))), 100);
    QCOMPARE(image.mid(SetupLayout::DeviceName + 1, 100), name.left(100).toLatin1());
    QCOMPARE(image.at(SetupLayout::LogID), '\0'); // nothing spilled into the next field
    QCOMPARE(Setup::fromBytes(image).DeviceSet.DeviceName, name.left(100));
    QCOMPARE(cutToCapacity(name, 100), name.left(100));
}

void SettingDatTest::cutNeverSplitsDoubleByteCharacter_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("bytes");

    const QString ga = QStringLiteral("\uAC00"); // two bytes in CP949
    const QString a = QStringLiteral("A");
    const QString n12 = QStringLiteral("12");
    const QString cp949 = QStringLiteral("949");
    QTest::newRow("949 odd boundary") << cp949 << (a + ga.repeated(60)) << 100 << (a + ga.repeated(49)) << 99;
    QTest::newRow("949 even boundary") << cp949 << ga.repeated(60) << 100 << ga.repeated(50) << 100;
    QTest::newRow("949 fits") << cp949 << (ga + n12) << 4 << (ga + n12) << 4;
    QTest::newRow("949 one byte short") << cp949 << (n12 + ga) << 3 << n12 << 2;
    QTest::newRow("1252 plain cut") << QStringLiteral("1252") << QStringLiteral("\u00e9t\u00e9 2024") << 4
                                    << QStringLiteral("\u00e9t\u00e9 ") << 4;
}

void SettingDatTest::cutNeverSplitsDoubleByteCharacter()
{
    QFETCH(QString, codePage);
    QFETCH(QString, text);
    QFETCH(int, capacity);
    QFETCH(QString, stored);
    QFETCH(int, bytes);
    const AnsiCodec codec(codePage);
    QCOMPARE(cutToCapacity(text, capacity, codec), stored);
    QCOMPARE(codec.encodeCut(text, capacity).size(), bytes);
}

void SettingDatTest::loadSaveByteForByte()
{
    // Random bytes everywhere: lengths beyond capacity, Booleans other than 0 and 1,
    // padding and the bytes after each string all come back as they were.
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("Setting.dat"));
    const QByteArray original = randomImage(520);
    writeFile(path, original);

    DeviceRegistry registry;
    registry.SettingOpen(home.path());
    registry.SettingSave(home.path());
    const QByteArray saved = readFile(path);
    QCOMPARE(saved.size(), original.size());
    for (qsizetype i = 0; i < saved.size(); ++i)
        if (saved.at(i) != original.at(i))
            QFAIL(qPrintable(QStringLiteral("first difference at byte %1 (slot %2, offset %3)")
                                 .arg(i).arg(i / Setup::Size).arg(i % Setup::Size)));

    // A longer file is read up to the registry's size; the rest is ignored.
    writeFile(path, original + QByteArray(100, 'x'));
    DeviceRegistry longer;
    longer.SettingOpen(home.path());
    QCOMPARE(longer.toBytes(), original);
}

void SettingDatTest::missingFileLeavesRegistryEmpty()
{
    QTemporaryDir home;
    DeviceRegistry registry;
    registry.SettingOpen(home.path());
    QCOMPARE(registry.deviceCount(), 0);
    QCOMPARE(registry.toBytes(), QByteArray(DeviceRegistry::FileSize, '\0'));
    QVERIFY(!QFile::exists(home.filePath(QStringLiteral("Setting.dat"))));
}

void SettingDatTest::shortFileIsReportedAndKept()
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("Setting.dat"));
    const QString kept = path + QStringLiteral(".bad");

    DeviceRegistry full;
    for (int k = 0; k < 3; ++k) {
        full[k].DeviceSet.DeviceName = QStringLiteral("Logger %1").arg(k);
        full[k].DeviceSet.TreeLevel = 10 + k;
    }
    const QByteArray image = full.toBytes();
    const QByteArray firstShort = image.left(2 * Setup::Size + 8); // slot 2 cut inside
    writeFile(path, firstShort);

    DeviceRegistry registry;
    QVERIFY_THROWS_EXCEPTION(PlatformError, registry.SettingOpen(home.path()));
    QCOMPARE(registry[0].DeviceSet.DeviceName, QStringLiteral("Logger 0"));
    QCOMPARE(registry[1].DeviceSet.DeviceName, QStringLiteral("Logger 1"));
    QCOMPARE(registry[2].DeviceSet.TreeLevel, 12); // the part of slot 2 that was read
    QVERIFY(registry[2].DeviceSet.DeviceName.isEmpty());
    QCOMPARE(readFile(kept), firstShort);
    QCOMPARE(readFile(path), firstShort); // the damaged file itself is left alone

    // The same damaged file at the next start is not copied again.
    DeviceRegistry again;
    QVERIFY_THROWS_EXCEPTION(PlatformError, again.SettingOpen(home.path()));
    QVERIFY(!QFile::exists(path + QStringLiteral(".bad1")));

    // Another damaged file never overwrites the first copy.
    const QByteArray secondShort = image.left(100);
    writeFile(path, secondShort);
    DeviceRegistry third;
    try {
        third.SettingOpen(home.path());
        QFAIL("a short file must raise");
    } catch (const PlatformError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("Setting.dat.bad1")), qPrintable(e.message()));
    }
    QCOMPARE(readFile(kept), firstShort);
    QCOMPARE(readFile(path + QStringLiteral(".bad1")), secondShort);
}

void SettingDatTest::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("read-only folder") << QStringLiteral("readonly");
    QTest::newRow("disk full") << QStringLiteral("fsize");
}

void SettingDatTest::failedSaveKeepsOldFile()
{
    QFETCH(QString, failure);
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("Setting.dat"));
    const QByteArray old = randomImage(7);
    writeFile(path, old);

    DeviceRegistry registry;
    registry[0].DeviceSet.DeviceName = QStringLiteral("Changed");

    bool raised = false;
    if (failure == u"readonly") {
        QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::ExeOwner);
        const bool stillWritable = QFile(home.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
        if (stillWritable) {
            QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("folder permissions do not bind this user (root)");
        }
        try { registry.SettingSave(home.path()); } catch (const PlatformError &) { raised = true; }
        QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        // A file size limit makes the write fail part-way, as a full disk does.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        try { registry.SettingSave(home.path()); } catch (const PlatformError &) { raised = true; }
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    QVERIFY(raised);
    QCOMPARE(readFile(path), old);
    const QStringList left = QDir(home.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList{QStringLiteral("Setting.dat")}); // no temporary file left
}

QTEST_GUILESS_MAIN(SettingDatTest)
#include "tst_settingdat.moc"
