#include "desktop/setuppage.h"

#include "app/session.h"
#include "connection/connectiontest.h"
#include "desktop/guardedconnect.h"
#include "link/comportmap.h"
#include "registry/devicetreeactions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

using C = SetupPageModel::Control;

constexpr int SettingsMinimumWidth = 470;
constexpr int NumberEditWidth = 60;
constexpr int ClockPixelSize = 40;

QComboBox *makeList(QWidget *parent, const QString &name)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    // What the user sees is what the model holds: no inline completion, and Enter does
    // not add the typed text to the list.
    list->setCompleter(nullptr);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMaxVisibleItems(16);
    return list;
}

QLineEdit *makeEdit(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QCheckBox *makeCheckBox(QWidget *parent, const QString &name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QLabel *makeLabel(QWidget *parent, const QString &text, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace

SetupPage::SetupPage(Session &session, DeviceTreeActions &actions, QWidget *parent)
    : QWidget(parent), m_session(session), m_actions(actions), m_model(actions.page())
{
    setObjectName(QStringLiteral("tabSetup"));
    buildSettings();

    lbeNow = new QLabel(QStringLiteral("00:00:00"), this);
    lbeNow->setObjectName(QStringLiteral("lbeNow"));
    QFont clockFont = lbeNow->font();
    clockFont.setPixelSize(ClockPixelSize);
    clockFont.setBold(true);
    lbeNow->setFont(clockFont);
    lbeNow->setAlignment(Qt::AlignRight | Qt::AlignTop);

    auto *right = new QVBoxLayout;
    right->addWidget(lbeNow);
    right->addStretch(1);

    auto *page = new QHBoxLayout(this);
    page->addWidget(grbSetup, 0);
    page->addLayout(right, 1);

    bindControls();

    connectGuarded(btnComSearch, &QToolButton::clicked, this, m_session, [this] { ComPortSearch(); });
    connectGuarded(btnApply, &QPushButton::clicked, this, m_session, [this] { m_actions.btnApplyClick(); });
    connectGuarded(btnTest, &QPushButton::clicked, this, m_session, [this] { btnTestClick(); });
    connectGuarded(SpeedButton12, &QToolButton::clicked, this, m_session, [this] { SpeedButton12Click(); });
}

void SetupPage::buildSettings()
{
    grbSetup = new QGroupBox(this);
    grbSetup->setObjectName(QStringLiteral("grbSetup"));
    grbSetup->setMinimumWidth(SettingsMinimumWidth);
    auto *column = new QVBoxLayout(grbSetup);
    column->setSpacing(6);

    // Connection: type, logger number, port and line settings.
    auto *line = new QGridLayout;
    line->setHorizontalSpacing(6);
    clbModemType = makeList(grbSetup, QStringLiteral("clbModemType"));
    clbLogID = makeList(grbSetup, QStringLiteral("clbLogID"));
    btnApply = new QPushButton(QStringLiteral("Apply"), grbSetup);
    btnApply->setObjectName(QStringLiteral("btnApply"));
    line->addWidget(makeLabel(grbSetup, QStringLiteral("Communication Type"), clbModemType), 0, 0);
    line->addWidget(clbModemType, 0, 1);
    line->addWidget(makeLabel(grbSetup, QStringLiteral("Logger ID"), clbLogID), 0, 2);
    line->addWidget(clbLogID, 0, 3);
    line->addWidget(btnApply, 0, 4);

    cbbPortno = makeList(grbSetup, QStringLiteral("cbbPortno"));
    btnComSearch = new QToolButton(grbSetup);
    btnComSearch->setObjectName(QStringLiteral("btnComSearch"));
    btnComSearch->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    btnComSearch->setToolTip(QStringLiteral("Search COM ports"));
    btnComSearch->setAutoRaise(true);
    cbbBaudrate = makeList(grbSetup, QStringLiteral("cbbBaudrate"));
    auto *port = new QHBoxLayout;
    port->setSpacing(2);
    port->addWidget(cbbPortno, 1);
    port->addWidget(btnComSearch);
    line->addWidget(makeLabel(grbSetup, QStringLiteral("Port No"), cbbPortno), 1, 0);
    line->addLayout(port, 1, 1);
    line->addWidget(makeLabel(grbSetup, QStringLiteral("Baudrate"), cbbBaudrate), 1, 2);
    line->addWidget(cbbBaudrate, 1, 3);

    edtParity = makeEdit(grbSetup, QStringLiteral("edtParity"));
    edtStopbits = makeEdit(grbSetup, QStringLiteral("edtStopbits"));
    line->addWidget(makeLabel(grbSetup, QStringLiteral("parity"), edtParity), 2, 0);
    line->addWidget(edtParity, 2, 1);
    line->addWidget(makeLabel(grbSetup, QStringLiteral("Stop Bits"), edtStopbits), 2, 2);
    line->addWidget(edtStopbits, 2, 3);
    line->setColumnStretch(1, 3);
    line->setColumnStretch(3, 2);
    column->addLayout(line);

    // The connection test.
    auto *test = new QHBoxLayout;
    btnTest = new QPushButton(QStringLiteral("Test"), grbSetup);
    btnTest->setObjectName(QStringLiteral("btnTest"));
    pgbTest = new QProgressBar(grbSetup);
    pgbTest->setObjectName(QStringLiteral("pgbTest"));
    pgbTest->setRange(0, 100);
    pgbTest->setValue(0);
    pgbTest->setTextVisible(false);
    test->addWidget(btnTest);
    test->addWidget(pgbTest, 1);
    column->addLayout(test);

    // The modem's commands.
    grbAddCommand = new QGroupBox(QStringLiteral("Add Command"), grbSetup);
    grbAddCommand->setObjectName(QStringLiteral("grbAddCommand"));
    auto *commands = new QGridLayout(grbAddCommand);
    edtModemNo = makeEdit(grbAddCommand, QStringLiteral("edtModemNo"));
    edtCommand1 = makeEdit(grbAddCommand, QStringLiteral("edtCommand1"));
    edtCallCmd = makeEdit(grbAddCommand, QStringLiteral("edtCallCmd"));
    edtDisconnect = makeEdit(grbAddCommand, QStringLiteral("edtDisconnect"));
    const std::array<std::pair<C, QLineEdit *>, 4> modemEdits{{{C::edtModemNo, edtModemNo},
                                                               {C::edtCommand1, edtCommand1},
                                                               {C::edtCallCmd, edtCallCmd},
                                                               {C::edtDisconnect, edtDisconnect}}};
    int row = 0;
    for (const auto &[control, edit] : modemEdits) {
        QLabel *label = makeLabel(grbAddCommand, m_model.label(control), edit);
        label->setObjectName(QStringLiteral("lbl") + SetupPageModel::controlName(control).mid(3));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Disconnect")) + 8);
        m_captions[size_t(control)] = label;
        commands->addWidget(label, row, 0);
        commands->addWidget(edit, row, 1);
        ++row;
    }
    column->addWidget(grbAddCommand);

    // Schedule and calculation.
    ckbSchedule = makeCheckBox(grbSetup, QStringLiteral("ckbSchedule"), QStringLiteral("Schedule Download"));
    ckb3DSCal = makeCheckBox(grbSetup, QStringLiteral("ckb3DSCal"), QStringLiteral("3DS Calculation"));
    ckbSensorNoCheck = makeCheckBox(grbSetup, QStringLiteral("ckbSensorNoCheck"),
                                    QStringLiteral("Data Channel Quantity > 60  ?"));
    auto *checks = new QHBoxLayout;
    checks->addWidget(ckbSchedule);
    checks->addWidget(ckb3DSCal);
    checks->addStretch(1);
    column->addLayout(checks);
    column->addWidget(ckbSensorNoCheck);

    edtInterval = makeEdit(grbSetup, QStringLiteral("edtInterval"));
    edtDelay = makeEdit(grbSetup, QStringLiteral("edtDelay"));
    auto *timing = new QHBoxLayout;
    for (const auto &[caption, edit] : {std::pair{QStringLiteral("Interval"), edtInterval},
                                        std::pair{QStringLiteral("Delay"), edtDelay}}) {
        edit->setFixedWidth(NumberEditWidth);
        timing->addWidget(makeLabel(grbSetup, caption, edit));
        timing->addWidget(edit);
        timing->addWidget(makeLabel(grbSetup, QStringLiteral("Minutes")));
        timing->addSpacing(16);
    }
    timing->addStretch(1);
    column->addLayout(timing);

    ckbDeleteData = makeCheckBox(grbSetup, QStringLiteral("ckbDeleteData"), QStringLiteral("Delete Data After Download"));
    ckbAppendData = makeCheckBox(grbSetup, QStringLiteral("ckbAppendData"), QStringLiteral("Append Data to File"));
    ckbDeleteData->hide();
    ckbAppendData->hide();

    // Where downloaded data go.
    grbSaveData = new QGroupBox(QStringLiteral("Save Data"), grbSetup);
    grbSaveData->setObjectName(QStringLiteral("grbSaveData"));
    auto *save = new QGridLayout(grbSaveData);
    edtSaveFolder = makeEdit(grbSaveData, QStringLiteral("edtSaveFolder"));
    edtSaveFolder->installEventFilter(this);
    SpeedButton12 = new QToolButton(grbSaveData);
    SpeedButton12->setObjectName(QStringLiteral("SpeedButton12"));
    SpeedButton12->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton12->setToolTip(QStringLiteral("Select Folder"));
    SpeedButton12->setAutoRaise(true);
    edtSaveFile1 = makeEdit(grbSaveData, QStringLiteral("edtSaveFile1"));
    edtSaveFile2 = makeEdit(grbSaveData, QStringLiteral("edtSaveFile2"));
    save->addWidget(makeLabel(grbSaveData, QStringLiteral("Save Location"), edtSaveFolder), 0, 0);
    save->addWidget(edtSaveFolder, 0, 1);
    save->addWidget(SpeedButton12, 0, 2);
    save->addWidget(makeLabel(grbSaveData, QStringLiteral("Save File Name #1"), edtSaveFile1), 1, 0);
    save->addWidget(edtSaveFile1, 1, 1);
    save->addWidget(makeLabel(grbSaveData, QStringLiteral(".TXT")), 1, 2);
    save->addWidget(makeLabel(grbSaveData, QStringLiteral("Save File Name #2"), edtSaveFile2), 2, 0);
    save->addWidget(edtSaveFile2, 2, 1);
    save->addWidget(makeLabel(grbSaveData, QStringLiteral(".TXT")), 2, 2);
    save->setColumnStretch(1, 1);
    column->addWidget(grbSaveData);
    column->addStretch(1);
}

void SetupPage::bindControls()
{
    m_widgets = {};
    m_widgets[C::clbModemType] = clbModemType;
    m_widgets[C::clbLogID] = clbLogID;
    m_widgets[C::cbbPortno] = cbbPortno;
    m_widgets[C::cbbBaudrate] = cbbBaudrate;
    m_widgets[C::edtParity] = edtParity;
    m_widgets[C::edtStopbits] = edtStopbits;
    m_widgets[C::edtModemNo] = edtModemNo;
    m_widgets[C::edtCommand1] = edtCommand1;
    m_widgets[C::edtCallCmd] = edtCallCmd;
    m_widgets[C::edtDisconnect] = edtDisconnect;
    m_widgets[C::ckbSchedule] = ckbSchedule;
    m_widgets[C::ckb3DSCal] = ckb3DSCal;
    m_widgets[C::ckbSensorNoCheck] = ckbSensorNoCheck;
    m_widgets[C::ckbDeleteData] = ckbDeleteData;
    m_widgets[C::ckbAppendData] = ckbAppendData;
    m_widgets[C::edtInterval] = edtInterval;
    m_widgets[C::edtDelay] = edtDelay;
    m_widgets[C::edtSaveFolder] = edtSaveFolder;
    m_widgets[C::edtSaveFile1] = edtSaveFile1;
    m_widgets[C::edtSaveFile2] = edtSaveFile2;

    for (int k = 0; k < SetupPageModel::ControlCount; ++k) {
        const auto control = static_cast<C>(k);
        QWidget *w = m_widgets[size_t(k)];
        Q_ASSERT(w);
        // Only the user's own gestures: these signals are not raised by programmatic changes.
        if (auto *list = qobject_cast<QComboBox *>(w)) {
            connectGuarded(list->lineEdit(), &QLineEdit::textEdited, this, m_session, [this, control, list] {
                userText(control, list->currentText());
            });
            connect(list, &QComboBox::textActivated, this, [this, control](const QString &text) {
                guarded(m_session, [&] { userText(control, text); });
            });
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            connect(edit, &QLineEdit::textEdited, this, [this, control](const QString &text) {
                guarded(m_session, [&] { userText(control, text); });
            });
        } else if (auto *box = qobject_cast<QCheckBox *>(w)) {
            connect(box, &QCheckBox::clicked, this, [this, control](bool on) {
                guarded(m_session, [&] { userChecked(control, on); });
            });
        }
        showControl(control);
    }
    connect(&m_model, &SetupPageModel::controlChanged, this, &SetupPage::showControl);
}

QWidget *SetupPage::widget(SetupPageModel::Control control) const { return m_widgets[size_t(control)]; }

QLabel *SetupPage::caption(SetupPageModel::Control control) const { return m_captions[size_t(control)]; }

QString SetupPage::widgetText(SetupPageModel::Control control) const
{
    QWidget *w = widget(control);
    if (auto *list = qobject_cast<QComboBox *>(w))
        return list->currentText();
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    return {};
}

void SetupPage::showControl(SetupPageModel::Control control)
{
    QWidget *w = widget(control);
    if (!w)
        return;
    w->setEnabled(m_model.isEnabled(control));
    if (QLabel *label = caption(control))
        label->setText(m_model.label(control));
    if (auto *box = qobject_cast<QCheckBox *>(w)) {
        box->setChecked(m_model.checked(control));
        return;
    }
    // The widget being typed into already shows the user's text; rewriting it would move
    // the cursor under the user's hands.
    const bool typing = int(control) == m_userEditing;
    const QString text = m_model.text(control);
    if (auto *list = qobject_cast<QComboBox *>(w)) {
        const QStringList items = m_model.items(control);
        QStringList shown;
        for (int k = 0; k < list->count(); ++k)
            shown << list->itemText(k);
        if (shown != items) {
            const QString typed = list->currentText();
            list->clear();
            list->addItems(items);
            list->setCurrentIndex(-1);
            list->setEditText(typed);
        }
        if (!typing && (list->currentText() != text || list->currentIndex() != list->findText(text))) {
            list->setCurrentIndex(list->findText(text));
            list->setEditText(text);
        }
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        if (!typing && edit->text() != text)
            edit->setText(text);
    }
}

void SetupPage::userText(SetupPageModel::Control control, const QString &text)
{
    m_userEditing = int(control);
    try {
        m_model.userSetText(control, text);
    } catch (...) {
        m_userEditing = -1;
        throw;
    }
    m_userEditing = -1;
    // The model may have kept another text (the modem type defaults put "9600" back into
    // the baud rate list, a disabled control refuses): show what it holds.
    if (widgetText(control) != m_model.text(control))
        showControl(control);
}

void SetupPage::userChecked(SetupPageModel::Control control, bool on)
{
    m_model.userSetChecked(control, on);
    showControl(control);
}

void SetupPage::ComPortSearch()
{
    const QStringList ports = kvl::ComPortSearch(m_session.ProgramFolder);
    m_model.setItems(C::cbbPortno, ports);
    m_model.setText(C::cbbPortno, ports.value(0));
}

void SetupPage::btnTestClick()
{
    // The progress goes to pgbTest through the session's progress bars.
    connectionTestButton(m_session, connectionTestSettings(m_model));
}

void SetupPage::SpeedButton12Click()
{
    const QString current = m_model.text(C::edtSaveFolder);
    const QFileInfo folder(current);
    const QString start = !current.isEmpty() && folder.isAbsolute() && folder.isDir()
        ? current : m_session.ProgramFolder;
    const QString chosen = m_session.dialogs().pickFolder(QStringLiteral("Select Folder"), start);
    if (!chosen.isEmpty())
        m_model.setText(C::edtSaveFolder, QDir::toNativeSeparators(chosen));
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
