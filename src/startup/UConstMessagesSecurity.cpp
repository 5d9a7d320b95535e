#include "UConstMessagesSecurity.h"

QString msgRightMissing;
QString msgRightNobodyLoggedIn;
QString msgLoginThrottled;
QString msgSecondsText;
QString msgMinutesText;
QString msgOperatorDeactivated;
QString msgLoginNoRight;
QString msgPasswordTooShort;
QString msgPasswordIsUserName;
QString msgPasswordsDiffer;
QString msgCurrentPasswordWrong;
QString msgPasswordChanged;
QString msgMustChangePassword;
QString msgLastRightsEditor;
QString msgCannotGrantRight;
QString msgRightsTakeEffect;
QString msgUnknownOperator;
QString msgUserNameTaken;
QString msgLogUnknownUser;
QString msgLogLoginRefused;
QString msgLogLoginThrottled;
QString msgLogPasswordChanged;
QString msgLogPasswordSet;
QString msgLogOperatorDeactivated;
QString msgLogOperatorActivated;
QString msgLogRightsChanged;
QString msgLogOperatorCreated;
QString msgLogDeactivatedLogin;
QString msgLogDeskLocked;
QString msgConfigNeedsConnection;
QString msgChangePasswordTitle;
QString msgSetPasswordTitle;
QString msgOperatorSaved;

QString WaitText(int seconds)
{
    if (seconds < 120)
        return msgSecondsText.arg(qMax(seconds, 1));
    return msgMinutesText.arg((seconds + 59) / 60);
}

