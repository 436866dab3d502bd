#pragma once
// What the main window shows about the current device: the large name in the top bar
// (lbeSelectedDeviceName), the name above the tree (lbeClickName), the device summary
// (lbeDeviceInfo, text and visibility) and the window caption.

#include <QObject>
#include <QString>

namespace kvl {

class DeviceLabels : public QObject {
    Q_OBJECT
public:
    explicit DeviceLabels(QObject *parent = nullptr) : QObject(parent) {}

    QString lbeSelectedDeviceName() const { return m_selectedName; }
    QString lbeClickName() const { return m_clickName; }
    QString lbeDeviceInfo() const { return m_deviceInfo; }
    bool lbeDeviceInfoVisible() const { return m_deviceInfoVisible; }
    // Empty until a device has been shown: the window keeps its designed caption.
    QString caption() const { return m_caption; }

    void setSelectedDeviceName(const QString &text) { assign(m_selectedName, text); }
    void setClickName(const QString &text) { assign(m_clickName, text); }
    void setDeviceInfo(const QString &text) { assign(m_deviceInfo, text); }
    void setDeviceInfoVisible(bool visible) { assign(m_deviceInfoVisible, visible); }
    void setCaption(const QString &text) { assign(m_caption, text); }

signals:
    void changed();

private:
    template <typename T>
    void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
    }

    QString m_selectedName = QStringLiteral("Device Name");
    QString m_clickName = QStringLiteral("Device Name");
    QString m_deviceInfo = QStringLiteral("Device Information");
    bool m_deviceInfoVisible = true;
    QString m_caption;
};

} // namespace kvl
