#pragma once
// The data module: the program's one database connection, alive for the whole run.

#include "UAdoDb.h"

#include <QObject>

class TDM : public QObject
{
    Q_OBJECT
public:
    explicit TDM(QObject *parent = nullptr);
    ~TDM() override;

    TADOConnection *ADOLocalConnection;

    // The one instance while it lives, nothing before and after.
    static TDM *Instance();

private:
    static TDM *s_instance;
};

// The shared connection; raises EDatabaseError when the data module does not exist.
TADOConnection &LocalConnection();
