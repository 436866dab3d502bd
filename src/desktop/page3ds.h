#pragma once
// The 3DS page (tab3DS): the converter's information panel and the sensor table.

#include <QWidget>

class QGroupBox;
class QHBoxLayout;
class QTableWidget;

namespace kvl {

class ReceiveView;
class Session;

class Page3DS : public QWidget {
    Q_OBJECT
public:
    explicit Page3DS(Session &session, QWidget *parent = nullptr);

    QWidget *bar3DS = nullptr;              // the page's buttons, above the table
    QHBoxLayout *barLayout = nullptr;
    QGroupBox *grb3DSConverterInfo = nullptr;
    QTableWidget *stg3DSInformation = nullptr;
    // The converter's replies (receive view 7): read by the sensor scan, never shown.
    ReceiveView *mmo3DS_RX = nullptr;

    // The sensor table's header row: "No", the check column, the identifier, group, type,
    // length, the four initial values and "Tor".
    void layoutSensorGridHeader();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPage();
    Session &m_session;
};

} // namespace kvl
