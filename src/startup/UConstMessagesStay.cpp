#include "UConstMessagesStay.h"

QString msgSchemaUpgradeFailed;
QString msgUpgradeQuestion;
QString msgUpgradeBackup;
QString msgUpgradeBackupFailed;
QString msgUpgradeStep;
QString msgUpgradeIndexes;
QString msgBookingSaved;
QString msgStatusReserved;
QString msgStatusInHouse;
QString msgStatusDeparted;
QString msgStatusCancelled;
QString msgStatusNoShow;
QString msgRoomStateClean;
QString msgRoomStateDirty;
QString msgRoomStateCleaning;
QString msgRoomStateOutOfService;
QString msgRoomStateLocked;
QString msgPaymentDeposit;
QString msgPaymentPayment;
QString msgPaymentRefund;
QString msgMethodCash;
QString msgMethodCard;
QString msgMethodTransfer;
QString msgStayNotFound;
QString msgBookingNotFound;
QString msgStayStatusForbids;
QString msgChangedBefore;
QString msgRoomHeld;
QString msgRoomClosed;
QString msgRoomNotReady;
QString msgRegistrationIncomplete;
QString msgCheckInNotToday;
QString msgOpenBalance;
QString msgNoShowNotDue;
QString msgDepartureInvalid;
QString msgDepartureUnchanged;
QString msgMoveDayInvalid;
QString msgSameRoom;
QString msgNothingToDo;
QString msgAmountInvalid;
QString msgQuantityInvalid;
QString msgRefundTooLarge;
QString msgRoomHasStays;
QString msgNoStayOnRoom;
QString msgNoBookingFound;
QString msgUnknownService;
QString msgUnknownRoom;
QString msgChooseRow;
QString msgRoomStatesSaved;
QString msgNoGuestsInHouse;
QString msgPrinted;
QString msgLogBooked;
QString msgLogCheckedIn;
QString msgLogWalkIn;
QString msgLogCheckedOut;
QString msgLogOpenBalance;
QString msgLogCancelled;
QString msgLogNoShow;
QString msgLogExtended;
QString msgLogMoved;
QString msgLogCharged;
QString msgLogPayment;
QString msgLogRoomState;
QString msgLogLogin;
QString msgLogLoginFailed;
QString msgLogOperatorChange;
QString msgLogRegisterSaved;
QString colBookingNumber;
QString colStayStatus;
QString colNights;
QString colRoomState;
QString colReason;
QString colClosedFrom;
QString colClosedTo;
QString colHotel;
QString colAmount;
QString colPaymentKind;
QString colPaymentMethod;
QString colOperator;
QString colWhen;
QString colWorkstation;
QString colChange;
QString colNote;
QString colRooms;
QString colPassport;
QString colItem;
QString colQuantity;
QString colDate;
QString colGuest;
QString colArrival;
QString colDeparture;
QString msgFolioOwed;
QString msgFolioPaid;
QString msgFolioBalance;
QString msgAccountStay;
QString msgAccountCharge;
QString msgNoRoomChosen;
QString msgCardTitle;
QString msgCardName;
QString msgCardIdentity;
QString msgCardNationality;
QString msgCardAddress;
QString msgCardRoom;
QString msgCardArrival;
QString msgCardDeparture;
QString msgCardBooking;
QString msgCardSignature;
QString msgPdfFilter;
QString msgTaxExemptChild;
QString msgTaxExemptDisability;
QString msgTaxExemptOther;
QString msgLogTaxExempt;
QString lblTaxExemption;
QString msgTaxDue;
QString msgClosurePeriodInvalid;
QString msgStayContinues;
QString colNightsOverdue;
QString msgChartWeek;
QString msgChartTwoWeeks;
QString msgChartFourWeeks;
QString msgChartMonth;
QString msgChartFloor;
QString msgChartTip;
QString msgChartOneHotel;
QString msgChartInHouseDates;
QString msgChartDatesQuestion;
QString msgChartKeysHint;
QString msgChartCancelQuestion;
QString msgInvoiceNothing;
QString msgInvoiceBilled;
QString msgInvoiceNoSeries;
QString msgInvoiceSeriesFull;
QString msgLogInvoiced;
QString msgNoteKind;
QString msgNoteNoInvoice;
QString msgNoteLineInvalid;
QString msgNoteTooMuch;
QString msgLogNoted;
QString msgAdvanceInvalid;
QString msgDatesUnchanged;
QString msgDatesOfMovedStay;
QString msgDatesPast;
QString msgLogDatesChanged;
QString msgEarlyDeparture;
QString msgCheckOutEarlyQuestion;
QString msgOverstay;
QString msgCheckOutLateQuestion;
QString msgOverstayRoomTaken;
QString msgGuestStillInHouse;
QString msgBookingEnded;
QString msgChargeDateInvalid;
QString msgChargeDateOutside;
QString msgLargeQuantity;
QString msgLargeAmount;
QString msgOverpaidBalance;
QString msgPreviewCharge;
QString msgPreviewPayment;
QString msgPreviewExtension;
QString msgPreviewMove;
QString msgPreviewCheckOut;
QString msgPreviewBalance;
QString msgPreviewBalanceNow;
QString msgPreviewAsk;
QString msgPreviewTitle;
QString msgBuyerNoName;
QString msgBuyerEikInvalid;
QString msgBuyerVatInvalid;
QString msgBuyerEikTaken;
QString msgFakturaOfBooking;
QString msgFakturaCreditTo;
QString msgFakturaDebitTo;
QString msgSeriesNoName;
QString msgSeriesFirstInvalid;
QString msgSeriesUsed;
QString msgSeriesOverlaps;
QString msgFiscalSettingsNotSaved;
QString msgFiscalUnreachable;
QString msgFiscalNoAnswer;
QString msgFiscalRefused;
QString msgFiscalNoOriginal;
QString msgFiscalNoDevice;
QString msgFiscalSettingsInvalid;
QString msgFiscalZAsk;
QString msgFiscalReportDone;

