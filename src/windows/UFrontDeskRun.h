#pragma once
// How every front-desk window runs an operation: a question of the rules is asked and the
// operation run again when the operator agrees; a refusal is said in a message; a busy database
// and any other failure go where the program reports them.

#include <QObject>
#include <functional>

// Tells whoever shows rooms and stays that an operation may have changed them.
class TFrontDeskChanges : public QObject
{
    Q_OBJECT
signals:
    void Changed();
};

namespace FrontDeskRun {

TFrontDeskChanges *Changes();

// operation(confirmed): confirmed is false on the first run, true after the operator said yes.
// True when the operation was done.
bool Run(const std::function<void(bool confirmed)> &operation);

} // namespace FrontDeskRun
