#include "UDM.h"

TDM *TDM::s_instance = nullptr;

TDM::TDM(QObject *parent) : QObject(parent), ADOLocalConnection(new TADOConnection(this))
{
    ADOLocalConnection->setObjectName(QStringLiteral("ADOLocalConnection"));
    ADOLocalConnection->LoginPrompt = false;
    s_instance = this;
}

TDM::~TDM()
{
    if (s_instance == this)
        s_instance = nullptr;
}

TDM *TDM::Instance() { return s_instance; }

TADOConnection &LocalConnection()
{
    if (!TDM::Instance())
        throw EDatabaseError(QStringLiteral("The data module does not exist."));
    return *TDM::Instance()->ADOLocalConnection;
}
