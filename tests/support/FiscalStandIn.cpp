#include "FiscalStandIn.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

struct FiscalStandIn::TState {
    mutable QMutex Lock;
    QList<TRequest> Requests;
    QList<QJsonObject> Printed;
    QList<QString> PrintedPaths;
    QHash<QString, QJsonObject> Tasks;  // task id: its result
    TMode Mode = Answer;
    int Times = 0;
    int Number = 0;
    quint16 Port = 0;
    bool Away = false;  // every request dropped unread, as a service that went down
};

namespace {

class Server : public QTcpServer
{
public:
    explicit Server(std::shared_ptr<FiscalStandIn::TState> state) : m_state(std::move(state))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

private:
    void Read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> head = buffer.left(end).split('\n');
        int length = 0;
        for (const QByteArray &line : head)
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toInt();
        if (buffer.size() < end + 4 + length)
            return;
        const QList<QByteArray> first = head.first().trimmed().split(' ');
        const QUrl url(QString::fromLatin1(first.value(1)));
        FiscalStandIn::TRequest request{QString::fromLatin1(first.value(0)), url.path(), QUrlQuery(url),
                                        QJsonDocument::fromJson(buffer.mid(end + 4, length)).object()};
        m_buffers.remove(socket);
        Answer(socket, request);
    }

    void Reply(QTcpSocket *socket, const QJsonObject &body)
    {
        const QByteArray json = QJsonDocument(body).toJson(QJsonDocument::Compact);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(json.size()) + "\r\n\r\n" + json);
        socket->disconnectFromHost();
    }

    void Answer(QTcpSocket *socket, const FiscalStandIn::TRequest &request)
    {
        QMutexLocker locker(&m_state->Lock);
        if (m_state->Away) {
            socket->abort();
            return;
        }
        m_state->Requests.append(request);
        const QStringList parts = request.Path.split('/', Qt::SkipEmptyParts);  // printers, id, verb
        if (request.Method == "GET" && parts.value(1) == "taskinfo") {
            const QString id = request.Query.queryItemValue("id");
            Reply(socket, m_state->Tasks.contains(id)
                              ? QJsonObject{{"taskStatus", "finished"}, {"result", m_state->Tasks.value(id)}}
                              : QJsonObject{{"taskStatus", "unknown"}});
            return;
        }
        if (request.Method == "GET" && parts.size() == 2) {
            Reply(socket, QJsonObject{{"uri", parts.value(1)}, {"serialNumber", "DT279013"},
                                      {"fiscalMemorySerialNumber", "02279013"}, {"model", "stand-in"}});
            return;
        }
        const QString verb = parts.value(2);
        if (verb == "xreport" || verb == "zreport") {
            Reply(socket, QJsonObject{{"ok", true}});
            return;
        }
        const QString task = request.Query.queryItemValue("taskId");
        if (m_state->Tasks.contains(task)) {  // the same task again: its outcome, nothing printed
            Reply(socket, m_state->Tasks.value(task));
            return;
        }
        FiscalStandIn::TMode mode = FiscalStandIn::Answer;
        if (m_state->Times > 0) {
            mode = m_state->Mode;
            --m_state->Times;
        }
        if (mode == FiscalStandIn::LoseBeforePrint) {
            socket->abort();
            return;
        }
        QJsonObject result;
        if (mode == FiscalStandIn::Refuse) {
            result = {{"ok", false},
                      {"messages", QJsonArray{QJsonObject{{"type", "error"}, {"code", "E201"}, {"text", "No paper"}}}}};
        } else {
            double amount = 0;
            for (const QJsonValue &payment : request.Body.value("payments").toArray())
                amount += payment.toObject().value("amount").toDouble();
            result = {{"ok", true},
                      {"receiptNumber", QString("%1").arg(++m_state->Number, 7, 10, QChar('0'))},
                      {"receiptDateTime", QDateTime::currentDateTime().toString(Qt::ISODate)},
                      {"receiptAmount", amount},
                      {"fiscalMemorySerialNumber", "02279013"}};
            m_state->Printed.append(request.Body);
            m_state->PrintedPaths.append(verb);
        }
        m_state->Tasks.insert(task, result);
        // Silent: the connection stays open and unanswered until the desk gives up on it.
        if (mode == FiscalStandIn::PrintThenGoAway) {
            m_state->Away = true;
            socket->abort();
        } else if (mode != FiscalStandIn::PrintButStaySilent) {
            Reply(socket, result);
        }
    }

    std::shared_ptr<FiscalStandIn::TState> m_state;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

} // namespace

FiscalStandIn::FiscalStandIn() : m_state(std::make_shared<TState>()), m_thread(new QThread)
{
    m_thread->start();
    QSemaphore ready;
    auto *server = new Server(m_state);
    server->moveToThread(m_thread);
    QMetaObject::invokeMethod(server, [this, server, &ready] {
        server->listen(QHostAddress::LocalHost, 0);
        m_state->Port = server->serverPort();
        ready.release();
    });
    ready.acquire();
    m_server = server;
}

FiscalStandIn::~FiscalStandIn()
{
    QMetaObject::invokeMethod(m_server, [server = m_server] { delete server; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

QString FiscalStandIn::Address() const { return QString("http://127.0.0.1:%1").arg(m_state->Port); }

void FiscalStandIn::ComeBack()
{
    QMutexLocker locker(&m_state->Lock);
    m_state->Away = false;
}

void FiscalStandIn::SetMode(TMode mode, int times)
{
    QMutexLocker locker(&m_state->Lock);
    m_state->Mode = mode;
    m_state->Times = times;
}

QList<FiscalStandIn::TRequest> FiscalStandIn::Requests() const
{
    QMutexLocker locker(&m_state->Lock);
    return m_state->Requests;
}

QList<QJsonObject> FiscalStandIn::Printed() const
{
    QMutexLocker locker(&m_state->Lock);
    return m_state->Printed;
}

QList<QString> FiscalStandIn::PrintedPaths() const
{
    QMutexLocker locker(&m_state->Lock);
    return m_state->PrintedPaths;
}
