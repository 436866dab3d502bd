#include "desktop/setuppage.h"

#include "app/session.h"
#include "desktop/guardedconnect.h"
#include "link/comportmap.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvl {

SetupPage::SetupPage(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("tabSetup"));

    grbSetup = new QGroupBox(this);
    grbSetup->setObjectName(QStringLiteral("grbSetup"));
    auto *settings = new QGridLayout(grbSetup);

    settings->addWidget(new QLabel(QStringLiteral("Port No"), grbSetup), 0, 0);
    cbbPortno = new QComboBox(grbSetup);
    cbbPortno->setObjectName(QStringLiteral("cbbPortno"));
    cbbPortno->setEditable(true);
    cbbPortno->setEditText(QStringLiteral("COM1"));
    cbbPortno->setMinimumWidth(120);
    settings->addWidget(cbbPortno, 0, 1);
    btnComSearch = new QToolButton(grbSetup);
    btnComSearch->setObjectName(QStringLiteral("btnComSearch"));
    btnComSearch->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    btnComSearch->setAutoRaise(true);
    settings->addWidget(btnComSearch, 0, 2);

    grbSaveData = new QGroupBox(QStringLiteral("Save Data"), grbSetup);
    grbSaveData->setObjectName(QStringLiteral("grbSaveData"));
    auto *save = new QGridLayout(grbSaveData);
    save->addWidget(new QLabel(QStringLiteral("Save Location"), grbSaveData), 0, 0);
    edtSaveFolder = new QLineEdit(grbSaveData);
    edtSaveFolder->setObjectName(QStringLiteral("edtSaveFolder"));
    edtSaveFolder->installEventFilter(this);
    save->addWidget(edtSaveFolder, 0, 1);
    settings->addWidget(grbSaveData, 1, 0, 1, 3);
    settings->setColumnStretch(1, 1);
    settings->setRowStretch(2, 1);

    lbeNow = new QLabel(QStringLiteral("00:00:00"), this);
    lbeNow->setObjectName(QStringLiteral("lbeNow"));
    QFont clockFont = lbeNow->font();
    clockFont.setPixelSize(40);
    clockFont.setBold(true);
    lbeNow->setFont(clockFont);
    lbeNow->setAlignment(Qt::AlignRight | Qt::AlignTop);

    auto *right = new QVBoxLayout;
    right->addWidget(lbeNow);
    right->addStretch(1);

    auto *page = new QHBoxLayout(this);
    page->addWidget(grbSetup, 0);
    grbSetup->setMinimumWidth(440);
    page->addLayout(right, 1);

    connectGuarded(btnComSearch, &QToolButton::clicked, this, m_session, [this] { ComPortSearch(); });
}

void SetupPage::ComPortSearch()
{
    cbbPortno->clear();
    cbbPortno->clearEditText();
    cbbPortno->addItems(kvl::ComPortSearch(m_session.ProgramFolder));
    cbbPortno->setCurrentIndex(0);
}

bool SetupPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtSaveFolder && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Ctrl alone held (the keypad flag of its Enter key does not count).
        const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && held == Qt::ControlModifier) {
            emit versionMakerSwitch();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kvl
