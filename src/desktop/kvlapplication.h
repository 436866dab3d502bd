#pragma once
// The desktop application object. Whatever an event handler raises and does not catch is
// stopped here and handed to the error handler (status panel 4 and "LogFile.Log") of the
// session that is attached, so nothing escapes into the event loop.

#include <QApplication>
#include <QPointer>

namespace kvl {

class Session;

class KvlApplication : public QApplication {
    Q_OBJECT
public:
    KvlApplication(int &argc, char **argv);

    // The session whose error handler receives the errors (the main window's).
    void setErrorSession(Session *session);
    Session *errorSession() const { return m_session; }

    bool notify(QObject *receiver, QEvent *event) override;

    // A plain light look on every system: the Fusion style with its own light palette.
    static void applyLightLook();

    static KvlApplication *instance() { return qobject_cast<KvlApplication *>(QCoreApplication::instance()); }

private:
    QPointer<Session> m_session;
};

} // namespace kvl
