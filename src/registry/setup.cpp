#include "registry/setup.h"

#include "app/textcodec.h"

#include <QtEndian>

namespace kvl {

namespace {

class Writer {
public:
    explicit Writer(QByteArray &bytes) : m_bytes(bytes) {}

    void integer(int offset, qint32 value)
    {
        qToLittleEndian<qint32>(value, m_bytes.data() + offset);
    }
    void boolean(int offset, bool value)
    {
        // A stored non-zero other than 1 also reads as true: keep it as it was.
        const bool stored = m_bytes.at(offset) != 0;
        if (stored != value)
            m_bytes[offset] = value ? char(1) : char(0);
    }
    void shortString(int offset, int capacity, const QString &text)
    {
        const AnsiCodec &codec = AnsiCodec::instance();
        const int storedLength = qMin<int>(static_cast<quint8>(m_bytes.at(offset)), capacity);
        const QByteArray stored = m_bytes.mid(offset + 1, storedLength);
        if (codec.decode(stored) == text)
            return; // already there, byte for byte
        const QByteArray encoded = codec.encodeCut(text, capacity);
        m_bytes[offset] = static_cast<char>(encoded.size());
        // Bytes after the new length keep what they held, as the stored layout allows.
        m_bytes.replace(offset + 1, encoded.size(), encoded);
    }

private:
    QByteArray &m_bytes;
};

class Reader {
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}
    qint32 integer(int offset) const { return qFromLittleEndian<qint32>(m_bytes.data() + offset); }
    bool boolean(int offset) const { return m_bytes.at(offset) != 0; }
    QString shortString(int offset, int capacity) const
    {
        const int length = qMin<int>(static_cast<quint8>(m_bytes.at(offset)), capacity);
        return AnsiCodec::instance().decode(m_bytes.sliced(offset + 1, length).toByteArray());
    }

private:
    QByteArrayView m_bytes;
};

} // namespace

QString cutToCapacity(const QString &text, int capacity, const AnsiCodec &codec)
{
    return codec.decode(codec.encodeCut(text, capacity));
}

QString cutToCapacity(const QString &text, int capacity)
{
    return cutToCapacity(text, capacity, AnsiCodec::instance());
}

QByteArray Setup::toBytes() const
{
    namespace L = SetupLayout;
    namespace C = SetupCapacity;
    QByteArray bytes = image.size() == Size ? image : QByteArray(Size, '\0');
    Writer w(bytes);
    w.integer(L::TreeLevel, DeviceSet.TreeLevel);
    w.integer(L::TreeIndex, DeviceSet.TreeIndex);
    w.integer(L::TreeParentsIndex, DeviceSet.TreeParentsIndex);
    w.shortString(L::DeviceName, C::DeviceName, DeviceSet.DeviceName);
    w.shortString(L::LogID, C::LogID, DeviceSet.LogID);
    w.integer(L::Communication, DeviceSet.Communication);
    w.integer(L::COMPORT, PortSet.COMPORT);
    w.shortString(L::Baudrate, C::Baudrate, PortSet.Baudrate);
    w.shortString(L::Parity, C::Parity, PortSet.Parity);
    w.shortString(L::StopBits, C::StopBits, PortSet.StopBits);
    w.shortString(L::ModemNo, C::ModemString, ModemSet.ModemNo);
    w.shortString(L::ModemType, C::ModemString, ModemSet.ModemType);
    w.shortString(L::Command, C::ModemString, ModemSet.Command);
    w.shortString(L::CallCMD, C::ModemString, ModemSet.CallCMD);
    w.shortString(L::DiscntCMD, C::ModemString, ModemSet.DiscntCMD);
    w.shortString(L::IP, C::IP, TCPIPSet.IP);
    w.shortString(L::Port, C::Port, TCPIPSet.Port);
    w.boolean(L::SchDown, ScheduleSet.SchDown);
    w.boolean(L::SensorNoCheck, ScheduleSet.SensorNoCheck);
    w.boolean(L::CheckSum, ScheduleSet.CheckSum);
    w.boolean(L::DeleteDATAAfter, ScheduleSet.DeleteDATAAfter);
    w.boolean(L::AppendData, ScheduleSet.AppendData);
    w.integer(L::intervalMin, ScheduleSet.intervalMin);
    w.integer(L::DelayMin, ScheduleSet.DelayMin);
    w.boolean(L::_3DSCal, ScheduleSet._3DSCal);
    w.shortString(L::SavePath, C::SaveString, SaveFileSet.SavePath);
    w.shortString(L::FileName1, C::SaveString, SaveFileSet.FileName1);
    w.shortString(L::FileName2, C::SaveString, SaveFileSet.FileName2);
    w.shortString(L::_3DSSavePath, C::SaveString, SaveFileSet._3DSSavePath);
    w.shortString(L::_3DSFileName, C::SaveString, SaveFileSet._3DSFileName);
    w.shortString(L::_3DSSetPath, C::_3DSSetPath, _3DSSetPath);
    return bytes;
}

