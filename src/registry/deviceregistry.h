#pragma once
// The registry of devices: 255 slots, slot k holding the device at position k of the
// device tree, stored as one block in "Setting.dat" in the program folder.

#include "registry/setup.h"

#include <array>

namespace kvl {

class DeviceRegistry {
public:
    static constexpr int SlotCount = 255;
    static constexpr int FileSize = SlotCount * Setup::Size; // 498,780 bytes
    static QString fileName() { return QStringLiteral("Setting.dat"); }

    DeviceRegistry();

    Setup &operator[](int slot) { return m_slots.at(static_cast<size_t>(slot)); }
    const Setup &operator[](int slot) const { return m_slots.at(static_cast<size_t>(slot)); }
    int deviceCount() const; // used slots from 0 on, up to the first empty name
    // Resets every slot from `first` on to the empty-slot values (intervalMin 60,
    // DelayMin 5, all else zero, empty or false; the 3DS result folder and name stay).
    void clearSlotsFrom(int first);

    QByteArray toBytes() const;
    // Replaces the slots from the image; a short image fills what it has and leaves
    // the rest as it was.
    void fromBytes(QByteArrayView image);

    // Writes Setting.dat whole through a temporary file and an atomic rename, so a crash
    // or a full disk never leaves a truncated registry. Raises PlatformError on failure.
    void SettingSave(const QString &programFolder) const;

    // Reads Setting.dat when it exists (nothing when it does not). A file shorter than
    // the registry, or one that cannot be read, raises PlatformError after the part that
    // was read is in the slots and the damaged file has been kept beside it as
    // "Setting.dat.bad" (never overwriting an earlier kept copy).
    void SettingOpen(const QString &programFolder);

private:
    std::array<Setup, SlotCount> m_slots;
};

} // namespace kvl
