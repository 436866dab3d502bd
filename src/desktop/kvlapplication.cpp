#include "desktop/kvlapplication.h"

#include "app/errorlog.h"
#include "app/session.h"

#include <QStyle>
#include <QStyleFactory>
#include <cstdio>

namespace kvl {

KvlApplication::KvlApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void KvlApplication::setErrorSession(Session *session) { m_session = session; }

bool KvlApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    if (Session *session = m_session.data()) {
        guarded(*session, [&] { handled = QApplication::notify(receiver, event); });
        return handled;
    }
    // No main window yet (or any more): nothing to show the error in, so it goes to stderr.
    try {
        handled = QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "KVL520: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "KVL520: Unknown error\n");
    }
    return handled;
}

void KvlApplication::applyLightLook()
{
    QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    if (!fusion)
        return; // the platform's own look stays
    QApplication::setStyle(fusion);
    QApplication::setPalette(fusion->standardPalette());
}

} // namespace kvl
