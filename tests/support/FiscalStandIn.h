#pragma once
// A fiscal-device service for the tests: an HTTP server on a loopback port, in a thread of its
// own, that speaks the receipt protocol the desk talks (receipts, reversals, task info, X and Z
// reports), records what it receives, and can refuse, print and never answer (the line stays
// open), or drop a request before printing it.

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUrlQuery>
#include <memory>

class FiscalStandIn
{
public:
    // PrintThenGoAway: prints, then drops every request until ComeBack.
    enum TMode { Answer, Refuse, PrintButStaySilent, LoseBeforePrint, PrintThenGoAway };
    FiscalStandIn();
    ~FiscalStandIn();
    QString Address() const;
    // How the next receipts (or reversals) are met; after that, Answer.
    void SetMode(TMode mode, int times = 1);
    void ComeBack();

    struct TRequest {
        QString Method, Path;
        QUrlQuery Query;
        QJsonObject Body;
    };
    QList<TRequest> Requests() const;
    // What was printed: each receipt's or reversal's body as received, in order.
    QList<QJsonObject> Printed() const;
    QList<QString> PrintedPaths() const;

    struct TState;

private:
    std::shared_ptr<TState> m_state;
    class QThread *m_thread;
    class QObject *m_server;
};
