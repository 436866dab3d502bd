#include "desktop/desktophooks.h"

#include "desktop/receiveview.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>

namespace kvl {

StatusBarPanels::StatusBarPanels(QStatusBar *bar)
{
    for (int k = 0; k < Count; ++k) {
        auto *label = new QLabel(bar);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(k));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setFixedWidth(InitialWidths[size_t(k)]);
        label->setMinimumHeight(label->fontMetrics().height() + 6);
        bar->addWidget(label);
        m_labels[size_t(k)] = label;
    }
}

void StatusBarPanels::setStatus(int panel, const QString &text)
{
    if (QLabel *l = label(panel)) {
        l->setText(text);
        // A long reply or error is cut by the panel; the whole text stays readable.
        l->setToolTip(text);
    }
}

QString StatusBarPanels::text(int panel) const
{
    const QLabel *l = label(panel);
    return l ? l->text() : QString();
}

QLabel *StatusBarPanels::label(int panel) const
{
    return panel >= 0 && panel < Count ? m_labels[size_t(panel)] : nullptr;
}

void StatusBarPanels::setWidth(int panel, int width)
{
    if (QLabel *l = label(panel))
        l->setFixedWidth(qMax(0, width));
}

void WidgetDialogs::information(const QString &text)
{
    QMessageBox::information(m_owner, QApplication::applicationName(), text);
}

bool WidgetDialogs::question(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), text,
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    if (m_owner) {
        // An explicit position keeps the dialog from being centred over its owner.
        const QPoint corner = m_owner->window()->frameGeometry().topLeft();
        box.move(corner + QPoint(300, 100));
    }
    return box.exec() == QMessageBox::Yes;
}

QString WidgetDialogs::pickFolder(const QString &title, const QString &startFolder)
{
    const QString caption = title.isEmpty() ? QStringLiteral("Select Folder") : title;
    const QString start = QFileInfo(startFolder).isDir() ? startFolder : m_startFolder;
    return QFileDialog::getExistingDirectory(m_owner, caption, start, QFileDialog::ShowDirsOnly);
}

QString WidgetDialogs::openFileName(const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_owner, title, m_startFolder, filter);
}

QString WidgetDialogs::saveFileName(const QString &title, const QString &proposedName, const QString &filter)
{
    QString proposed = proposedName;
    if (!proposed.isEmpty() && QFileInfo(proposed).isRelative() && !m_startFolder.isEmpty())
        proposed = QDir(m_startFolder).filePath(proposed);
    return QFileDialog::getSaveFileName(m_owner, title, proposed.isEmpty() ? m_startFolder : proposed, filter);
}

void PageLineSinks::appendLine(int view, const QString &line)
{
    if (ReceiveView *v = m_views.value(view))
        v->appendLine(line);
}

void PageLineSinks::clearView(int view)
{
    if (ReceiveView *v = m_views.value(view))
        v->clearLines();
}

void NamedProgressBars::setProgress(const QString &bar, int value)
{
    if (!m_root)
        return;
    if (auto *progress = m_root->findChild<QProgressBar *>(bar))
        progress->setValue(value);
}

OverrideBusyCursor::~OverrideBusyCursor() { setBusy(false); }

void OverrideBusyCursor::setBusy(bool busy)
{
    if (busy == m_busy || !qApp)
        return;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    m_busy = busy;
}

} // namespace kvl
