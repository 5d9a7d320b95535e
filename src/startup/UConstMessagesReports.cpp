#include "UConstMessagesReports.h"

QString rptArrivals;
QString rptDepartures;
QString rptOccupied;
QString rptFree;
QString rptTurnover;
QString rptOperators;
QString rptGuests;
QString rptRooms;
QString rptLiquidity;
QString rptTaxes;
QString rptByDay;
QString rptFigures;
QString rptServices;
QString rptPayments;
QString rptOpenBalances;
QString rptChart;
QString rptAllHotels;
QString rptTotal;
QString rptPeriod;
QString rptDay;
QString rptHotelLine;
QString rptPrintedBy;
QString rptPeriodInvalid;
QString rptSaved;
QString rptNotSaved;
QString rptCsvFilter;
QString rptOccupancy;
QString rptRoomRevenue;
QString rptServiceRevenue;
QString rptRevenue;
QString rptNightsSold;
QString rptNightsAvailable;
QString rptAdr;
QString rptRevPar;
QString rptTotalRevenue;
QString rptReceived;
QString msgTouristTax;
QString msgLogTouristTax;
QString msgRateInvalid;
QString colCategory;
QString colTaxRate;
QString colTax;
QString colVatName;
QString colVatPercent;
QString colVatGroup;
QString colVatBasis;
QString colValidFrom;
QString colValidTo;
QString colBeds;
QString colRoomPrice;
QString colBalance;
QString colCount;
QString colStays;
QString colBookings;
QString colRoom;
QString colRoomCharges;
QString colServiceCharges;
QString colCharged;
QString colDeposits;
QString colPaymentsTaken;
QString colRefunds;
QString colNet;
QString colPaid;
QString colOwed;
QString colIdentity;
QString colValue;
QString colNightsAvailable;
QString colNightsSold;
QString colOccupancy;
QString colRevenue;
QString colAdr;
QString colService;
QString colTotal;
QString msgLanguageNextStart;
QString msgGuideMissing;
QString colBuyerName;
QString colBuyerEik;
QString colBuyerVat;
QString colBuyerAddress;
QString colBuyerAccountable;
QString colDocumentKind;
QString colDocumentNumber;
QString colDocumentIssued;
QString colDocumentTaxEvent;
QString colDocumentTotal;
QString colDocumentLine;
QString colDocumentLeft;
QString colDocumentAmount;
QString rptDocuments;
QString rptAllSeries;
QString colDocumentSeries;
QString colDocumentRefers;
QString colDocumentCurrency;
QString colDocumentNet;
QString colDocumentTax;
QString colSeriesFirst;
QString colSeriesNext;