Setup Setup::fromBytes(QByteArrayView raw)
{
    namespace L = SetupLayout;
    namespace C = SetupCapacity;
    QByteArray bytes = raw.first(qMin<qsizetype>(raw.size(), Size)).toByteArray();
    if (bytes.size() < Size)
        bytes.append(Size - bytes.size(), '\0');
    const Reader r(bytes);
    Setup s;
    s.DeviceSet.TreeLevel = r.integer(L::TreeLevel);
    s.DeviceSet.TreeIndex = r.integer(L::TreeIndex);
    s.DeviceSet.TreeParentsIndex = r.integer(L::TreeParentsIndex);
    s.DeviceSet.DeviceName = r.shortString(L::DeviceName, C::DeviceName);
    s.DeviceSet.LogID = r.shortString(L::LogID, C::LogID);
    s.DeviceSet.Communication = r.integer(L::Communication);
    s.PortSet.COMPORT = r.integer(L::COMPORT);
    s.PortSet.Baudrate = r.shortString(L::Baudrate, C::Baudrate);
    s.PortSet.Parity = r.shortString(L::Parity, C::Parity);
    s.PortSet.StopBits = r.shortString(L::StopBits, C::StopBits);
    s.ModemSet.ModemNo = r.shortString(L::ModemNo, C::ModemString);
    s.ModemSet.ModemType = r.shortString(L::ModemType, C::ModemString);
    s.ModemSet.Command = r.shortString(L::Command, C::ModemString);
    s.ModemSet.CallCMD = r.shortString(L::CallCMD, C::ModemString);
    s.ModemSet.DiscntCMD = r.shortString(L::DiscntCMD, C::ModemString);
    s.TCPIPSet.IP = r.shortString(L::IP, C::IP);
    s.TCPIPSet.Port = r.shortString(L::Port, C::Port);
    s.ScheduleSet.SchDown = r.boolean(L::SchDown);
    s.ScheduleSet.SensorNoCheck = r.boolean(L::SensorNoCheck);
    s.ScheduleSet.CheckSum = r.boolean(L::CheckSum);
    s.ScheduleSet.DeleteDATAAfter = r.boolean(L::DeleteDATAAfter);
    s.ScheduleSet.AppendData = r.boolean(L::AppendData);
    s.ScheduleSet.intervalMin = r.integer(L::intervalMin);
    s.ScheduleSet.DelayMin = r.integer(L::DelayMin);
    s.ScheduleSet._3DSCal = r.boolean(L::_3DSCal);
    s.SaveFileSet.SavePath = r.shortString(L::SavePath, C::SaveString);
    s.SaveFileSet.FileName1 = r.shortString(L::FileName1, C::SaveString);
    s.SaveFileSet.FileName2 = r.shortString(L::FileName2, C::SaveString);
    s.SaveFileSet._3DSSavePath = r.shortString(L::_3DSSavePath, C::SaveString);
    s.SaveFileSet._3DSFileName = r.shortString(L::_3DSFileName, C::SaveString);
    s._3DSSetPath = r.shortString(L::_3DSSetPath, C::_3DSSetPath);
    s.image = bytes;
    return s;
}

Setup Setup::emptySlot(const Setup &previous)
{
    Setup s;
    s.ScheduleSet.intervalMin = 60;
    s.ScheduleSet.DelayMin = 5;
    s.SaveFileSet._3DSSavePath = previous.SaveFileSet._3DSSavePath;
    s.SaveFileSet._3DSFileName = previous.SaveFileSet._3DSFileName;
    // A fresh image: nothing of a deleted device lingers in the unused bytes, except the
    // two 3DS result fields that the reset does not touch.
    if (previous.image.size() == Size) {
        QByteArray bytes(Size, '\0');
        const int from = SetupLayout::_3DSSavePath;
        const int to = SetupLayout::_3DSSetPath;
        bytes.replace(from, to - from, previous.image.mid(from, to - from));
        s.image = bytes;
    }
    return s;
}

} // namespace kvl
