#pragma once
// The device record as stored in Setting.dat: 1956 bytes per device, little-endian
// integers at natural alignment, short strings as a length byte followed by the text in
// the ANSI code page. Read and written field by field at fixed offsets.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kvl {

struct Device {
    qint32 TreeLevel = 0;        // depth of the node: 0 top level, 1 child, ...
    qint32 TreeIndex = 0;        // position among its siblings
    qint32 TreeParentsIndex = 0; // the parent's position among its siblings; -1 top level
    QString DeviceName;          // empty name = empty slot
    QString LogID;               // logger address used in commands, "00".."15"
    qint32 Communication = 0;    // 0 serial, 1 CDMA, 2 LTE, 3 TCP (display only)
};

struct PortInfo {
    qint32 COMPORT = 0;
    QString Baudrate;
    QString Parity;
    QString StopBits;
};

struct Modem {
    QString ModemNo;
    QString ModemType;
    QString Command;
    QString CallCMD;
    QString DiscntCMD;
};

struct TCPIP {
    QString IP;
    QString Port;
};

struct Schedule {
    bool SchDown = false;
    bool SensorNoCheck = false;
    bool CheckSum = false;
    bool DeleteDATAAfter = false;
    bool AppendData = false;
    qint32 intervalMin = 0;
    qint32 DelayMin = 0;
    bool _3DSCal = false;
};

struct SaveFile {
    QString SavePath;
    QString FileName1;
    QString FileName2;
    QString _3DSSavePath;
    QString _3DSFileName;
};

struct Setup {
    Device DeviceSet;
    PortInfo PortSet;
    Modem ModemSet;
    TCPIP TCPIPSet;
    Schedule ScheduleSet;
    SaveFile SaveFileSet;
    QString _3DSSetPath;

    // The bytes this record was last read from or written to: padding and the unused
    // bytes after each string's length are kept as they were, so a load and a save give
    // back the same file byte for byte.
    QByteArray image;

    static constexpr int Size = 1956;

    bool isEmpty() const { return DeviceSet.DeviceName.isEmpty(); }

    QByteArray toBytes() const;                 // exactly Size bytes
    static Setup fromBytes(QByteArrayView raw); // raw is Size bytes (shorter: zero-filled)

    // The values of a slot beyond the last device: all zero, empty and false except
    // intervalMin 60 and DelayMin 5. The 3DS result folder and name are kept.
    static Setup emptySlot(const Setup &previous);
};

// Field offsets from the start of the record.
namespace SetupLayout {
constexpr int TreeLevel = 0;
constexpr int TreeIndex = 4;
constexpr int TreeParentsIndex = 8;
constexpr int DeviceName = 12;      // string[100]
constexpr int LogID = 113;          // string[2]
constexpr int Communication = 116;
constexpr int COMPORT = 120;
constexpr int Baudrate = 124;       // string[10]
constexpr int Parity = 135;         // string[5]
constexpr int StopBits = 141;       // string[3]
constexpr int ModemNo = 148;        // string[50]
constexpr int ModemType = 199;
constexpr int Command = 250;
constexpr int CallCMD = 301;
constexpr int DiscntCMD = 352;
constexpr int IP = 403;             // string[15]
constexpr int Port = 419;           // string[4]
constexpr int SchDown = 424;
constexpr int SensorNoCheck = 425;
constexpr int CheckSum = 426;
constexpr int DeleteDATAAfter = 427;
constexpr int AppendData = 428;
constexpr int intervalMin = 432;
constexpr int DelayMin = 436;
constexpr int _3DSCal = 440;
constexpr int SavePath = 444;       // string[250]
constexpr int FileName1 = 695;
constexpr int FileName2 = 946;
constexpr int _3DSSavePath = 1197;
constexpr int _3DSFileName = 1448;
constexpr int _3DSSetPath = 1699;   // string[255]
} // namespace SetupLayout

// Field capacities in bytes (the record stores capacity + 1 bytes per string).
namespace SetupCapacity {
constexpr int DeviceName = 100;
constexpr int LogID = 2;
constexpr int Baudrate = 10;
constexpr int Parity = 5;
constexpr int StopBits = 3;
constexpr int ModemString = 50;
constexpr int IP = 15;
constexpr int Port = 4;
constexpr int SaveString = 250;
constexpr int _3DSSetPath = 255;
} // namespace SetupCapacity

class AnsiCodec;

// The text as it will be stored in a field of the given capacity (cut on a character
// boundary in the ANSI code page, or in the given code page).
QString cutToCapacity(const QString &text, int capacity);
QString cutToCapacity(const QString &text, int capacity, const AnsiCodec &codec);

} // namespace kvl