QString rptClosedDays;
QString rptTouristTaxAccrued;
QString rptCash;
QString rptCard;
QString rptTransfer;
QString rptArrivalsCount;
QString rptDeparturesCount;
QString rptNoShowsCount;
QString rptCountries;
QString rptEsti;
QString colCountryCode;
QString colGuestArrivals;
QString colGuestNights;
QString rptCountryUnknown;
QString colEstiSent;
QString colEstiMissing;
QString rptEstiMovements;
QString rptEstiMissingTitle;
QString colEstiKind;
QString colRoomType;
QString colRatePlan;
QString rptByPlan;
const QList<TCatalogueEntry> &ReportCatalogueEntries()
{
    static const QList<TCatalogueEntry> entries = {
        {"rptArrivals", &rptArrivals,
         "Arrivals",
         "Пристигащи",
         "Прибывающие"},
        {"rptDepartures", &rptDepartures,
         "Departures",
         "Отпътуващи",
         "Выезжающие"},
        {"rptOccupied", &rptOccupied,
         "Occupied rooms",
         "Заети стаи",
         "Занятые номера"},
        {"rptFree", &rptFree,
         "Free rooms",
         "Свободни стаи",
         "Свободные номера"},
        {"rptTurnover", &rptTurnover,
         "Total turnover",
         "Общ оборот",
         "Общий оборот"},
        {"rptOperators", &rptOperators,
         "Turnover by operator",
         "Оборот по оператори",
         "Оборот по операторам"},
        {"rptGuests", &rptGuests,
         "Turnover by guest",
         "Оборот клиенти",
         "Оборот по клиентам"},
        {"rptRooms", &rptRooms,
         "Rooms: nights and revenue",
         "Разход стаи",
         "Расход номеров"},
        {"rptLiquidity", &rptLiquidity,
         "Liquidity",
         "Ликвидност",
         "Ликвидность"},
        {"rptTaxes", &rptTaxes,
         "Tourist tax",
         "Курортни такси",
         "Курортный сбор"},
        {"rptByDay", &rptByDay,
         "By day",
         "По дни",
         "По дням"},
        {"rptFigures", &rptFigures,
         "Figures",
         "Показатели",
         "Показатели"},
        {"rptServices", &rptServices,
         "Services",
         "Услуги",
         "Услуги"},
        {"rptPayments", &rptPayments,
         "Payments",
         "Плащания",
         "Платежи"},
        {"rptOpenBalances", &rptOpenBalances,
         "Open balances of guests in house",
         "Открити салда на настанените гости",
         "Открытые остатки проживающих гостей"},
        {"rptChart", &rptChart,
         "Chart",
         "Графика",
         "График"},
        {"rptAllHotels", &rptAllHotels,
         "All hotels",
         "Всички хотели",
         "Все гостиницы"},
        {"rptTotal", &rptTotal,
         "Total",
         "Общо",
         "Итого"},
        {"rptPeriod", &rptPeriod,
         "Period: %1 – %2",
         "Период: %1 – %2",
         "Период: %1 – %2"},
        {"rptDay", &rptDay,
         "Day: %1",
         "Ден: %1",
         "День: %1"},
        {"rptHotelLine", &rptHotelLine,
         "Hotel: %1",
         "Хотел: %1",
         "Гостиница: %1"},
        {"rptPrintedBy", &rptPrintedBy,
         "Printed on %1 by %2",
         "Отпечатано на %1 от %2",
         "Напечатано %1, оператор %2"},
        {"rptPeriodInvalid", &rptPeriodInvalid,
         "The end of the period must not be before its beginning.",
         "Краят на периода не може да е преди началото му.",
         "Конец периода не может быть раньше его начала."},
        {"rptSaved", &rptSaved,
         "The report was saved to %1.",
         "Справката е записана в %1.",
         "Отчёт сохранён в %1."},
        {"rptNotSaved", &rptNotSaved,
         "The report could not be saved to %1.",
         "Справката не можа да бъде записана в %1.",
         "Не удалось сохранить отчёт в %1."},
        {"rptCsvFilter", &rptCsvFilter,
         "CSV files (*.csv)",
         "CSV файлове (*.csv)",
         "Файлы CSV (*.csv)"},
        {"rptOccupancy", &rptOccupancy,
         "Occupancy %",
         "Заетост %",
         "Загрузка %"},
        {"rptRoomRevenue", &rptRoomRevenue,
         "Room revenue",
         "Приходи от нощувки",
         "Доход от номеров"},
        {"rptServiceRevenue", &rptServiceRevenue,
         "Services",
         "Услуги",
         "Услуги"},
        {"rptRevenue", &rptRevenue,
         "Revenue",
         "Приходи",
         "Доход"},
        {"rptNightsSold", &rptNightsSold,
         "Room-nights sold",
         "Продадени нощувки",
         "Продано ночей"},
        {"rptNightsAvailable", &rptNightsAvailable,
         "Room-nights available",
         "Налични нощувки",
         "Доступно ночей"},
        {"rptAdr", &rptAdr,
         "Average daily rate",
         "Средна цена на нощувка",
         "Средняя цена ночи"},
        {"rptRevPar", &rptRevPar,
         "Revenue per available room",
         "Приход на налична стая",
         "Доход на доступный номер"},
        {"rptTotalRevenue", &rptTotalRevenue,
         "Total revenue",
         "Общо приходи",
         "Всего доходов"},
        {"rptReceived", &rptReceived,
         "Received (net)",
         "Получено (нето)",
         "Получено (нетто)"},
        {"msgTouristTax", &msgTouristTax,
         "Tourist tax",
         "Курортна такса",
         "Курортный сбор"},
        {"msgLogTouristTax", &msgLogTouristTax,
         "; tourist tax %1",
         "; курортна такса %1",
         "; курортный сбор %1"},
        {"msgRateInvalid", &msgRateInvalid,
         "Please enter a rate of zero or more, a category and a valid period.",
         "Моля въведете ставка нула или повече, категория и валиден период.",
         "Пожалуйста, введите ставку не меньше нуля, категорию и правильный период."},
        {"colCategory", &colCategory,
         "Category",
         "Категория",
         "Категория"},
        {"colTaxRate", &colTaxRate,
         "Rate",
         "Ставка",
         "Ставка"},
        {"colTax", &colTax,
         "Tax",
         "Такса",
         "Сбор"},
        {"colVatName", &colVatName,
         "VAT rate",
         "ДДС ставка",
         "Ставка НДС"},
        {"colVatPercent", &colVatPercent,
         "Percent",
         "Процент",
         "Процент"},
        {"colVatGroup", &colVatGroup,
         "Tax group",
         "Данъчна група",
         "Налоговая группа"},
        {"colVatBasis", &colVatBasis,
         "Legal basis",
         "Основание",
         "Основание"},
        {"colValidFrom", &colValidFrom,
         "Valid from",
         "Валидна от",
         "Действует с"},
        {"colValidTo", &colValidTo,
         "Valid to",
         "Валидна до",
         "Действует по"},
        {"colBeds", &colBeds,
         "Beds",
         "Легла",
         "Мест"},
        {"colRoomPrice", &colRoomPrice,
         "Price",
         "Цена",
         "Цена"},
        {"colBalance", &colBalance,
         "Balance",
         "Остатък",
         "Остаток"},
        {"colCount", &colCount,
         "Count",
         "Брой",
         "Количество"},
        {"colStays", &colStays,
         "Stays",
         "Престои",
         "Проживаний"},
        {"colBookings", &colBookings,
         "Bookings",
         "Резервации",
         "Бронирований"},
        {"colRoom", &colRoom,
         "Room",
         "Стая",
         "Номер"},
        {"colRoomCharges", &colRoomCharges,
         "Room charges",
         "За нощувки",
         "За проживание"},
        {"colServiceCharges", &colServiceCharges,
         "Service charges",
         "Услуги",
         "Услуги"},
        {"colCharged", &colCharged,
         "Charged",
         "Начислено",
         "Начислено"},
        {"colDeposits", &colDeposits,
         "Deposits",
         "Депозити",
         "Депозиты"},
        {"colPaymentsTaken", &colPaymentsTaken,
         "Payments",
         "Плащания",
         "Платежи"},
        {"colRefunds", &colRefunds,
         "Refunds",
         "Върнати",
         "Возвраты"},
        {"colNet", &colNet,
         "Net",
         "Нето",
         "Нетто"},
        {"colPaid", &colPaid,
         "Paid",
         "Платено",
         "Оплачено"},
        {"colOwed", &colOwed,
         "Owed",
         "Дължимо",
         "К оплате"},
        {"colIdentity", &colIdentity,
         "Personal number / passport",
         "ЕГН / паспорт",
         "Личный номер / паспорт"},
        {"colValue", &colValue,
         "Value",
         "Стойност",
         "Значение"},
        {"colNightsAvailable", &colNightsAvailable,
         "Nights available",
         "Налични нощувки",
         "Доступно ночей"},
        {"colNightsSold", &colNightsSold,
         "Nights sold",
         "Продадени нощувки",
         "Продано ночей"},
        {"colOccupancy", &colOccupancy,
         "Occupancy %",
         "Заетост %",
         "Загрузка %"},
        {"colRevenue", &colRevenue,
         "Revenue",
         "Приходи",
         "Доход"},
        {"colAdr", &colAdr,
         "Average rate",
         "Средна цена",
         "Средняя цена"},
        {"colService", &colService,
         "Service",
         "Услуга",
         "Услуга"},
        {"colTotal", &colTotal,
         "Total",
         "Общо",
         "Итого"},
        {"msgLanguageNextStart", &msgLanguageNextStart,
         "The captions will be in the chosen language from the next start of the program.",
         "Надписите ще бъдат на избрания език от следващото стартиране на програмата.",
         "Надписи будут на выбранном языке со следующего запуска программы."},
        {"msgGuideMissing", &msgGuideMissing,
         "The user guide was not found: %1",
         "Ръководството не е намерено: %1",
         "Руководство не найдено: %1"},
        {"colBuyerName", &colBuyerName,
         "Buyer",
         "Купувач",
         "Покупатель"},
        {"colBuyerEik", &colBuyerEik,
         "UIC",
         "ЕИК",
         "ЕИК"},
        {"colBuyerVat", &colBuyerVat,
         "VAT No.",
         "ИН по ДДС",
         "Номер НДС"},
        {"colBuyerAddress", &colBuyerAddress,
         "Address",
         "Адрес",
         "Адрес"},
        {"colBuyerAccountable", &colBuyerAccountable,
         "Accountable person",
         "МОЛ",
         "Ответственное лицо"},
        {"colDocumentKind", &colDocumentKind,
         "Document",
         "Документ",
         "Документ"},
        {"colDocumentNumber", &colDocumentNumber,
         "Number",
         "Номер",
         "Номер"},
        {"colDocumentIssued", &colDocumentIssued,
         "Issued",
         "Издаден",
         "Выдан"},
        {"colDocumentTaxEvent", &colDocumentTaxEvent,
         "Taxable event",
         "Данъчно събитие",
         "Налоговое событие"},
        {"colDocumentTotal", &colDocumentTotal,
         "Total",
         "Общо",
         "Итого"},
        {"colDocumentLine", &colDocumentLine,
         "Row",
         "Ред",
         "Строка"},
        {"colDocumentLeft", &colDocumentLeft,
         "Amount",
         "Сума",
         "Сумма"},
        {"colDocumentAmount", &colDocumentAmount,
         "In the note",
         "В известието",
         "В уведомлении"},
        {"rptDocuments", &rptDocuments,
         "Issued documents",
         "Издадени документи",
         "Выданные документы"},
        {"rptAllSeries", &rptAllSeries,
         "All series",
         "Всички серии",
         "Все серии"},
        {"colDocumentSeries", &colDocumentSeries,
         "Series",
         "Серия",
         "Серия"},
        {"colDocumentRefers", &colDocumentRefers,
         "To invoice",
         "Към фактура",
         "К счёту"},
        {"colDocumentCurrency", &colDocumentCurrency,
         "Currency",
         "Валута",
         "Валюта"},
        {"colDocumentNet", &colDocumentNet,
         "Tax base",
         "Данъчна основа",
         "Налоговая база"},
        {"colDocumentTax", &colDocumentTax,
         "VAT",
         "ДДС",
         "НДС"},
        {"colSeriesFirst", &colSeriesFirst,
         "First number",
         "Първи номер",
         "Первый номер"},
        {"colSeriesNext", &colSeriesNext,
         "Next number",
         "Следващ номер",
         "Следующий номер"},
        {"rptClosedDays", &rptClosedDays,
         "Daily report",
         "Дневен отчет",
         "Дневной отчёт"},
        {"rptTouristTaxAccrued", &rptTouristTaxAccrued,
         "Tourist tax",
         "Курортна такса",
         "Курортный сбор"},
        {"rptCash", &rptCash,
         "Cash",
         "В брой",
         "Наличными"},
        {"rptCard", &rptCard,
         "Card",
         "С карта",
         "Картой"},
        {"rptTransfer", &rptTransfer,
         "Transfer",
         "По банка",
         "Переводом"},
        {"rptArrivalsCount", &rptArrivalsCount,
         "Arrivals",
         "Пристигнали",
         "Заезды"},
        {"rptDeparturesCount", &rptDeparturesCount,
         "Departures",
         "Заминали",
         "Выезды"},
        {"rptNoShowsCount", &rptNoShowsCount,
         "No-shows",
         "Неявили се",
         "Неявки"},
        {"rptCountries", &rptCountries,
         "Guests by country",
         "Гости по държави",
         "Гости по странам"},
        {"rptEsti", &rptEsti,
         "Tourism register (ESTI)",
         "ЕСТИ",
         "ЕСТИ"},
        {"colCountryCode", &colCountryCode,
         "Code",
         "Код",
         "Код"},
        {"colGuestArrivals", &colGuestArrivals,
         "Arrivals",
         "Пристигнали",
         "Прибывшие"},
        {"colGuestNights", &colGuestNights,
         "Nights",
         "Нощувки",
         "Ночёвки"},
        {"rptCountryUnknown", &rptCountryUnknown,
         "Not known",
         "Неизвестна",
         "Неизвестна"},
        {"colEstiSent", &colEstiSent,
         "Sent",
         "Изпратено",
         "Отправлено"},
        {"colEstiMissing", &colEstiMissing,
         "Missing",
         "Липсва",
         "Не хватает"},
        {"rptEstiMovements", &rptEstiMovements,
         "Arrivals and departures",
         "Пристигания и заминавания",
         "Прибытия и отъезды"},
        {"rptEstiMissingTitle", &rptEstiMissingTitle,
         "Guests with missing data",
         "Гости с липсващи данни",
         "Гости с недостающими данными"},
        {"colEstiKind", &colEstiKind,
         "Movement",
         "Движение",
         "Движение"},
        {"colRoomType", &colRoomType,
         "Room type",
         "Тип стая",
         "Тип номера"},
        {"colRatePlan", &colRatePlan,
         "Rate plan",
         "Ценови план",
         "Тарифный план"},
        {"rptByPlan", &rptByPlan,
         "By rate plan and room type",
         "По ценови план и тип стая",
         "По тарифному плану и типу номера"},
    };
    return entries;
}
