#pragma once
// How every front-desk window runs an operation: a question of the rules is asked and the
// operation run again when the operator agrees; a refusal is said in a message; a busy database
// and any other failure go where the program reports them.

#include "desk/UFrontDesk.h"

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

// operation(consent): run first with no yes given; each question it asks is put to the operator
// and, after a yes, it runs again with that yes added. True when the operation was done.
// start: what the operator has said before it runs (a choice of their own, not a question).
bool Run(const std::function<void(FrontDesk::TConsent consent)> &operation, FrontDesk::TConsent start = {});
// A move of a stay priced by a rate plan: whether the nights are priced again in the new room.
FrontDesk::TConsent RepriceChoice(const FrontDesk::TStay &stay, const QString &room);

} // namespace FrontDeskRun
