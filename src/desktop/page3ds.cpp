#include "desktop/page3ds.h"

#include "desktop/receiveview.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>

#include <array>
#include <utility>

namespace kvl {

namespace {
constexpr int InfoTop = 60;
constexpr int InfoHeightLess = 64;   // information panel = page height - 64
constexpr int GridLeft = 246;
constexpr int GridTop = 92;
constexpr int GridHeightLess = 94;   // sensor table = page height - 94

constexpr std::array<std::pair<const char16_t *, int>, 12> SensorColumns{{
    {u"No", 18}, {u"", 18}, {u"ID(Dec)", 50}, {u"ID(Hex)", 54}, {u"Group", 40}, {u"Type", 70},
    {u"Length", 50}, {u"P1_Init", 75}, {u"P2_Init", 75}, {u"R1_Init", 75}, {u"R2_Init", 75}, {u"Tor", 30},
}};
} // namespace

Page3DS::Page3DS(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("tab3DS"));

    bar3DS = new QWidget(this);
    bar3DS->setObjectName(QStringLiteral("bar3DS"));
    barLayout = new QHBoxLayout(bar3DS);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addStretch(1);

    grb3DSConverterInfo = new QGroupBox(this);
    grb3DSConverterInfo->setObjectName(QStringLiteral("grb3DSConverterInfo"));

    stg3DSInformation = new QTableWidget(this);
    stg3DSInformation->setObjectName(QStringLiteral("stg3DSInformation"));
    stg3DSInformation->verticalHeader()->hide();
    stg3DSInformation->verticalHeader()->setDefaultSectionSize(20);

    mmo3DS_RX = new ReceiveView(QStringLiteral("mmo3DS_RX"), this);
    mmo3DS_RX->hide();
    layoutPage();
}

void Page3DS::layoutSensorGridHeader()
{
    stg3DSInformation->move(GridLeft, GridTop);
    stg3DSInformation->setColumnCount(int(SensorColumns.size()));
    QHeaderView *header = stg3DSInformation->horizontalHeader();
    header->setMinimumSectionSize(10);
    for (int c = 0; c < int(SensorColumns.size()); ++c) {
        const auto &[caption, width] = SensorColumns[size_t(c)];
        stg3DSInformation->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromUtf16(caption)));
        header->resizeSection(c, width);
    }
}

void Page3DS::layoutPage()
{
    const int w = width();
    const int h = height();
    bar3DS->setGeometry(4, 4, qMax(0, w - 8), InfoTop - 10);
    grb3DSConverterInfo->setGeometry(4, InfoTop, GridLeft - 8, qMax(0, h - InfoHeightLess));
    stg3DSInformation->setGeometry(GridLeft, GridTop, qMax(0, w - GridLeft - 4), qMax(0, h - GridHeightLess));
}

void Page3DS::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

} // namespace kvl
