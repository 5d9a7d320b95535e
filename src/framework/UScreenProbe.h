#pragma once
// Where things stand on the screen, for the tests that drive the real program with X events:
// they ask over a local socket where a field, a button, a drop-down's item or a table's cell
// is, then move the pointer and press keys as a person would. Off unless KALV_PROBE names a
// socket; it reads widgets and never changes what they hold (it only scrolls a list to the
// row asked for).

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;
class QWidget;

class TScreenProbe : public QObject
{
    Q_OBJECT
public:
    // Listens when KALV_PROBE is set; owned by the application.
    static void StartIfAsked(QObject *application);
    // One request ("find username", "item 301", …), one line of answer.
    static QString Answer(const QString &request);

private:
    explicit TScreenProbe(const QString &socket, QObject *parent);
    void Serve(QLocalSocket *client);
    QLocalServer *m_server;
};
