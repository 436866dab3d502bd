#include "registry/deviceregistry.h"

#include "app/errorlog.h"
#include "app/programfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kvl {

namespace {

// Keeps a damaged registry file beside the original before anything can overwrite it:
// "Setting.dat.bad", then ".bad1", ".bad2", ... An earlier copy is never overwritten, and a
// file that is already kept unchanged (the same damaged file opened at the next start) is
// not copied again. Returns the kept copy's file name, empty when none could be made.
QString keepDamagedCopy(const QString &path)
{
    QFile damaged(path);
    const bool readable = damaged.open(QIODevice::ReadOnly);
    const QByteArray content = readable ? damaged.readAll() : QByteArray();
    damaged.close();
    QString target = path + QStringLiteral(".bad");
    for (int n = 1; QFileInfo::exists(target); ++n) {
        QFile kept(target);
        if (readable && kept.size() == content.size() && kept.open(QIODevice::ReadOnly) && kept.readAll() == content)
            return QFileInfo(target).fileName();
        target = path + QStringLiteral(".bad%1").arg(n);
    }
    return QFile::copy(path, target) ? QFileInfo(target).fileName() : QString();
}

} // namespace

DeviceRegistry::DeviceRegistry() = default;

int DeviceRegistry::deviceCount() const
{
    int n = 0;
    while (n < SlotCount && !m_slots[static_cast<size_t>(n)].isEmpty())
        ++n;
    return n;
}

void DeviceRegistry::clearSlotsFrom(int first)
{
    for (int k = qMax(0, first); k < SlotCount; ++k)
        m_slots[size_t(k)] = Setup::emptySlot(m_slots[size_t(k)]);
}

QByteArray DeviceRegistry::toBytes() const
{
    QByteArray image;
    image.reserve(FileSize);
    for (const Setup &slot : m_slots)
        image += slot.toBytes();
    return image;
}

void DeviceRegistry::fromBytes(QByteArrayView image)
{
    for (int k = 0; k < SlotCount; ++k) {
        const qsizetype start = qsizetype(k) * Setup::Size;
        if (start + Setup::Size > image.size()) {
            if (start < image.size()) {
                // A slot cut short: its first bytes from the file, the rest as they were.
                QByteArray bytes = m_slots[size_t(k)].toBytes();
                const QByteArrayView part = image.sliced(start);
                bytes.replace(0, part.size(), part.toByteArray());
                m_slots[size_t(k)] = Setup::fromBytes(bytes);
            }
            break;
        }
        m_slots[size_t(k)] = Setup::fromBytes(image.sliced(start, Setup::Size));
    }
}

void DeviceRegistry::SettingSave(const QString &programFolder) const
{
    const QString path = joinPath(programFolder, fileName());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw PlatformError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    const QByteArray image = toBytes();
    if (file.write(image) != image.size() || !file.commit())
        throw PlatformError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

void DeviceRegistry::SettingOpen(const QString &programFolder)
{
    const QString path = joinPath(programFolder, fileName());
    if (!QFileInfo::exists(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString kept = keepDamagedCopy(path);
        throw PlatformError(QStringLiteral("Cannot open file \"%1\". %2%3")
                                .arg(path, file.errorString(),
                                     kept.isEmpty() ? QString() : QStringLiteral(" (kept as %1)").arg(kept)));
    }
    const QByteArray image = file.read(FileSize);
    fromBytes(image);
    if (image.size() < FileSize) {
        file.close();
        const QString kept = keepDamagedCopy(path);
        throw PlatformError(QStringLiteral("Read beyond end of file \"%1\" (%2 of %3 bytes)%4")
                                .arg(path)
                                .arg(image.size())
                                .arg(FileSize)
                                .arg(kept.isEmpty() ? QString() : QStringLiteral("; kept as %1").arg(kept)));
    }
}

} // namespace kvl
