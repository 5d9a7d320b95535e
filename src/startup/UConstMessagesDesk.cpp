#include "UConstMessagesDesk.h"

QString msgDatabaseBusy;
QString msgConnectionLost;
QString msgConnectionBack;
QString msgCommitOutcomeUnknown;
QString msgBoardStale;
QString msgRegistrationClosed;
QString msgRoomNumberExists;
QString msgStoredPasswordUnreadable;
QString msgOperatorNotSaved;
QString msgOperatorListNotRead;
QString msgDatabaseNameReserved;
QString msgDatabaseNameNotAllowed;
QString msgMailNeedsEncryption;
QString msgAttachNotSupported;
QString msgDiscardStagedRows;
QString msgDiscardWindowRows;
QString msgQuitProgram;
QString msgOperatorLabel;
QString msgDbUserLabel;
QString msgNobodyLoggedIn;
QString msgChangeOperatorHint;
QString msgNothingToSave;
QString msgRoomAlreadyBooked;
QString msgReservationStatusTitle;
QString msgFieldsToFix;
QString msgRoomDescription;
QString msgFirstStartFailed;

const QList<TCatalogueEntry> &AddedCatalogueEntries()
{
    static const QList<TCatalogueEntry> entries = {
        {"msgDatabaseBusy", &msgDatabaseBusy,
         "The database is busy: another workstation is saving. Nothing was saved; please try again.",
         "Базата данни е заета: друго работно място записва в нея. Нищо не е записано; моля опитайте отново.",
         "База данных занята: другое рабочее место записывает в неё. Ничего не сохранено; пожалуйста, повторите."},
        {"msgConnectionLost", &msgConnectionLost,
         "The connection to the database server was lost; what was asked was not done. The program connects "
         "again by itself.",
         "Връзката със сървъра на базата данни е прекъсната; поисканото не е извършено. Програмата ще се "
         "свърже отново сама.",
         "Соединение с сервером базы данных потеряно; запрошенное не выполнено. Программа подключится "
         "снова сама."},
        {"msgCommitOutcomeUnknown", &msgCommitOutcomeUnknown,
         "The connection to the database server broke while the change was being saved: the server may have "
         "saved it or not. Please look at the log or the folio before doing it again. The program connects "
         "again by itself.",
         "Връзката със сървъра на базата данни прекъсна, докато промяната се записваше: сървърът може да я е "
         "записал, а може и да не е. Моля проверете в дневника или в сметката, преди да я направите отново. "
         "Програмата ще се свърже отново сама.",
         "Соединение с сервером базы данных прервалось во время сохранения изменения: сервер мог его сохранить, "
         "а мог и нет. Пожалуйста, проверьте журнал или счёт, прежде чем повторять. Программа подключится "
         "снова сама."},
        {"msgBoardStale", &msgBoardStale,
         "No connection to the database server: the board shows the rooms as they were when it was lost. The "
         "program connects again by itself.",
         "Няма връзка със сървъра на базата данни: таблото показва стаите такива, каквито бяха при прекъсването. "
         "Програмата ще се свърже отново сама.",
         "Нет соединения с сервером базы данных: табло показывает номера такими, какими они были при обрыве. "
         "Программа подключится снова сама."},
        {"msgConnectionBack", &msgConnectionBack,
         "The connection to the database server is back.",
         "Връзката със сървъра на базата данни е възстановена.",
         "Соединение с сервером базы данных восстановлено."},
        {"msgRegistrationClosed", &msgRegistrationClosed,
         "A new user or hotel can be registered here only while the database has no operator. Please log in, "
         "or ask an administrator to create your account.",
         "Нов потребител или хотел може да се регистрира оттук само докато в базата няма оператор. Моля влезте "
         "или помолете администратор да създаде Вашия акаунт.",
         "Новый пользователь или гостиница регистрируется здесь, только пока в базе нет ни одного оператора. "
         "Пожалуйста, войдите или попросите администратора создать вашу учётную запись."},
        {"msgRoomNumberExists", &msgRoomNumberExists,
         "This hotel already has a room with the number %1. Please choose another number.",
         "Този хотел вече има стая с номер %1. Моля изберете друг номер.",
         "В этой гостинице уже есть номер %1. Пожалуйста, выберите другой номер."},
        {"msgStoredPasswordUnreadable", &msgStoredPasswordUnreadable,
         "The stored server password cannot be read: the key of the password library was replaced. Please enter "
         "the password again and save.",
         "Записаната парола за сървъра не може да бъде прочетена: ключът на библиотеката за пароли е подменен. "
         "Моля въведете паролата отново и съхранете.",
         "Сохранённый пароль сервера не читается: ключ библиотеки паролей был заменён. Пожалуйста, введите "
         "пароль снова и сохраните."},
        {"msgOperatorNotSaved", &msgOperatorNotSaved,
         "The operator was not saved: ",
         "Операторът не е записан: ",
         "Оператор не сохранён: "},
        {"msgOperatorListNotRead", &msgOperatorListNotRead,
         "The operator was saved, but the list of operators could not be read again: ",
         "Операторът е записан, но списъкът с оператори не можа да бъде прочетен отново: ",
         "Оператор сохранён, но список операторов не удалось прочитать заново: "},
        {"msgDatabaseNameReserved", &msgDatabaseNameReserved,
         "The database name \"%1\" is reserved by the server. Please choose another name.",
         "Името на база данни \"%1\" е запазено от сървъра. Моля изберете друго име.",
         "Имя базы данных \"%1\" зарезервировано сервером. Пожалуйста, выберите другое имя."},
        {"msgDatabaseNameNotAllowed", &msgDatabaseNameNotAllowed,
         "The database name \"%1\" is not allowed: it may not be empty, begin or end with blanks, or hold "
         "\\ / : * ? \" < > | or control characters.",
         "Името на база данни \"%1\" не е позволено: то не може да е празно, да започва или завършва с интервал "
         "или да съдържа \\ / : * ? \" < > | или управляващи знаци.",
         "Имя базы данных \"%1\" недопустимо: оно не может быть пустым, начинаться или заканчиваться пробелом "
         "или содержать \\ / : * ? \" < > | или управляющие символы."},
        {"msgMailNeedsEncryption", &msgMailNeedsEncryption,
         "The report was not sent: the mail server offers no encrypted connection, and the mail user name and "
         "password are sent over an encrypted connection only.",
         "Докладът не е изпратен: пощенският сървър не предлага криптирана връзка, а потребителското име и "
         "паролата за пощата се изпращат само по криптирана връзка.",
         "Отчёт не отправлен: почтовый сервер не предлагает зашифрованного соединения, а имя пользователя и "
         "пароль почты передаются только по зашифрованному соединению."},
        {"msgAttachNotSupported", &msgAttachNotSupported,
         "Attaching database files is a feature of Microsoft SQL Server; this server does not attach files, and "
         "nothing was changed.",
         "Добавянето на файлове на бази данни е възможност на Microsoft SQL Server; този сървър не добавя файлове "
         "и нищо не е променено.",
         "Подключение файлов баз данных — возможность Microsoft SQL Server; этот сервер не подключает файлы, "
         "ничего не изменено."},
        {"msgDiscardStagedRows", &msgDiscardStagedRows,
         "A reservation window holds rows that are not saved. Close the program and discard them?",
         "Прозорец за резервация съдържа незаписани редове. Да се затвори ли програмата и редовете да се загубят?",
         "В окне бронирования есть несохранённые строки. Закрыть программу и отказаться от них?"},
        {"msgDiscardWindowRows", &msgDiscardWindowRows,
         "This reservation window holds rows that are not saved. Close it and discard them?",
         "Този прозорец за резервация съдържа незаписани редове. Да се затвори ли и редовете да се загубят?",
         "В этом окне бронирования есть несохранённые строки. Закрыть его и отказаться от них?"},
        {"msgQuitProgram", &msgQuitProgram,
         "Exit the program?",
         "Изход от програмата?",
         "Выйти из программы?"},
        {"msgOperatorLabel", &msgOperatorLabel,
         "Operator: ",
         "Оператор: ",
         "Оператор: "},
        {"msgDbUserLabel", &msgDbUserLabel,
         "Database user: ",
         "Потребител на базата: ",
         "Пользователь базы: "},
        {"msgNobodyLoggedIn", &msgNobodyLoggedIn,
         "nobody",
         "няма",
         "нет"},
        {"msgChangeOperatorHint", &msgChangeOperatorHint,
         "Shows the login for another operator; Exit there closes the program.",
         "Показва входа за друг оператор; „Изход“ там затваря програмата.",
         "Показывает вход для другого оператора; «Выход» там закрывает программу."},
        {"msgNothingToSave", &msgNothingToSave,
         "There is nothing to save: add the guest's row first (\"Add guest to reservation\").",
         "Няма какво да се запише: първо добавете реда на госта („Добави клиент за резервация“).",
         "Нечего сохранять: сначала добавьте строку гостя («Добавить клиента в бронирование»)."},
        {"msgRoomAlreadyBooked", &msgRoomAlreadyBooked,
         "Attention: the room you chose is already booked",
         "Внимание вече има направена резервация за избраната от Вас стая",
         "Внимание: выбранный вами номер уже забронирован"},
        {"msgReservationStatusTitle", &msgReservationStatusTitle,
         "Reservation status",
         "Резервационен статус",
         "Статус бронирования"},
        {"msgFieldsToFix", &msgFieldsToFix,
         "To correct: %1.",
         "За поправка: %1.",
         "Исправить: %1."},
        {"msgRoomDescription", &msgRoomDescription,
         "Rooms: %1 Beds: %2",
         "Брой стаи: %1 Брой легла: %2",
         "Комнат: %1 Кроватей: %2"},
        {"msgFirstStartFailed", &msgFirstStartFailed,
         "The database could not be made; nothing is kept. ",
         "Базата данни не можа да бъде създадена; нищо не е запазено. ",
         "Базу данных создать не удалось; ничего не сохранено. "},
    };
    return entries;
}