const QList<TCatalogueEntry> &SecurityCatalogueEntries()
{
    static const QList<TCatalogueEntry> entries = {
        {"msgRightMissing", &msgRightMissing,
         "You have no right to this (\"%1\"). Ask an operator who may change access rights.",
         "Нямате право на това („%1“). Обърнете се към оператор, който може да променя правата за достъп.",
         "У вас нет права на это («%1»). Обратитесь к оператору, который может менять права доступа."},
        {"msgRightNobodyLoggedIn", &msgRightNobodyLoggedIn,
         "Nobody is logged in. Please log in first.",
         "Няма влязъл оператор. Моля, първо влезте в системата.",
         "Никто не вошёл в систему. Пожалуйста, сначала войдите."},
        {"msgLoginThrottled", &msgLoginThrottled,
         "Too many failed logins for this user name. Logins are refused for %1; please try again then.",
         "Твърде много неуспешни опити за вход с това потребителско име. Вход е забранен за %1; опитайте отново след това.",
         "Слишком много неудачных попыток входа с этим именем. Вход запрещён на %1; повторите попытку позже."},
        {"msgSecondsText", &msgSecondsText, "%1 s", "%1 сек.", "%1 с"},
        {"msgMinutesText", &msgMinutesText, "%1 min", "%1 мин.", "%1 мин"},
        {"msgOperatorDeactivated", &msgOperatorDeactivated,
         "This operator is deactivated and cannot log in.",
         "Този оператор е деактивиран и не може да влиза в системата.",
         "Этот оператор деактивирован и не может войти в систему."},
        {"msgLoginNoRight", &msgLoginNoRight,
         "This operator has no right to log in (\"%1\").",
         "Този оператор няма право на вход в системата („%1“).",
         "У этого оператора нет права входа в систему («%1»)."},
        {"msgPasswordTooShort", &msgPasswordTooShort,
         "The new password must have at least %1 characters.",
         "Новата парола трябва да има поне %1 знака.",
         "Новый пароль должен содержать не менее %1 символов."},
        {"msgPasswordIsUserName", &msgPasswordIsUserName,
         "The new password may not be the user name.",
         "Новата парола не може да съвпада с потребителското име.",
         "Новый пароль не может совпадать с именем пользователя."},
        {"msgPasswordsDiffer", &msgPasswordsDiffer,
         "The two new passwords differ. Please type the same password in both fields.",
         "Двете нови пароли се различават. Моля, въведете една и съща парола в двете полета.",
         "Два новых пароля различаются. Пожалуйста, введите один и тот же пароль в оба поля."},
        {"msgCurrentPasswordWrong", &msgCurrentPasswordWrong,
         "The current password is wrong.",
         "Текущата парола е грешна.",
         "Текущий пароль неверен."},
        {"msgPasswordChanged", &msgPasswordChanged,
         "The password was changed.",
         "Паролата е сменена.",
         "Пароль изменён."},
        {"msgMustChangePassword", &msgMustChangePassword,
         "Your password must be changed before you go on.",
         "Трябва да смените паролата си, преди да продължите.",
         "Перед продолжением работы необходимо сменить пароль."},
        {"msgLastRightsEditor", &msgLastRightsEditor,
         "At least one active operator must keep the rights to log in and to change access rights; this change "
         "would leave none.",
         "Поне един активен оператор трябва да запази правата за вход и за промяна на достъпа; тази промяна не би "
         "оставила нито един.",
         "Хотя бы один активный оператор должен сохранить права входа и изменения доступа; это изменение не "
         "оставит ни одного."},
        {"msgCannotGrantRight", &msgCannotGrantRight,
         "You cannot grant a right you do not hold yourself: \"%1\".",
         "Не можете да дадете право, което самият Вие нямате: „%1“.",
         "Нельзя предоставить право, которого нет у вас самих: «%1»."},
        {"msgRightsTakeEffect", &msgRightsTakeEffect,
         "A change to an operator's rights takes effect at that operator's next login, your own included.",
         "Промяната на правата на оператор влиза в сила при следващия му вход, включително за Вас.",
         "Изменение прав оператора вступает в силу при его следующем входе, в том числе для вас."},
        {"msgUnknownOperator", &msgUnknownOperator,
         "There is no such operator.",
         "Няма такъв оператор.",
         "Такого оператора нет."},
        {"msgUserNameTaken", &msgUserNameTaken,
         "Another operator already has the user name \"%1\". Please choose another.",
         "Друг оператор вече има потребителското име „%1“. Моля, изберете друго.",
         "Другой оператор уже использует имя пользователя «%1». Пожалуйста, выберите другое."},
        {"msgLogUnknownUser", &msgLogUnknownUser,
         "failed login: unknown user",
         "неуспешен вход: непознат потребител",
         "неудачный вход: неизвестный пользователь"},
        {"msgLogLoginRefused", &msgLogLoginRefused,
         "failed login: wrong password",
         "неуспешен вход: грешна парола",
         "неудачный вход: неверный пароль"},
        {"msgLogLoginThrottled", &msgLogLoginThrottled,
         "%1 failed logins in a row; logins under this name refused for %2 s",
         "%1 поредни неуспешни опита за вход; вход с това име забранен за %2 сек.",
         "%1 неудачных попыток входа подряд; вход под этим именем запрещён на %2 с"},
        {"msgLogPasswordChanged", &msgLogPasswordChanged,
         "own password changed",
         "собствената парола е сменена",
         "собственный пароль изменён"},
        {"msgLogPasswordSet", &msgLogPasswordSet,
         "password set by another operator%1",
         "паролата е зададена от друг оператор%1",
         "пароль задан другим оператором%1"},
        {"msgLogOperatorDeactivated", &msgLogOperatorDeactivated,
         "operator deactivated",
         "операторът е деактивиран",
         "оператор деактивирован"},
        {"msgLogOperatorActivated", &msgLogOperatorActivated,
         "operator activated",
         "операторът е активиран",
         "оператор активирован"},
        {"msgLogRightsChanged", &msgLogRightsChanged,
         "access rights changed to %1",
         "правата за достъп са променени на %1",
         "права доступа изменены на %1"},
        {"msgLogOperatorCreated", &msgLogOperatorCreated,
         "operator created",
         "създаден оператор",
         "создан оператор"},
        {"msgLogDeactivatedLogin", &msgLogDeactivatedLogin,
         "failed login: operator deactivated",
         "неуспешен вход: операторът е деактивиран",
         "неудачный вход: оператор деактивирован"},
        {"msgLogDeskLocked", &msgLogDeskLocked,
         "workstation locked after %1 idle minutes",
         "работното място е заключено след %1 минути бездействие",
         "рабочее место заблокировано после %1 минут бездействия"},
        {"msgConfigNeedsConnection", &msgConfigNeedsConnection,
         "The program cannot go on without a database. Close the configuration and end the program?",
         "Програмата не може да продължи без база данни. Да се затвори ли конфигурирането и да се прекрати "
         "програмата?",
         "Программа не может продолжить работу без базы данных. Закрыть настройку и завершить программу?"},
        {"msgChangePasswordTitle", &msgChangePasswordTitle,
         "Change my password",
         "Смяна на моята парола",
         "Смена моего пароля"},
        {"msgSetPasswordTitle", &msgSetPasswordTitle,
         "Set the operator's password",
         "Задаване на парола на оператора",
         "Задать пароль оператора"},
        {"msgOperatorSaved", &msgOperatorSaved,
         "The operator was saved.",
         "Операторът е записан.",
         "Оператор сохранён."},
    };
    return entries;
}
