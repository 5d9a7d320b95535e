#include "UFrontDeskRun.h"

#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

namespace {

enum class TOutcome { Done, Question, Failed };

TOutcome attempt(const std::function<void(FrontDesk::TConsent)> &operation, FrontDesk::TConsent consent,
                 QString &question, FrontDesk::TQuestion &asked)
{
    QString refusal, failure;
    try {
        operation(consent);
        return TOutcome::Done;
    } catch (const EFrontDeskConfirm &ask) {
        question = ask.Message();
        asked = ask.Question;
        return TOutcome::Question;
    } catch (const EFrontDeskRefused &refused) {
        refusal = refused.Message();
    } catch (const EDatabaseBusy &) {
        refusal = msgDatabaseBusy;
    } catch (const Exception &error) {
        failure = error.Message();
    }
    // The operation's transaction is over before anything is shown.
    if (TDM::Instance())
        TDM::Instance()->ADOLocalConnection->RollbackIfOpen();
    if (!refusal.isEmpty())
        TSystemWinOS::ShowMessageBox(refusal, msgWarningTitle, 48);
    else
        TExceptionLogs::Show(failure);
    return TOutcome::Failed;
}

} // namespace

TFrontDeskChanges *FrontDeskRun::Changes()
{
    static TFrontDeskChanges changes;
    return &changes;
}

FrontDesk::TConsent FrontDeskRun::RepriceChoice(const FrontDesk::TStay &stay, const QString &room)
{
    FrontDesk::TConsent choice;
    if (stay.Plan > 0 &&
        TSystemWinOS::ShowMessageBox(msgRepriceQuestion.arg(room), msgUserChoiceTitle, 4 | 32) == TSystemWinOS::IDYES)
        choice = choice.With(FrontDesk::qnReprice);
    return choice;
}

bool FrontDeskRun::Run(const std::function<void(FrontDesk::TConsent)> &operation, FrontDesk::TConsent start)
{
    FrontDesk::TConsent consent = start;
    QString question;
    FrontDesk::TQuestion asked = FrontDesk::qnRoomNotReady;
    TOutcome outcome = attempt(operation, consent, question, asked);
    // One question at a time, each once: an early departure, then the open balance it leaves.
    while (outcome == TOutcome::Question && !consent.To(asked)) {
        // MB_YESNO with the question mark.
        if (TSystemWinOS::ShowMessageBox(question, msgWarningTitle, 4 | 32) != TSystemWinOS::IDYES)
            return false;
        consent = consent.With(asked);
        outcome = attempt(operation, consent, question, asked);
    }
    return outcome == TOutcome::Done;
}