QString msgDayClosed;
QString msgCorrectionNeedsReason;
QString msgCorrectionOnToday;
QString msgCorrectionTooLarge;
QString msgLogCorrection;
QString msgNoShowCharge;
QString msgLogNoShowCharged;
QString msgNoBusinessDay;
QString msgCloseArrival;
QString msgCloseArrivalAutomatic;
QString msgCloseDeparture;
QString msgCloseBalance;
QString msgCloseCardUnprinted;
QString msgCloseRoomDirty;
QString msgCloseReceiptUnsettled;
QString msgClosePaymentWithoutReceipt;
QString msgDayClosedElsewhere;
QString msgDayCloseBlocked;
QString msgLogDayClosed;
QString msgReopenNeedsReason;
QString msgReopenOnlyLast;
QString msgLogDayReopened;
QString msgBalanceLimitInvalid;
QString msgLogCloseRules;
QString msgCloseKindArrival;
QString msgCloseKindDeparture;
QString msgCloseKindBalance;
QString msgCloseKindRoom;
QString msgCloseKindCard;
QString msgCloseKindReceipt;
QString colRoomsToSell;
QString colNightsSoldShort;
QString colRoomRevenueShort;
QString colServicesShort;
QString colTaxShort;
QString colPaidShort;
QString colCloseKind;
QString colCloseWhat;
QString colCloseDecision;
QString msgBusinessDayIs;
QString btnCloseCheckIn;
QString btnCloseNoShow;
QString btnCloseTomorrow;
QString btnCloseCheckOut;
QString btnCloseExtend;
QString btnCloseFolio;
QString msgDayCloseAsk;
QString msgDayCloseDone;
QString msgDayReopened;
QString msgNoClosedDay;
QString msgChooseHotel;
QString msgLogCardPrinted;
QString msgGuestNoName;
QString msgGuestBornLater;
QString msgGuestCountryUnknown;
QString msgGuestPersonalNumberInvalid;
QString msgGuestBirthDisagrees;
QString msgGuestEmailInvalid;
QString msgGuestDocumentBeforeBirth;
QString msgGuestNotFound;
QString msgLogGuestSaved;
QString msgSexUnknown;
QString msgSexMale;
QString msgSexFemale;
QString msgDocumentIdentityCard;
QString msgDocumentPassport;
QString msgDocumentOther;
QString colBirthDate;
QString colCitizenship;
QString colPersonalNumber;
QString colDocumentNumberShort;
QString msgDateInvalid;
QString msgGuestMissingForCheckIn;
QString msgLawFieldName;
QString msgLawFieldBorn;
QString msgLawFieldCitizenship;
QString msgLawFieldDocumentNumber;
QString msgLawFieldDocumentSeries;
QString msgStayGuestsNone;
QString msgStayGuestsHolder;
QString msgStayGuestsBeds;
QString msgStayGuestTwice;
QString msgStayGuestsStatus;
QString msgLogStayGuests;
QString msgGuestMergeSame;
QString msgLogGuestMerged;
QString msgAnonymisedName;
QString msgLogGuestAnonymised;
QString msgGuestAnonymisedReasonRetention;
QString msgGuestAnonymisedAlready;
QString msgGuestAnonymiseReason;
QString msgLogGuestExported;
QString msgExportPerson;
QString msgExportStays;
QString msgExportCharges;
QString msgExportPayments;
QString msgExportDocuments;
QString msgExportTitle;
QString lblStayGuestFind;
QString lblStayGuestTax;
QString capStayGuestAdd;
QString capStayGuestNew;
QString capStayGuestEdit;
QString capStayGuestRemove;
QString capStayGuestHolder;
QString colStayGuestHolder;
QString colStayGuestTax;
QString msgStayGuestNotFound;
QString msgStayGuestsTitle;
QString msgStayGuestHolderMark;
QString capGuestMerge;
QString capGuestAnonymise;
QString capGuestExport;
QString lblGuestAnonymiseReason;
QString msgGuestMergeAsk;
QString msgGuestAnonymiseAsk;
QString msgGuestChooseFirst;
QString msgGuestChooseOther;
QString msgTextFilter;
QString msgFileNotWritten;
QString msgCardLatinName;
QString msgCardBorn;
QString msgCardDocument;
QString msgCardPersonalNumber;
QString msgCardHolder;
QString msgCardSeries;
QString msgCardIssuedBy;
QString msgCardValidTo;
QString msgBoardGuestsCount;
QString msgRetentionInvalid;
QString msgEstiNoObjectId;
QString msgLogEstiExported;
QString msgEstiExported;
QString capEstiExport;
QString msgRateNoPrice;
QString msgRateMinStay;
QString msgRateMaxStay;
QString msgRateClosedToArrival;
QString msgRateClosedToDeparture;
QString msgRatePlanNotFound;
QString msgRateRoomType;
QString msgRateChildAgesInvalid;
QString msgLogRestrictionsOverridden;
QString msgRoomTypeOfBeds;
QString msgRateCurrencyDiffers;
QString msgLogRepriced;
QString msgNightPricesTotal;
QString msgRateNoOverrideRight;
QString msgRateOverrideQuestion;
QString msgRepriceQuestion;
QString msgYes;
QString msgMealRoomOnly;
QString msgMealBreakfast;
QString msgMealHalfBoard;
QString msgMealFullBoard;
QString msgChildFree;
QString msgChildPercent;
QString msgChildFixed;
QString msgExtraBed;
QString colSeason;
QString colAdults;
QString colWeekdays;
QString colMinStay;
QString colMaxStay;
QString colClosedToArrival;
QString colClosedToDeparture;
QString colAgeFrom;
QString colAgeTo;
QString colChildRule;
QString colVatIncluded;
QString colMeals;
QString msgRatePlanNameTaken;
QString msgRateSeasonsOverlap;
QString msgRatePriceTwice;
QString msgWeekdaysNone;
QString msgChildBandsOverlap;
const QList<TCatalogueEntry> &FrontDeskCatalogueEntries()
{
    static const QList<TCatalogueEntry> entries = {
        {"msgSchemaUpgradeFailed", &msgSchemaUpgradeFailed,
         "The database could not be brought up to date and was left as it was: ",
         "Базата данни не можа да бъде обновена и е оставена както беше: ",
         "Базу данных не удалось обновить; она оставлена как была: "},
        {"msgUpgradeQuestion", &msgUpgradeQuestion,
         "The database was made by an earlier version of the program and must be brought up to date. This takes "
         "about %1 minutes; a backup is taken first, into %2. Bring it up to date now?",
         "Базата данни е от по-ранна версия на програмата и трябва да бъде обновена. Това ще отнеме около %1 мин.; "
         "преди това се прави резервно копие в %2. Да бъде ли обновена сега?",
         "База данных создана более ранней версией программы и должна быть обновлена. Это займёт около %1 мин.; "
         "сначала делается резервная копия в %2. Обновить её сейчас?"},
        {"msgUpgradeBackup", &msgUpgradeBackup,
         "Taking a backup before the update: %1",
         "Резервно копие преди обновяването: %1",
         "Резервная копия перед обновлением: %1"},
        {"msgUpgradeBackupFailed", &msgUpgradeBackupFailed,
         "No backup could be taken before the update, so the database was left as it was: ",
         "Не можа да бъде направено резервно копие преди обновяването и базата данни е оставена както беше: ",
         "Не удалось сделать резервную копию перед обновлением; база данных оставлена как была: "},
        {"msgUpgradeStep", &msgUpgradeStep,
         "Updating to version %1: step %2 of %3",
         "Обновяване до версия %1: стъпка %2 от %3",
         "Обновление до версии %1: шаг %2 из %3"},
        {"msgUpgradeIndexes", &msgUpgradeIndexes,
         "Updating the indexes: step %1 of %1",
         "Обновяване на индексите: стъпка %1 от %1",
         "Обновление индексов: шаг %1 из %1"},
        {"msgBookingSaved", &msgBookingSaved,
         "The booking was saved under number %1.",
         "Резервацията е записана с номер %1.",
         "Бронирование сохранено под номером %1."},
        {"msgStatusReserved", &msgStatusReserved,
         "reserved",
         "резервиран",
         "забронирован"},
        {"msgStatusInHouse", &msgStatusInHouse,
         "in house",
         "настанен",
         "проживает"},
        {"msgStatusDeparted", &msgStatusDeparted,
         "departed",
         "напуснал",
         "выехал"},
        {"msgStatusCancelled", &msgStatusCancelled,
         "cancelled",
         "отменен",
         "отменён"},
        {"msgStatusNoShow", &msgStatusNoShow,
         "no-show",
         "неявил се",
         "неявка"},
        {"msgRoomStateClean", &msgRoomStateClean,
         "clean",
         "почистена",
         "убран"},
        {"msgRoomStateDirty", &msgRoomStateDirty,
         "dirty",
         "непочистена",
         "не убран"},
        {"msgRoomStateCleaning", &msgRoomStateCleaning,
         "being cleaned",
         "В процес на хигиенизиране",
         "убирается"},
        {"msgRoomStateOutOfService", &msgRoomStateOutOfService,
         "out of service",
         "Служебна",
         "служебный"},
        {"msgRoomStateLocked", &msgRoomStateLocked,
         "locked",
         "Заключена",
         "заблокирован"},
        {"msgPaymentDeposit", &msgPaymentDeposit,
         "deposit",
         "депозит",
         "депозит"},
        {"msgPaymentPayment", &msgPaymentPayment,
         "payment",
         "плащане",
         "оплата"},
        {"msgPaymentRefund", &msgPaymentRefund,
         "refund",
         "връщане",
         "возврат"},
        {"msgMethodCash", &msgMethodCash,
         "cash",
         "в брой",
         "наличные"},
        {"msgMethodCard", &msgMethodCard,
         "card",
         "с карта",
         "картой"},
        {"msgMethodTransfer", &msgMethodTransfer,
         "bank transfer",
         "банков превод",
         "банковский перевод"},
        {"msgStayNotFound", &msgStayNotFound,
         "The stay no longer exists.",
         "Престоят вече не съществува.",
         "Проживание больше не существует."},
        {"msgBookingNotFound", &msgBookingNotFound,
         "Booking %1 does not exist.",
         "Резервация %1 не съществува.",
         "Бронирования %1 нет."},
        {"msgStayStatusForbids", &msgStayStatusForbids,
         "This cannot be done to a stay that is %1.",
         "Това не може да се направи с престой, който е %1.",
         "Это невозможно для проживания со статусом «%1»."},
        {"msgChangedBefore", &msgChangedBefore,
         " The change before yours: %1 (%2, %3).",
         " Промяната преди Вашата: %1 (%2, %3).",
         " Изменение до вашего: %1 (%2, %3)."},
        {"msgRoomHeld", &msgRoomHeld,
         "Room %1 is already held for one of these nights.",
         "Стая %1 вече е заета за някоя от тези нощувки.",
         "Номер %1 уже занят на одну из этих ночей."},
        {"msgRoomClosed", &msgRoomClosed,
         "Room %1 is closed (%2) for one of these nights.",
         "Стая %1 е затворена (%2) за някоя от тези нощувки.",
         "Номер %1 закрыт (%2) на одну из этих ночей."},
        {"msgRoomNotReady", &msgRoomNotReady,
         "Room %1 is %2. Go on all the same?",
         "Стая %1 е %2. Да продължа ли въпреки това?",
         "Номер %1: %2. Всё равно продолжить?"},
        {"msgRegistrationIncomplete", &msgRegistrationIncomplete,
         "The registration card needs the guest's personal number or passport number, nationality and address.",
         "За адресната карта са нужни ЕГН или номер на паспорт, националност и адрес на госта.",
         "Для регистрационной карты нужны личный номер или номер паспорта, гражданство и адрес гостя."},
        {"msgCheckInNotToday", &msgCheckInNotToday,
         "A stay can be checked in from its first day (%1) until the day before its departure.",
         "Гостът може да бъде настанен от първия ден на престоя (%1) до деня преди напускането.",
         "Заселить можно с первого дня проживания (%1) до дня перед выездом."},
        {"msgOpenBalance", &msgOpenBalance,
         "The booking still has a balance of %1. Check out with the balance open?",
         "Резервацията има неплатен остатък %1. Да приключа ли с открит остатък?",
         "У бронирования остаётся задолженность %1. Выселить с открытым остатком?"},
        {"msgNoShowNotDue", &msgNoShowNotDue,
         "A stay can be marked as a no-show only after its first day (%1) has passed.",
         "Престой може да се отбележи като неявил се едва след първия му ден (%1).",
         "Неявку можно отметить только после первого дня проживания (%1)."},
        {"msgDepartureInvalid", &msgDepartureInvalid,
         "The new day of departure must be after the first day and, for a guest in house, not before tomorrow.",
         "Новият ден на напускане трябва да е след първия ден, а за настанен гост не по-рано от утре.",
         "Новый день выезда должен быть после первого дня, а для проживающего гостя не раньше завтрашнего."},
        {"msgDepartureUnchanged", &msgDepartureUnchanged,
         "The stay already ends on %1.",
         "Престоят вече завършва на %1.",
         "Проживание уже заканчивается %1."},
        {"msgMoveDayInvalid", &msgMoveDayInvalid,
         "The move day must lie within the stay, before its departure; a guest in house moves today.",
         "Денят на преместване трябва да е в рамките на престоя, преди напускането; настанен гост се премества днес.",
         "День переезда должен быть внутри проживания, до выезда; проживающий гость переезжает сегодня."},
        {"msgSameRoom", &msgSameRoom,
         "The guest already has this room.",
         "Гостът вече е в тази стая.",
         "Гость уже в этом номере."},
        {"msgNothingToDo", &msgNothingToDo,
         "The booking has no stay this applies to.",
         "Резервацията няма престой, за който това се отнася.",
         "В бронировании нет проживания, к которому это относится."},
        {"msgAmountInvalid", &msgAmountInvalid,
         "Please enter an amount greater than zero with at most two decimals.",
         "Моля въведете сума, по-голяма от нула, с най-много два знака след точката.",
         "Пожалуйста, введите сумму больше нуля, не более двух знаков после точки."},
        {"msgQuantityInvalid", &msgQuantityInvalid,
         "Please enter a quantity greater than zero.",
         "Моля въведете количество, по-голямо от нула.",
         "Пожалуйста, введите количество больше нуля."},
        {"msgRefundTooLarge", &msgRefundTooLarge,
         "A refund cannot be larger than what was paid (%1).",
         "Връщането не може да е по-голямо от платеното (%1).",
         "Возврат не может быть больше оплаченного (%1)."},
        {"msgRoomHasStays", &msgRoomHasStays,
         "Room %1 has stays in the nights it would be closed.",
         "Стая %1 има престои в нощувките, за които би била затворена.",
         "У номера %1 есть проживания в ночи, когда он был бы закрыт."},
        {"msgNoStayOnRoom", &msgNoStayOnRoom,
         "Room %1 has no booking on %2.",
         "Стая %1 няма резервация на %2.",
         "У номера %1 нет бронирования на %2."},
        {"msgNoBookingFound", &msgNoBookingFound,
         "No booking matches \"%1\".",
         "Няма резервация, отговаряща на \"%1\".",
         "Нет бронирования, соответствующего \"%1\"."},
        {"msgUnknownService", &msgUnknownService,
         "Please choose a service from the list.",
         "Моля изберете услуга от списъка.",
         "Пожалуйста, выберите услугу из списка."},
        {"msgUnknownRoom", &msgUnknownRoom,
         "Please choose a room from the list.",
         "Моля изберете стая от списъка.",
         "Пожалуйста, выберите номер из списка."},
        {"msgChooseRow", &msgChooseRow,
         "Please choose a row of the list first.",
         "Моля първо изберете ред от списъка.",
         "Пожалуйста, сначала выберите строку списка."},
        {"msgRoomStatesSaved", &msgRoomStatesSaved,
         "The state of %1 room(s) was changed.",
         "Състоянието на %1 стаи е променено.",
         "Состояние номеров изменено: %1."},
        {"msgNoGuestsInHouse", &msgNoGuestsInHouse,
         "No guest is in house on %1.",
         "Няма настанени гости на %1.",
         "На %1 нет проживающих гостей."},
        {"msgPrinted", &msgPrinted,
         "The cards were saved to %1.",
         "Картите са записани в %1.",
         "Карты сохранены в %1."},
        {"msgLogBooked", &msgLogBooked,
         "booking saved: %1 stay(s), %2 charge(s)",
         "записана резервация: %1 престоя, %2 начисления",
         "сохранено бронирование: проживаний %1, начислений %2"},
        {"msgLogCheckedIn", &msgLogCheckedIn,
         "room %1: checked in",
         "стая %1: настанен",
         "номер %1: заселён"},
        {"msgLogWalkIn", &msgLogWalkIn,
         "room %1: checked in without a booking until %2",
         "стая %1: настанен без резервация до %2",
         "номер %1: заселён без бронирования до %2"},
        {"msgLogCheckedOut", &msgLogCheckedOut,
         "room %1: checked out after %2 night(s), total %3",
         "стая %1: напуснал след %2 нощувки, общо %3",
         "номер %1: выехал после %2 ночей, итого %3"},
        {"msgLogOpenBalance", &msgLogOpenBalance,
         "; balance left open: %1",
         "; оставен открит остатък: %1",
         "; оставлен открытый остаток: %1"},
        {"msgLogCancelled", &msgLogCancelled,
         "room %1, %2 to %3: cancelled",
         "стая %1, %2 до %3: отменен",
         "номер %1, с %2 по %3: отменено"},
        {"msgLogNoShow", &msgLogNoShow,
         "room %1, %2 to %3: no-show",
         "стая %1, %2 до %3: неявил се",
         "номер %1, с %2 по %3: неявка"},
        {"msgLogExtended", &msgLogExtended,
         "room %1: departure changed from %2 to %3, total %4",
         "стая %1: напускането е променено от %2 на %3, общо %4",
         "номер %1: выезд перенесён с %2 на %3, итого %4"},
        {"msgLogMoved", &msgLogMoved,
         "moved from room %1 to room %2 on %3",
         "преместен от стая %1 в стая %2 на %3",
         "переведён из номера %1 в номер %2 с %3"},
        {"msgLogCharged", &msgLogCharged,
         "charged %1: %2 x %3 = %4",
         "начислено %1: %2 x %3 = %4",
         "начислено %1: %2 x %3 = %4"},
        {"msgLogPayment", &msgLogPayment,
         "%1 %2, %3",
         "%1 %2, %3",
         "%1 %2, %3"},
        {"msgLogRoomState", &msgLogRoomState,
         "room %1: %2",
         "стая %1: %2",
         "номер %1: %2"},
        {"msgLogLogin", &msgLogLogin,
         "logged in",
         "вход в системата",
         "вход в систему"},
        {"msgLogLoginFailed", &msgLogLoginFailed,
         "failed login as \"%1\"",
         "неуспешен вход като \"%1\"",
         "неудачный вход как \"%1\""},
        {"msgLogOperatorChange", &msgLogOperatorChange,
         "operator change",
         "смяна на оператор",
         "смена оператора"},
        {"msgLogRegisterSaved", &msgLogRegisterSaved,
         "%1: row saved",
         "%1: записан ред",
         "%1: строка сохранена"},
        {"colBookingNumber", &colBookingNumber,
         "Booking",
         "Резервация №",
         "Бронирование №"},
        {"colStayStatus", &colStayStatus,
         "Status",
         "Статус",
         "Статус"},
        {"colNights", &colNights,
         "Nights",
         "Нощувки",
         "Ночей"},
        {"colRoomState", &colRoomState,
         "State",
         "Състояние",
         "Состояние"},
        {"colReason", &colReason,
         "Reason",
         "Причина",
         "Причина"},
        {"colClosedFrom", &colClosedFrom,
         "Closed from",
         "Затворена от",
         "Закрыт с"},
        {"colClosedTo", &colClosedTo,
         "Open again on",
         "Отваря на",
         "Открывается"},
        {"colHotel", &colHotel,
         "Hotel",
         "Хотел",
         "Гостиница"},
        {"colAmount", &colAmount,
         "Amount",
         "Сума",
         "Сумма"},
        {"colPaymentKind", &colPaymentKind,
         "Kind",
         "Вид",
         "Вид"},
        {"colPaymentMethod", &colPaymentMethod,
         "Method",
         "Начин",
         "Способ"},
        {"colOperator", &colOperator,
         "Operator",
         "Оператор",
         "Оператор"},
        {"colWhen", &colWhen,
         "When",
         "Кога",
         "Когда"},
        {"colWorkstation", &colWorkstation,
         "Workstation",
         "Работно място",
         "Рабочее место"},
        {"colChange", &colChange,
         "Change",
         "Промяна",
         "Изменение"},
        {"colNote", &colNote,
         "Note",
         "Бележка",
         "Примечание"},
        {"colRooms", &colRooms,
         "Rooms",
         "Стаи",
         "Номера"},
        {"colPassport", &colPassport,
         "Passport",
         "Паспорт",
         "Паспорт"},
        {"colItem", &colItem,
         "Item",
         "Позиция",
         "Позиция"},
        {"colQuantity", &colQuantity,
         "Quantity",
         "Количество",
         "Количество"},
        {"colDate", &colDate,
         "Date",
         "Дата",
         "Дата"},
        {"colGuest", &colGuest,
         "Guest",
         "Гост",
         "Гость"},
        {"colArrival", &colArrival,
         "Arrival",
         "Пристигане",
         "Заезд"},
        {"colDeparture", &colDeparture,
         "Departure",
         "Напускане",
         "Выезд"},
        {"msgFolioOwed", &msgFolioOwed,
         "Owed: %1",
         "Дължимо: %1",
         "К оплате: %1"},
        {"msgFolioPaid", &msgFolioPaid,
         "Paid: %1",
         "Платено: %1",
         "Оплачено: %1"},
        {"msgFolioBalance", &msgFolioBalance,
         "Balance: %1",
         "Остатък: %1",
         "Остаток: %1"},
        {"msgAccountStay", &msgAccountStay,
         "Room %1, %2 to %3, %4 night(s) x %5",
         "Стая %1, %2 до %3, %4 нощувки x %5",
         "Номер %1, с %2 по %3, ночей: %4 x %5"},
        {"msgAccountCharge", &msgAccountCharge,
         "%1, %2 x %3",
         "%1, %2 x %3",
         "%1, %2 x %3"},
        {"msgNoRoomChosen", &msgNoRoomChosen,
         "Please choose a room on the board first.",
         "Моля първо изберете стая от таблото.",
         "Пожалуйста, сначала выберите номер на табло."},
        {"msgCardTitle", &msgCardTitle,
         "REGISTRATION CARD",
         "АДРЕСНА КАРТА",
         "РЕГИСТРАЦИОННАЯ КАРТА"},
        {"msgCardName", &msgCardName,
         "Name",
         "Име",
         "Имя"},
        {"msgCardIdentity", &msgCardIdentity,
         "Personal number / passport",
         "ЕГН / паспорт",
         "Личный номер / паспорт"},
        {"msgCardNationality", &msgCardNationality,
         "Nationality",
         "Националност",
         "Гражданство"},
        {"msgCardAddress", &msgCardAddress,
         "Address",
         "Адрес",
         "Адрес"},
        {"msgCardRoom", &msgCardRoom,
         "Room",
         "Стая",
         "Номер"},
        {"msgCardArrival", &msgCardArrival,
         "Arrival",
         "Пристигане",
         "Заезд"},
        {"msgCardDeparture", &msgCardDeparture,
         "Departure",
         "Напускане",
         "Выезд"},
        {"msgCardBooking", &msgCardBooking,
         "Booking",
         "Резервация",
         "Бронирование"},
        {"msgCardSignature", &msgCardSignature,
         "Guest's signature",
         "Подпис на госта",
         "Подпись гостя"},
        {"msgPdfFilter", &msgPdfFilter,
         "PDF files (*.pdf)",
         "PDF файлове (*.pdf)",
         "Файлы PDF (*.pdf)"},
        {"msgTaxExemptChild", &msgTaxExemptChild,
         "A child, as the municipality's ordinance exempts",
         "Дете, освободено по наредбата на общината",
         "Ребёнок, освобождённый постановлением общины"},
        {"msgTaxExemptDisability", &msgTaxExemptDisability,
         "A person with a disability, as the municipality's ordinance exempts",
         "Лице с увреждане, освободено по наредбата на общината",
         "Лицо с инвалидностью, освобождённое постановлением общины"},
        {"msgTaxExemptOther", &msgTaxExemptOther,
         "Another ground of the municipality's ordinance",
         "Друго основание по наредбата на общината",
         "Другое основание по постановлению общины"},
        {"msgLogTaxExempt", &msgLogTaxExempt,
         "; exempt from the tourist tax: %1",
         "; освободен от туристически данък: %1",
         "; освобождён от туристического налога: %1"},
        {"lblTaxExemption", &lblTaxExemption,
         "Tourist tax",
         "Туристически данък",
         "Туристический налог"},
        {"msgTaxDue", &msgTaxDue,
         "due",
         "дължи се",
         "взимается"},
        {"msgClosurePeriodInvalid", &msgClosurePeriodInvalid,
         "A room is closed from a first night to a later day when it opens again. Please correct the period.",
         "Стая се затваря от първа нощ до по-късен ден, в който се отваря отново. Моля поправете периода.",
         "Номер закрывается с первой ночи до более позднего дня, когда открывается снова. Пожалуйста, исправьте период."},
        {"msgStayContinues", &msgStayContinues,
         "This stay goes on in room %1 from %2: change the departure of that part instead.",
         "Този престой продължава в стая %1 от %2: променете напускането на онази част.",
         "Это проживание продолжается в номере %1 с %2: измените выезд той части."},
        {"colNightsOverdue", &colNightsOverdue,
         "Nights overdue",
         "Нощувки след напускането",
         "Ночей после выезда"},
        {"msgChartWeek", &msgChartWeek,
         "1 week",
         "1 седмица",
         "1 неделя"},
        {"msgChartTwoWeeks", &msgChartTwoWeeks,
         "2 weeks",
         "2 седмици",
         "2 недели"},
        {"msgChartFourWeeks", &msgChartFourWeeks,
         "4 weeks",
         "4 седмици",
         "4 недели"},
        {"msgChartMonth", &msgChartMonth,
         "A month",
         "Месец",
         "Месяц"},
        {"msgChartFloor", &msgChartFloor,
         "%1, floor %2",
         "%1, етаж %2",
         "%1, этаж %2"},
        {"msgChartTip", &msgChartTip,
         "Booking no. %1\n%2\n%3 to %4, %5 nights\nTotal %6, paid %7, balance %8\n%9",
         "Резервация № %1\n%2\n%3 до %4, %5 нощувки\nОбщо %6, платено %7, салдо %8\n%9",
         "Бронирование № %1\n%2\n%3 по %4, ночей: %5\nИтого %6, оплачено %7, сальдо %8\n%9"},
        {"msgChartOneHotel", &msgChartOneHotel,
         "A booking is for rooms of one hotel.",
         "Резервацията е за стаи от един хотел.",
         "Бронирование делается на номера одного отеля."},
        {"msgChartInHouseDates", &msgChartInHouseDates,
         "A guest in house keeps the first night: drag the right end to change the departure.",
         "Настанен гост запазва първата си нощувка: изтеглете десния край, за да промените напускането.",
         "Проживающий гость сохраняет первую ночь: потяните правый край, чтобы изменить выезд."},
        {"msgChartDatesQuestion", &msgChartDatesQuestion,
         "Room %1: the stay from %2 to %3 takes the days from %4 to %5.",
         "Стая %1: престоят от %2 до %3 се премества за дните от %4 до %5.",
         "Номер %1: проживание с %2 по %3 переносится на дни с %4 по %5."},
        {"msgChartKeysHint", &msgChartKeysHint,
         "Arrow keys carry the stay; Enter puts it there, Esc back.",
         "Стрелките преместват престоя; Enter го поставя, Esc го връща.",
         "Стрелки переносят проживание; Enter ставит его, Esc возвращает."},
        {"msgChartCancelQuestion", &msgChartCancelQuestion,
         "Cancel the stay of %1 from %2 to %3?",
         "Да се отмени ли престоят на %1 от %2 до %3?",
         "Отменить проживание %1 с %2 по %3?"},
        {"msgInvoiceNothing", &msgInvoiceNothing,
         "Nothing of booking %1 is left to invoice.",
         "Нищо от резервация %1 не остава за фактуриране.",
         "Ничего из бронирования %1 не осталось для счёта-фактуры."},
        {"msgInvoiceBilled", &msgInvoiceBilled,
         "Row %1 is on an invoice already or is not of this booking.",
         "Ред %1 вече е във фактура или не е от тази резервация.",
         "Строка %1 уже в счёте-фактуре или не из этого бронирования."},
        {"msgInvoiceNoSeries", &msgInvoiceNoSeries,
         "No such series of document numbers.",
         "Няма такава серия номера на документи.",
         "Нет такой серии номеров документов."},
        {"msgInvoiceSeriesFull", &msgInvoiceSeriesFull,
         "The series %1 has no numbers left.",
         "В серия %1 не остават номера.",
         "В серии %1 не осталось номеров."},
        {"msgLogInvoiced", &msgLogInvoiced,
         "document %1, total %2",
         "документ %1, общо %2",
         "документ %1, итого %2"},
        {"msgNoteKind", &msgNoteKind,
         "A note is a credit note or a debit note.",
         "Известието е кредитно или дебитно.",
         "Уведомление бывает кредитовым или дебетовым."},
        {"msgNoteNoInvoice", &msgNoteNoInvoice,
         "A note refers to an issued invoice; there is no such invoice.",
         "Известието се отнася до издадена фактура; няма такава фактура.",
         "Уведомление относится к выставленному счёту-фактуре; такого нет."},
        {"msgNoteLineInvalid", &msgNoteLineInvalid,
         "Row %1 is not on the invoice, or its amount is not a positive amount in cents.",
         "Ред %1 не е във фактурата или сумата му не е положителна сума в центове.",
         "Строки %1 нет в счёте-фактуре, или её сумма не положительна в центах."},
        {"msgNoteTooMuch", &msgNoteTooMuch,
         "Row %1 bills only %2 still: a credit note cannot take off more.",
         "Ред %1 фактурира вече само %2: кредитното известие не може да намали повече.",
         "Строка %1 выставлена уже только на %2: кредитовое уведомление не может уменьшить больше."},
        {"msgAdvanceInvalid", &msgAdvanceInvalid,
         "An advance is an amount above nothing, in whole cents.",
         "Авансът е сума над нула, в цели центове.",
         "Аванс — сумма больше нуля, в целых центах."},
        {"msgLogNoted", &msgLogNoted,
         "note %1 to invoice %2, total %3",
         "известие %1 към фактура %2, общо %3",
         "уведомление %1 к счёту-фактуре %2, итого %3"},
        {"msgDatesUnchanged", &msgDatesUnchanged,
         "The stay already begins on %1.",
         "Престоят вече започва на %1.",
         "Проживание уже начинается %1."},
        {"msgDatesOfMovedStay", &msgDatesOfMovedStay,
         "A stay moved between rooms keeps its days: change its departure instead.",
         "Престой, преместван между стаи, запазва дните си: променете напускането му.",
         "Проживание, переносившееся между номерами, сохраняет свои дни: измените его выезд."},
        {"msgDatesPast", &msgDatesPast,
         "The new first night is before the front desk's day (%1).",
         "Новата първа нощувка е преди деня на рецепцията (%1).",
         "Новая первая ночь раньше дня стойки регистрации (%1)."},
        {"msgLogDatesChanged", &msgLogDatesChanged,
         "room %1: %2 to %3 changed to %4 to %5",
         "стая %1: от %2 до %3 е променено на от %4 до %5",
         "номер %1: с %2 по %3 изменено на с %4 по %5"},
        {"msgEarlyDeparture", &msgEarlyDeparture,
         "Room %1 is booked for %2 nights; checking out today charges %3 nights and gives up %4.",
         "Стая %1 е резервирана за %2 нощувки; напускане днес начислява %3 нощувки и се отказва от %4.",
         "Номер %1 забронирован на %2 ночей; выезд сегодня начисляет %3 ночей, отказ от %4."},
        {"msgCheckOutEarlyQuestion", &msgCheckOutEarlyQuestion,
         "Check out before the booked departure?",
         "Да напусне ли преди резервираната дата?",
         "Выселить раньше забронированной даты?"},
        {"msgOverstay", &msgOverstay,
         "The guest of room %1 was due to leave on %2: checking out today adds %3 nights (%4).",
         "Гостът в стая %1 трябваше да напусне на %2: напускане днес добавя %3 нощувки (%4).",
         "Гость номера %1 должен был выехать %2: выезд сегодня добавляет %3 ночей (%4)."},
        {"msgCheckOutLateQuestion", &msgCheckOutLateQuestion,
         "Charge the nights stayed and check out?",
         "Да се начислят ли престоялите нощувки и да напусне?",
         "Начислить прожитые ночи и выселить?"},
        {"msgOverstayRoomTaken", &msgOverstayRoomTaken,
         "The guest of room %1 stayed past %2, but another stay holds the room from that day. Move one of the two stays first, then check out.",
         "Гостът в стая %1 остана след %2, но от този ден стаята е заета от друг престой. Първо преместете единия от двата престоя, после освободете стаята.",
         "Гость номера %1 остался после %2, но с этого дня номер занят другим проживанием. Сначала переселите одного из них, затем выселяйте."},
        {"msgGuestStillInHouse", &msgGuestStillInHouse,
         "Room %1 still has a guest in house: %2. Check that guest out or move them first.",
         "В стая %1 все още е настанен гост: %2. Първо го освободете или преместете.",
         "В номере %1 ещё проживает гость: %2. Сначала выселите или переселите его."},
        {"msgBookingEnded", &msgBookingEnded,
         "Every stay of this booking is cancelled or a no-show: nothing more can be charged or paid on it. A refund of what was paid is still possible.",
         "Всички престои на тази резервация са анулирани или неявили се: по нея не може да се начислява или плаща. Връщане на платеното е възможно.",
         "Все проживания этого бронирования отменены или гость не прибыл: начислять и принимать оплату нельзя. Возврат оплаченного возможен."},
        {"msgChargeDateInvalid", &msgChargeDateInvalid,
         "Please give the charge a valid date.",
         "Моля въведете валидна дата на услугата.",
         "Пожалуйста, укажите правильную дату услуги."},
        {"msgChargeDateOutside", &msgChargeDateOutside,
         "A charge is dated within the booking's stays (%1 – %2) or today (%3).",
         "Услугата се начислява с дата в престоя по резервацията (%1 – %2) или днес (%3).",
         "Услуга начисляется датой в пределах проживания (%1 – %2) или сегодня (%3)."},
        {"msgLargeQuantity", &msgLargeQuantity,
         "A quantity of %1 is unusually large. Charge it?",
         "Количество %1 е необичайно голямо. Да се начисли ли?",
         "Количество %1 необычно большое. Начислить?"},
        {"msgLargeAmount", &msgLargeAmount,
         "An amount of %1 is unusually large. Go ahead?",
         "Сума %1 е необичайно голяма. Да продължа ли?",
         "Сумма %1 необычно большая. Продолжить?"},
        {"msgOverpaidBalance", &msgOverpaidBalance,
         "The guest has paid %1 more than the booking owes. Check out and refund it later?",
         "Гостът е платил с %1 повече, отколкото дължи резервацията. Да приключа ли и надплатеното да се върне по-късно?",
         "Гость заплатил на %1 больше, чем причитается по бронированию. Завершить и вернуть переплату позже?"},
        {"msgPreviewCharge", &msgPreviewCharge,
         "Charge %1 × %2 at %3: %4 %5.",
         "Начисляване на %1 × %2 по %3: %4 %5.",
         "Начисление %1 × %2 по %3: %4 %5."},
        {"msgPreviewPayment", &msgPreviewPayment,
         "%1 (%2): %3 %4.",
         "%1 (%2): %3 %4.",
         "%1 (%2): %3 %4."},
        {"msgPreviewExtension", &msgPreviewExtension,
         "Room %1: departure %2 instead of %3, %4 nights instead of %5; the stay comes to %6 %7 instead of %8 %7.",
         "Стая %1: напускане на %2 вместо на %3, %4 нощувки вместо %5; престоят става %6 %7 вместо %8 %7.",
         "Номер %1: выезд %2 вместо %3, %4 ночей вместо %5; проживание составит %6 %7 вместо %8 %7."},
        {"msgPreviewMove", &msgPreviewMove,
         "The guest moves from room %1 to room %2 from %3; the nights keep their booked price (%4 %5 a night).",
         "Гостът се премества от стая %1 в стая %2 от %3; нощувките запазват резервираната цена (%4 %5 на нощ).",
         "Гость переселяется из номера %1 в номер %2 с %3; ночи сохраняют забронированную цену (%4 %5 за ночь)."},
        {"msgPreviewCheckOut", &msgPreviewCheckOut,
         "Room %1 checks out on %2: %3 nights, %4 %5.",
         "Стая %1 напуска на %2: %3 нощувки, %4 %5.",
         "Номер %1 выезжает %2: %3 ночей, %4 %5."},
        {"msgPreviewBalance", &msgPreviewBalance,
         "The balance goes from %1 to %2 %3.",
         "Салдото става %2 %3 (досега %1).",
         "Сальдо станет %2 %3 (было %1)."},
        {"msgPreviewBalanceNow", &msgPreviewBalanceNow,
         "The booking's balance: %1 %2.",
         "Салдо на резервацията: %1 %2.",
         "Сальдо бронирования: %1 %2."},
        {"msgPreviewAsk", &msgPreviewAsk,
         "Go ahead?",
         "Да се изпълни ли?",
         "Выполнить?"},
        {"msgPreviewTitle", &msgPreviewTitle,
         "Please confirm",
         "Потвърждение",
         "Подтверждение"},
        {"msgBuyerNoName", &msgBuyerNoName,
         "A buyer needs a name.",
         "Купувачът трябва да има наименование.",
         "У покупателя должно быть наименование."},
        {"msgBuyerEikInvalid", &msgBuyerEikInvalid,
         "\"%1\" is no valid UIC (ЕИК): nine or thirteen digits whose check digits hold.",
         "\"%1\" не е валиден ЕИК: девет или тринадесет цифри с верни контролни цифри.",
         "\"%1\" — неверный ЕИК: девять или тринадцать цифр с верными контрольными цифрами."},
        {"msgBuyerVatInvalid", &msgBuyerVatInvalid,
         "\"%1\" is no VAT number: two letters of the country and its digits (BG123456789).",
         "\"%1\" не е ИН по ДДС: две букви на държавата и цифри (BG123456789).",
         "\"%1\" — не номер НДС: две буквы страны и цифры (BG123456789)."},
        {"msgBuyerEikTaken", &msgBuyerEikTaken,
         "A buyer with UIC %1 is in the register already (ID %2).",
         "Купувач с ЕИК %1 вече има в регистъра (ИД %2).",
         "Покупатель с ЕИК %1 уже есть в реестре (ИД %2)."},
        {"msgFakturaOfBooking", &msgFakturaOfBooking,
         "Booking %1: the rows not yet invoiced",
         "Резервация %1: редовете, които още не са фактурирани",
         "Бронирование %1: строки, ещё не включённые в счёт"},
        {"msgFakturaCreditTo", &msgFakturaCreditTo,
         "Credit note to invoice %1: tick the rows and type what is taken off",
         "Кредитно известие към фактура %1: отметнете редовете и въведете сумата за намаление",
         "Кредитовое уведомление к счёту %1: отметьте строки и введите сумму уменьшения"},
        {"msgFakturaDebitTo", &msgFakturaDebitTo,
         "Debit note to invoice %1: tick the rows and type what is added",
         "Дебитно известие към фактура %1: отметнете редовете и въведете сумата за увеличение",
         "Дебетовое уведомление к счёту %1: отметьте строки и введите сумму увеличения"},
        {"msgSeriesNoName", &msgSeriesNoName,
         "A series needs a name.",
         "Серията трябва да има наименование.",
         "У серии должно быть наименование."},
        {"msgSeriesFirstInvalid", &msgSeriesFirstInvalid,
         "The first number is a whole number from 1 to 9999999999.",
         "Първият номер е цяло число от 1 до 9999999999.",
         "Первый номер — целое число от 1 до 9999999999."},
        {"msgSeriesUsed", &msgSeriesUsed,
         "The series has issued documents: its numbers stay as they are.",
         "Серията има издадени документи: номерата ѝ остават каквито са.",
         "По серии выданы документы: её номера остаются прежними."},
        {"msgSeriesOverlaps", &msgSeriesOverlaps,
         "Number %1 is among those series \"%2\" has given already.",
         "Номер %1 е сред дадените вече от серия \"%2\".",
         "Номер %1 уже среди выданных серией \"%2\"."},
        {"msgFiscalSettingsNotSaved", &msgFiscalSettingsNotSaved,
         "The fiscal device's settings cannot be written.",
         "Настройките на фискалното устройство не могат да се запишат.",
         "Настройки фискального устройства не удаётся записать."},
        {"msgFiscalUnreachable", &msgFiscalUnreachable,
         "The fiscal device service %1 does not answer for printer \"%2\"; nothing was printed or recorded.",
         "Услугата за фискално устройство %1 не отговаря за принтер \"%2\"; нищо не е отпечатано или записано.",
         "Служба фискального устройства %1 не отвечает для принтера \"%2\"; ничего не напечатано и не записано."},
        {"msgFiscalNoAnswer", &msgFiscalNoAnswer,
         "The fiscal device gave no answer for task %1. The payment is not recorded; once the device is back, the task is asked for again and printed at most once.",
         "Фискалното устройство не отговори за задача %1. Плащането не е записано; когато устройството е налично, задачата се проверява отново и се отпечатва най-много веднъж.",
         "Фискальное устройство не ответило по задаче %1. Оплата не записана; когда устройство доступно, задача проверяется снова и печатается не более одного раза."},
        {"msgFiscalRefused", &msgFiscalRefused,
         "The fiscal device refused the receipt (%1); the payment is not recorded.",
         "Фискалното устройство отказа бона (%1); плащането не е записано.",
         "Фискальное устройство отказало в чеке (%1); оплата не записана."},
        {"msgFiscalNoOriginal", &msgFiscalNoOriginal,
         "No receipt of this booking holds %1 to take back: refund at most one receipt's amount at a time.",
         "Няма бон на резервацията, от който да се сторнират %1: възстановявайте най-много сумата на един бон наведнъж.",
         "Нет чека бронирования, из которого можно сторнировать %1: возвращайте не больше суммы одного чека за раз."},
        {"msgFiscalNoDevice", &msgFiscalNoDevice,
         "This workstation has no fiscal device.",
         "Това работно място няма фискално устройство.",
         "У этого рабочего места нет фискального устройства."},
        {"msgFiscalSettingsInvalid", &msgFiscalSettingsInvalid,
         "With a fiscal device, give the service's address (http://host:port) and the printer's id.",
         "При фискално устройство въведете адреса на услугата (http://хост:порт) и името на принтера.",
         "Для фискального устройства укажите адрес службы (http://хост:порт) и имя принтера."},
        {"msgFiscalZAsk", &msgFiscalZAsk,
         "The Z report closes the fiscal device's day. Print it?",
         "Z отчетът приключва деня на фискалното устройство. Да се отпечата ли?",
         "Z-отчёт закрывает день фискального устройства. Напечатать?"},
        {"msgFiscalReportDone", &msgFiscalReportDone,
         "The fiscal device printed the report.",
         "Фискалното устройство отпечата отчета.",
         "Фискальное устройство напечатало отчёт."},
        {"msgDayClosed", &msgDayClosed,
         "%1 is a closed day: the business day is %2. Make a correction on the business day instead.",
         "%1 е затворен ден: работният ден е %2. Направете корекция в работния ден.",
         "%1 — закрытый день: рабочий день %2. Сделайте исправление в рабочем дне."},
        {"msgCorrectionNeedsReason", &msgCorrectionNeedsReason,
         "A correction (a negative quantity) needs its reason.",
         "Корекцията (отрицателно количество) изисква причина.",
         "Исправлению (отрицательное количество) нужна причина."},
        {"msgCorrectionOnToday", &msgCorrectionOnToday,
         "A correction is dated on the business day, %1.",
         "Корекцията се записва в работния ден, %1.",
         "Исправление записывается в рабочий день, %1."},
        {"msgCorrectionTooLarge", &msgCorrectionTooLarge,
         "A correction of %1 is more than the booking was charged for \"%3\" (%2).",
         "Корекция от %1 е повече от начисленото по резервацията за \"%3\" (%2).",
         "Исправление на %1 больше начисленного по бронированию за \"%3\" (%2)."},
        {"msgLogCorrection", &msgLogCorrection,
         "correction: %1",
         "корекция: %1",
         "исправление: %1"},
        {"msgNoShowCharge", &msgNoShowCharge,
         "No-show, room %1: first night",
         "Неявяване, стая %1: първа нощувка",
         "Неявка, номер %1: первая ночь"},
        {"msgLogNoShowCharged", &msgLogNoShowCharged,
         "no-show charged %1",
         "начислено неявяване %1",
         "начислена неявка %1"},
        {"msgNoBusinessDay", &msgNoBusinessDay,
         "The database keeps no business day; bring it up to date first.",
         "Базата данни няма работен ден; първо я обновете.",
         "В базе данных нет рабочего дня; сначала обновите её."},
        {"msgCloseArrival", &msgCloseArrival,
         "Arrival of %1 not checked in: check in, no-show or move to tomorrow.",
         "Пристигане от %1 без настаняване: настанете, неявяване или преместете за утре.",
         "Заезд %1 без заселения: заселите, неявка или перенесите на завтра."},
        {"msgCloseArrivalAutomatic", &msgCloseArrivalAutomatic,
         "Arrival of %1 not checked in: the close marks it no-show.",
         "Пристигане от %1 без настаняване: затварянето го отбелязва като неявяване.",
         "Заезд %1 без заселения: закрытие отметит неявку."},
        {"msgCloseDeparture", &msgCloseDeparture,
         "Departure of %1 not checked out: check out or extend.",
         "Заминаване на %1 без напускане: освободете или удължете.",
         "Выезд %1 без выселения: выселите или продлите."},
        {"msgCloseBalance", &msgCloseBalance,
         "Owes %1, more than %2.",
         "Дължи %1, повече от %2.",
         "Должен %1, больше %2."},
        {"msgCloseCardUnprinted", &msgCloseCardUnprinted,
         "Registration card not printed.",
         "Адресната карта не е отпечатана.",
         "Адресная карта не напечатана."},
        {"msgCloseRoomDirty", &msgCloseRoomDirty,
         "Room not clean.",
         "Стаята не е почистена.",
         "Номер не убран."},
        {"msgCloseReceiptUnsettled", &msgCloseReceiptUnsettled,
         "Fiscal receipt %1 sent without an answer: take the same payment again to settle it.",
         "Фискален бон %1 е изпратен без отговор: вземете същото плащане отново, за да се уреди.",
         "Фискальный чек %1 отправлен без ответа: примите тот же платёж снова, чтобы урегулировать."},
        {"msgClosePaymentWithoutReceipt", &msgClosePaymentWithoutReceipt,
         "Payment of %1 without a fiscal receipt.",
         "Плащане от %1 без фискален бон.",
         "Платёж %1 без фискального чека."},
        {"msgDayClosedElsewhere", &msgDayClosedElsewhere,
         "The day %1 is already closed; the business day is %2.",
         "Денят %1 вече е затворен; работният ден е %2.",
         "День %1 уже закрыт; рабочий день %2."},
        {"msgDayCloseBlocked", &msgDayCloseBlocked,
         "%1 arrivals or departures still wait for a decision; the day stays open.",
         "%1 пристигания или заминавания още чакат решение; денят остава отворен.",
         "%1 заездов или выездов ещё ждут решения; день остаётся открытым."},
        {"msgLogDayClosed", &msgLogDayClosed,
         "day %1 closed",
         "затворен ден %1",
         "закрыт день %1"},
        {"msgReopenNeedsReason", &msgReopenNeedsReason,
         "Give the reason for opening the day again.",
         "Въведете причина за повторното отваряне на деня.",
         "Укажите причину повторного открытия дня."},
        {"msgReopenOnlyLast", &msgReopenOnlyLast,
         "Only the last closed day can be opened again, and only once: %1 cannot.",
         "Само последният затворен ден може да бъде отворен отново, и само веднъж: %1 не може.",
         "Открыть снова можно только последний закрытый день и только один раз: %1 нельзя."},
        {"msgLogDayReopened", &msgLogDayReopened,
         "day %1 opened again: %2",
         "отворен отново ден %1: %2",
         "снова открыт день %1: %2"},
        {"msgBalanceLimitInvalid", &msgBalanceLimitInvalid,
         "The balance limit cannot be below zero.",
         "Лимитът на салдото не може да е отрицателен.",
         "Предел сальдо не может быть отрицательным."},
        {"msgLogCloseRules", &msgLogCloseRules,
         "rules of the close: no-show automatic %1, charged %2, balance limit %3",
         "правила на затварянето: автоматично неявяване %1, начисляване %2, лимит на салдо %3",
         "правила закрытия: автоматическая неявка %1, начисление %2, предел сальдо %3"},
        {"msgCloseKindArrival", &msgCloseKindArrival,
         "Arrival",
         "Пристигане",
         "Заезд"},
        {"msgCloseKindDeparture", &msgCloseKindDeparture,
         "Departure",
         "Заминаване",
         "Выезд"},
        {"msgCloseKindBalance", &msgCloseKindBalance,
         "Balance",
         "Салдо",
         "Сальдо"},
        {"msgCloseKindRoom", &msgCloseKindRoom,
         "Room",
         "Стая",
         "Номер"},
        {"msgCloseKindCard", &msgCloseKindCard,
         "Registration",
         "Адресна регистрация",
         "Регистрация"},
        {"msgCloseKindReceipt", &msgCloseKindReceipt,
         "Fiscal receipt",
         "Фискален бон",
         "Фискальный чек"},
        {"colRoomsToSell", &colRoomsToSell,
         "Rooms",
         "Стаи",
         "Номера"},
        {"colNightsSoldShort", &colNightsSoldShort,
         "Sold",
         "Продадени",
         "Продано"},
        {"colRoomRevenueShort", &colRoomRevenueShort,
         "Rooms revenue",
         "Приходи стаи",
         "Доход номера"},
        {"colServicesShort", &colServicesShort,
         "Services",
         "Услуги",
         "Услуги"},
        {"colTaxShort", &colTaxShort,
         "Tourist tax",
         "Курортна такса",
         "Курортный сбор"},
        {"colPaidShort", &colPaidShort,
         "Money taken",
         "Получени",
         "Получено"},
        {"colCloseKind", &colCloseKind,
         "Kind",
         "Вид",
         "Вид"},
        {"colCloseWhat", &colCloseWhat,
         "What is open",
         "Какво е отворено",
         "Что открыто"},
        {"colCloseDecision", &colCloseDecision,
         "Decision",
         "Решение",
         "Решение"},
        {"msgBusinessDayIs", &msgBusinessDayIs,
         "Business day: %1",
         "Работен ден: %1",
         "Рабочий день: %1"},
        {"btnCloseCheckIn", &btnCloseCheckIn,
         "Check in",
         "Настани",
         "Заселить"},
        {"btnCloseNoShow", &btnCloseNoShow,
         "No-show",
         "Неявяване",
         "Неявка"},
        {"btnCloseTomorrow", &btnCloseTomorrow,
         "To tomorrow",
         "За утре",
         "На завтра"},
        {"btnCloseCheckOut", &btnCloseCheckOut,
         "Check out",
         "Освободи",
         "Выселить"},
        {"btnCloseExtend", &btnCloseExtend,
         "One night more",
         "Още една нощ",
         "Ещё ночь"},
        {"btnCloseFolio", &btnCloseFolio,
         "Folio",
         "Сметка",
         "Счёт"},
        {"msgDayCloseAsk", &msgDayCloseAsk,
         "Close the day %1? The business day becomes %2; the days before it cannot be changed.",
         "Да се затвори ли денят %1? Работният ден става %2; дните преди него не могат да се променят.",
         "Закрыть день %1? Рабочим днём станет %2; дни до него изменить нельзя."},
        {"msgDayCloseDone", &msgDayCloseDone,
         "The day %1 is closed; the business day is %2.",
         "Денят %1 е затворен; работният ден е %2.",
         "День %1 закрыт; рабочий день %2."},
        {"msgDayReopened", &msgDayReopened,
         "The day %1 is open again and is the business day.",
         "Денят %1 е отворен отново и е работен ден.",
         "День %1 снова открыт и является рабочим днём."},
        {"msgNoClosedDay", &msgNoClosedDay,
         "No day has been closed yet.",
         "Още няма затворен ден.",
         "Ещё нет закрытого дня."},
        {"msgChooseHotel", &msgChooseHotel,
         "Choose a hotel.",
         "Изберете хотел.",
         "Выберите гостиницу."},
        {"msgLogCardPrinted", &msgLogCardPrinted,
         "registration card printed, room %1",
         "отпечатана адресна карта, стая %1",
         "напечатана адресная карта, номер %1"},
        {"msgGuestNoName", &msgGuestNoName,
         "Give the guest's name.",
         "Въведете името на госта.",
         "Укажите имя гостя."},
        {"msgGuestBornLater", &msgGuestBornLater,
         "The date of birth is later than today.",
         "Датата на раждане е след днешната.",
         "Дата рождения позже сегодняшней."},
        {"msgGuestCountryUnknown", &msgGuestCountryUnknown,
         "\"%1\" is no country of the list.",
         "\"%1\" не е държава от списъка.",
         "\"%1\" — не страна из списка."},
        {"msgGuestPersonalNumberInvalid", &msgGuestPersonalNumberInvalid,
         "%1 is not a Bulgarian personal number (EGN or LNCH): its check digit or date does not fit.",
         "%1 не е нито ЕГН, нито ЛНЧ: контролната цифра или датата не отговарят.",
         "%1 — ни ЕГН, ни ЛНЧ: контрольная цифра или дата не подходят."},
        {"msgGuestBirthDisagrees", &msgGuestBirthDisagrees,
         "The personal number %1 says the guest was born on %2.",
         "ЕГН %1 сочи, че гостът е роден на %2.",
         "ЕГН %1 указывает дату рождения %2."},
        {"msgGuestEmailInvalid", &msgGuestEmailInvalid,
         "\"%1\" is no e-mail address.",
         "\"%1\" не е адрес на електронна поща.",
         "\"%1\" — не адрес электронной почты."},
        {"msgGuestDocumentBeforeBirth", &msgGuestDocumentBeforeBirth,
         "The document is valid to a day before the date of birth.",
         "Документът е валиден до ден преди датата на раждане.",
         "Документ действителен до дня раньше даты рождения."},
        {"msgGuestNotFound", &msgGuestNotFound,
         "Guest %1 is not in the register.",
         "Гост %1 не е в регистъра.",
         "Гостя %1 нет в реестре."},
        {"msgLogGuestSaved", &msgLogGuestSaved,
         "guest %1 saved",
         "записан гост %1",
         "записан гость %1"},
        {"msgSexUnknown", &msgSexUnknown,
         "—",
         "—",
         "—"},
        {"msgSexMale", &msgSexMale,
         "Male",
         "Мъж",
         "Мужской"},
        {"msgSexFemale", &msgSexFemale,
         "Female",
         "Жена",
         "Женский"},
        {"msgDocumentIdentityCard", &msgDocumentIdentityCard,
         "Identity card",
         "Лична карта",
         "Удостоверение личности"},
        {"msgDocumentPassport", &msgDocumentPassport,
         "Passport",
         "Паспорт",
         "Паспорт"},
        {"msgDocumentOther", &msgDocumentOther,
         "Other",
         "Друг",
         "Другой"},
        {"colBirthDate", &colBirthDate,
         "Born",
         "Роден",
         "Дата рождения"},
        {"colCitizenship", &colCitizenship,
         "Citizenship",
         "Гражданство",
         "Гражданство"},
        {"colPersonalNumber", &colPersonalNumber,
         "Personal no.",
         "ЕГН / ЛНЧ",
         "ЕГН / ЛНЧ"},
        {"colDocumentNumberShort", &colDocumentNumberShort,
         "Document",
         "Документ",
         "Документ"},
        {"msgDateInvalid", &msgDateInvalid,
         "\"%1\" is no date: type it as dd.mm.yyyy.",
         "\"%1\" не е дата: въведете я като дд.мм.гггг.",
         "\"%1\" — не дата: введите её как дд.мм.гггг."},
        {"msgGuestMissingForCheckIn", &msgGuestMissingForCheckIn,
         "Guest %1 cannot be checked in until these are given: %2.",
         "Гостът %1 не може да бъде настанен, докато не се попълнят: %2.",
         "Гостя %1 нельзя заселить, пока не указаны: %2."},
        {"msgLawFieldName", &msgLawFieldName,
         "name",
         "име",
         "имя"},
        {"msgLawFieldBorn", &msgLawFieldBorn,
         "date of birth",
         "дата на раждане",
         "дата рождения"},
        {"msgLawFieldCitizenship", &msgLawFieldCitizenship,
         "citizenship",
         "гражданство",
         "гражданство"},
        {"msgLawFieldDocumentNumber", &msgLawFieldDocumentNumber,
         "document number",
         "номер на документ",
         "номер документа"},
        {"msgLawFieldDocumentSeries", &msgLawFieldDocumentSeries,
         "document series",
         "серия на документ",
         "серия документа"},
        {"msgStayGuestsNone", &msgStayGuestsNone,
         "A stay needs at least one guest.",
         "Престоят трябва да има поне един гост.",
         "У проживания должен быть хотя бы один гость."},
        {"msgStayGuestsHolder", &msgStayGuestsHolder,
         "Exactly one guest of the stay must be its holder.",
         "Точно един от гостите на престоя трябва да е титуляр.",
         "Ровно один гость проживания должен быть основным."},
        {"msgStayGuestsBeds", &msgStayGuestsBeds,
         "Room %1 has %2 beds; %3 guests do not fit.",
         "Стая %1 има %2 легла; %3 гости не се побират.",
         "В номере %1 %2 мест; %3 гостей не помещаются."},
        {"msgStayGuestTwice", &msgStayGuestTwice,
         "%1 is already a guest of this stay.",
         "%1 вече е гост на този престой.",
         "%1 уже гость этого проживания."},
        {"msgStayGuestsStatus", &msgStayGuestsStatus,
         "Guests can be changed only for a reserved stay or one in house.",
         "Гостите могат да се променят само на резервиран или настанен престой.",
         "Гостей можно менять только у забронированного или заселённого проживания."},
        {"msgLogStayGuests", &msgLogStayGuests,
         "Guests of room %1: %2",
         "Гости в стая %1: %2",
         "Гости в номере %1: %2"},
        {"msgGuestMergeSame", &msgGuestMergeSame,
         "A guest cannot be merged with themselves.",
         "Гост не може да бъде слят със себе си.",
         "Гостя нельзя объединить с самим собой."},
        {"msgLogGuestMerged", &msgLogGuestMerged,
         "Guest %1 (%2) merged into %3",
         "Гост %1 (%2) е слят с %3",
         "Гость %1 (%2) объединён с %3"},
        {"msgAnonymisedName", &msgAnonymisedName,
         "Anonymised guest %1",
         "Анонимизиран гост %1",
         "Анонимизированный гость %1"},
        {"msgLogGuestAnonymised", &msgLogGuestAnonymised,
         "Guest %1 anonymised: %2",
         "Гост %1 е анонимизиран: %2",
         "Гость %1 анонимизирован: %2"},
        {"msgGuestAnonymisedReasonRetention", &msgGuestAnonymisedReasonRetention,
         "retention period ended",
         "изтекъл срок на съхранение",
         "истёк срок хранения"},
        {"msgGuestAnonymisedAlready", &msgGuestAnonymisedAlready,
         "The guest is anonymised; their data cannot be changed.",
         "Гостът е анонимизиран; данните му не могат да се променят.",
         "Гость анонимизирован; его данные нельзя изменить."},
        {"msgGuestAnonymiseReason", &msgGuestAnonymiseReason,
         "A reason is needed to anonymise a guest.",
         "За анонимизиране на гост е нужна причина.",
         "Для анонимизации гостя нужна причина."},
        {"msgLogGuestExported", &msgLogGuestExported,
         "Data of guest %1 given out",
         "Данните на гост %1 са изведени",
         "Данные гостя %1 выданы"},
        {"msgExportPerson", &msgExportPerson,
         "Person",
         "Лице",
         "Лицо"},
        {"msgExportStays", &msgExportStays,
         "Stays",
         "Престои",
         "Проживания"},
        {"msgExportCharges", &msgExportCharges,
         "Charges",
         "Начисления",
         "Начисления"},
        {"msgExportPayments", &msgExportPayments,
         "Payments",
         "Плащания",
         "Платежи"},
        {"msgExportDocuments", &msgExportDocuments,
         "Documents",
         "Документи",
         "Документы"},
        {"msgExportTitle", &msgExportTitle,
         "Data kept of guest %1, given out on %2",
         "Данни, пазени за гост %1, изведени на %2",
         "Данные гостя %1, выданные %2"},
        {"lblStayGuestFind", &lblStayGuestFind,
         "Find a guest",
         "Намери гост",
         "Найти гостя"},
        {"lblStayGuestTax", &lblStayGuestTax,
         "Tourist tax of the chosen guest",
         "Туристически данък на избрания гост",
         "Туристический налог выбранного гостя"},
        {"capStayGuestAdd", &capStayGuestAdd,
         "Add",
         "Добави",
         "Добавить"},
        {"capStayGuestNew", &capStayGuestNew,
         "New guest",
         "Нов гост",
         "Новый гость"},
        {"capStayGuestEdit", &capStayGuestEdit,
         "Guest's data",
         "Данни на госта",
         "Данные гостя"},
        {"capStayGuestRemove", &capStayGuestRemove,
         "Remove",
         "Махни",
         "Убрать"},
        {"capStayGuestHolder", &capStayGuestHolder,
         "Holder",
         "Титуляр",
         "Основной"},
        {"colStayGuestHolder", &colStayGuestHolder,
         "Holder",
         "Титуляр",
         "Основной"},
        {"colStayGuestTax", &colStayGuestTax,
         "Tourist tax",
         "Туристически данък",
         "Туристический налог"},
        {"msgStayGuestNotFound", &msgStayGuestNotFound,
         "Choose a guest from the list that drops under the field.",
         "Изберете гост от списъка, който се показва под полето.",
         "Выберите гостя из списка под полем."},
        {"msgStayGuestsTitle", &msgStayGuestsTitle,
         "Guests in the room",
         "Гости в стаята",
         "Гости в номере"},
        {"msgStayGuestHolderMark", &msgStayGuestHolderMark,
         "yes",
         "да",
         "да"},
        {"capGuestMerge", &capGuestMerge,
         "Merge the guest chosen in the list into this one",
         "Слей избрания в списъка гост с този",
         "Объединить выбранного в списке гостя с этим"},
        {"capGuestAnonymise", &capGuestAnonymise,
         "Anonymise",
         "Анонимизирай",
         "Анонимизировать"},
        {"capGuestExport", &capGuestExport,
         "Give out the guest's data",
         "Изведи данните на госта",
         "Выдать данные гостя"},
        {"lblGuestAnonymiseReason", &lblGuestAnonymiseReason,
         "Reason",
         "Причина",
         "Причина"},
        {"msgGuestMergeAsk", &msgGuestMergeAsk,
         "Guest %1 (%2) will become guest %3 (%4) with all their stays. This cannot be undone. Merge?",
         "Гост %1 (%2) ще стане гост %3 (%4) с всичките си престои. Това не може да се отмени. Да се слеят ли?",
         "Гость %1 (%2) станет гостем %3 (%4) со всеми проживаниями. Это нельзя отменить. Объединить?"},
        {"msgGuestAnonymiseAsk", &msgGuestAnonymiseAsk,
         "The names, documents and contacts of %1 will be removed for good; stays and money stay. Anonymise?",
         "Имената, документите и контактите на %1 ще бъдат премахнати завинаги; престоите и парите остават. Да се анонимизира ли?",
         "Имена, документы и контакты %1 будут удалены навсегда; проживания и деньги останутся. Анонимизировать?"},
        {"msgGuestChooseFirst", &msgGuestChooseFirst,
         "Choose a guest first (a double click on a row of the list).",
         "Първо изберете гост (двойно щракване на ред от списъка).",
         "Сначала выберите гостя (двойной щелчок по строке списка)."},
        {"msgGuestChooseOther", &msgGuestChooseOther,
         "Choose in the list the other guest, the duplicate.",
         "Изберете в списъка другия гост, дубликата.",
         "Выберите в списке другого гостя, дубликат."},
        {"msgTextFilter", &msgTextFilter,
         "Text files (*.txt)",
         "Текстови файлове (*.txt)",
         "Текстовые файлы (*.txt)"},
        {"msgFileNotWritten", &msgFileNotWritten,
         "The file %1 could not be written.",
         "Файлът %1 не можа да бъде записан.",
         "Файл %1 не удалось записать."},
        {"msgCardLatinName", &msgCardLatinName,
         "Name in Latin letters",
         "Име на латиница",
         "Имя латиницей"},
        {"msgCardBorn", &msgCardBorn,
         "Date of birth, sex",
         "Дата на раждане, пол",
         "Дата рождения, пол"},
        {"msgCardDocument", &msgCardDocument,
         "Identity document",
         "Документ за самоличност",
         "Документ, удостоверяющий личность"},
        {"msgCardPersonalNumber", &msgCardPersonalNumber,
         "Personal number",
         "ЕГН / ЛНЧ",
         "Личный номер"},
        {"msgCardHolder", &msgCardHolder,
         "holder of the room",
         "титуляр на стаята",
         "основной гость номера"},
        {"msgCardSeries", &msgCardSeries,
         "series",
         "серия",
         "серия"},
        {"msgCardIssuedBy", &msgCardIssuedBy,
         "issued by",
         "издаден от",
         "выдан"},
        {"msgCardValidTo", &msgCardValidTo,
         "valid to",
         "валиден до",
         "действителен до"},
        {"msgBoardGuestsCount", &msgBoardGuestsCount,
         "%1 guests:",
         "%1 гости:",
         "Гостей: %1"},
        {"msgRetentionInvalid", &msgRetentionInvalid,
         "Months of keeping guests' data: a whole number from 1 to 600, or empty for no limit.",
         "Месеци на пазене на данните на гостите: цяло число от 1 до 600 или празно, без срок.",
         "Месяцы хранения данных гостей: целое число от 1 до 600 или пусто, без срока."},
        {"msgEstiNoObjectId", &msgEstiNoObjectId,
         "the hotel's identifier in the tourism register",
         "идентификатор на обекта в ЕСТИ",
         "идентификатор объекта в ЕСТИ"},
        {"msgLogEstiExported", &msgLogEstiExported,
         "%1 movements of %2 to %3 exported for the tourism register to %4",
         "%1 движения от %2 до %3 изведени за ЕСТИ във %4",
         "%1 движений с %2 по %3 выгружены для ЕСТИ в %4"},
        {"msgEstiExported", &msgEstiExported,
         "%1 arrivals and departures were written to the file; %2 are left out until their data are given.",
         "%1 пристигания и заминавания са записани във файла; %2 остават, докато не се попълнят данните им.",
         "%1 прибытий и отъездов записано в файл; %2 оставлены, пока не указаны их данные."},
        {"capEstiExport", &capEstiExport,
         "File for ESTI",
         "Файл за ЕСТИ",
         "Файл для ЕСТИ"},
        {"msgRateNoPrice", &msgRateNoPrice,
         "The plan has no price for the night of %1.",
         "Планът няма цена за нощта на %1.",
         "В плане нет цены на ночь %1."},
        {"msgRateMinStay", &msgRateMinStay,
         "Arrivals on %1 stay at least %2 nights.",
         "Пристигащите на %1 остават поне %2 нощувки.",
         "Прибывающие %1 остаются не менее %2 ночей."},
        {"msgRateMaxStay", &msgRateMaxStay,
         "Arrivals on %1 stay at most %2 nights.",
         "Пристигащите на %1 остават най-много %2 нощувки.",
         "Прибывающие %1 остаются не более %2 ночей."},
        {"msgRateClosedToArrival", &msgRateClosedToArrival,
         "No arrivals on %1.",
         "На %1 не се пристига.",
         "%1 заезд закрыт."},
        {"msgRateClosedToDeparture", &msgRateClosedToDeparture,
         "No departures on %1.",
         "На %1 не се заминава.",
         "%1 выезд закрыт."},
        {"msgRatePlanNotFound", &msgRatePlanNotFound,
         "There is no rate plan %1.",
         "Няма ценови план %1.",
         "Нет тарифного плана %1."},
        {"msgRateRoomType", &msgRateRoomType,
         "(room type: %1)",
         "(тип стая: %1)",
         "(тип номера: %1)"},
        {"msgRateChildAgesInvalid", &msgRateChildAgesInvalid,
         "The children's ages \"%1\" are not ages from 0 to 17 separated by commas.",
         "Възрастите на децата \"%1\" не са години от 0 до 17, разделени със запетая.",
         "Возраст детей \"%1\" - это не числа от 0 до 17 через запятую."},
        {"msgLogRestrictionsOverridden", &msgLogRestrictionsOverridden,
         "booked against the rate plan's restrictions: %1",
         "резервирано въпреки ограниченията на ценовия план: %1",
         "забронировано вопреки ограничениям тарифного плана: %1"},
        {"msgRoomTypeOfBeds", &msgRoomTypeOfBeds,
         "Room with %1 beds",
         "Стая с %1 легла",
         "Номер на %1 мест"},
        {"msgRateCurrencyDiffers", &msgRateCurrencyDiffers,
         "The rate plan \"%1\" is priced in %2; the booking is in %3.",
         "Ценовият план \"%1\" е в %2, а резервацията е в %3.",
         "Тарифный план \"%1\" в %2, а бронирование в %3."},
        {"msgLogRepriced", &msgLogRepriced,
         "the nights priced again in the new room: %1",
         "нощувките са оценени отново в новата стая: %1",
         "ночи пересчитаны в новом номере: %1"},
        {"msgNightPricesTotal", &msgNightPricesTotal,
         "Total: %1",
         "Общо: %1",
         "Итого: %1"},
        {"msgRateNoOverrideRight", &msgRateNoOverrideRight,
         "Only an operator with the right to book against a rate plan's restrictions may book this stay.",
         "Само оператор с право на резервация въпреки ограниченията на ценови план може да резервира този престой.",
         "Только оператор с правом бронировать вопреки ограничениям тарифного плана может забронировать это проживание."},
        {"msgRateOverrideQuestion", &msgRateOverrideQuestion,
         "Book it against the restrictions? This is recorded in the log.",
         "Да се резервира ли въпреки ограниченията? Това се записва в дневника.",
         "Забронировать вопреки ограничениям? Это записывается в журнал."},
        {"msgRepriceQuestion", &msgRepriceQuestion,
         "The nights of this stay were priced by its rate plan when it was booked. Price the nights in room %1 again by the plan? (No keeps the booked prices.)",
         "Нощувките на престоя са оценени по ценовия му план при резервацията. Да се оценят ли отново нощувките в стая %1 по плана? (Не запазва резервираните цени.)",
         "Ночи этого проживания оценены по тарифному плану при бронировании. Пересчитать ночи в номере %1 по плану? (Нет - оставить забронированные цены.)"},
        {"msgYes", &msgYes,
         "yes",
         "да",
         "да"},
        {"msgMealRoomOnly", &msgMealRoomOnly,
         "Room only",
         "Само нощувка",
         "Только проживание"},
        {"msgMealBreakfast", &msgMealBreakfast,
         "Bed and breakfast",
         "Нощувка и закуска",
         "Проживание и завтрак"},
        {"msgMealHalfBoard", &msgMealHalfBoard,
         "Half board",
         "Полупансион",
         "Полупансион"},
        {"msgMealFullBoard", &msgMealFullBoard,
         "Full board",
         "Пълен пансион",
         "Полный пансион"},
        {"msgChildFree", &msgChildFree,
         "Free",
         "Безплатно",
         "Бесплатно"},
        {"msgChildPercent", &msgChildPercent,
         "Percent of an adult's price",
         "Процент от цената на възрастен",
         "Процент от цены взрослого"},
        {"msgChildFixed", &msgChildFixed,
         "Fixed amount a night",
         "Фиксирана сума на нощувка",
         "Фиксированная сумма за ночь"},
        {"msgExtraBed", &msgExtraBed,
         "Extra bed",
         "Допълнително легло",
         "Дополнительная кровать"},
        {"colSeason", &colSeason,
         "Season",
         "Сезон",
         "Сезон"},
        {"colAdults", &colAdults,
         "Adults",
         "Възрастни",
         "Взрослые"},
        {"colWeekdays", &colWeekdays,
         "Weekdays",
         "Дни от седмицата",
         "Дни недели"},
        {"colMinStay", &colMinStay,
         "Least nights",
         "Най-малко нощувки",
         "Минимум ночей"},
        {"colMaxStay", &colMaxStay,
         "Most nights",
         "Най-много нощувки",
         "Максимум ночей"},
        {"colClosedToArrival", &colClosedToArrival,
         "No arrival",
         "Без пристигане",
         "Без заезда"},
        {"colClosedToDeparture", &colClosedToDeparture,
         "No departure",
         "Без отпътуване",
         "Без выезда"},
        {"colAgeFrom", &colAgeFrom,
         "Age from",
         "От години",
         "Возраст от"},
        {"colAgeTo", &colAgeTo,
         "Age to",
         "До години",
         "Возраст до"},
        {"colChildRule", &colChildRule,
         "Price",
         "Цена",
         "Цена"},
        {"colVatIncluded", &colVatIncluded,
         "VAT included",
         "С ДДС",
         "С НДС"},
        {"colMeals", &colMeals,
         "Meals",
         "Хранене",
         "Питание"},
        {"msgRatePlanNameTaken", &msgRatePlanNameTaken,
         "There is a rate plan named \"%1\" already.",
         "Вече има ценови план с име \"%1\".",
         "Тарифный план с названием \"%1\" уже есть."},
        {"msgRateSeasonsOverlap", &msgRateSeasonsOverlap,
         "The season shares nights with the plan's season from %1 to %2.",
         "Сезонът има общи нощувки със сезона на плана от %1 до %2.",
         "Сезон пересекается с сезоном плана с %1 по %2."},
        {"msgRatePriceTwice", &msgRatePriceTwice,
         "The season already has a price for this room type and adults on: %1.",
         "Сезонът вече има цена за този тип стая и възрастни за: %1.",
         "У сезона уже есть цена для этого типа номера и взрослых на: %1."},
        {"msgWeekdaysNone", &msgWeekdaysNone,
         "Choose at least one weekday.",
         "Изберете поне един ден от седмицата.",
         "Выберите хотя бы один день недели."},
        {"msgChildBandsOverlap", &msgChildBandsOverlap,
         "The ages share years with the band from %1 to %2.",
         "Възрастите се застъпват с групата от %1 до %2 години.",
         "Возраст пересекается с группой от %1 до %2 лет."},
    };
    return entries;
}
