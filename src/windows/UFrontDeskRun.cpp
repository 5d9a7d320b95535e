#include "UFrontDeskRun.h"

#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

namespace {

enum class TOutcome { Done, Question, Failed };

TOutcome attempt(const std::function<void(bool)> &operation, bool confirmed, QString &question)
{
    QString refusal, failure;
    try {
        operation(confirmed);
        return TOutcome::Done;
    } catch (const EFrontDeskConfirm &ask) {
        question = ask.Message();
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

bool FrontDeskRun::Run(const std::function<void(bool)> &operation)
{
    QString question;
    TOutcome outcome = attempt(operation, false, question);
    if (outcome == TOutcome::Question) {
        // MB_YESNO with the question mark.
        if (TSystemWinOS::ShowMessageBox(question, msgWarningTitle, 4 | 32) != TSystemWinOS::IDYES)
            return false;
        outcome = attempt(operation, true, question);
    }
    return outcome == TOutcome::Done;
}
