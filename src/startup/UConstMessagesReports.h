#pragma once
// The messages of the reports, the languages and the guide, and the reports' column titles, in the catalogue's three languages, filled by FillCatalogue.

#include "UConstMessagesHotel.h"

#include <QList>

extern QString rptArrivals;
extern QString rptDepartures;
extern QString rptOccupied;
extern QString rptFree;
extern QString rptTurnover;
extern QString rptOperators;
extern QString rptGuests;
extern QString rptRooms;
extern QString rptLiquidity;
extern QString rptTaxes;
extern QString rptByDay;
extern QString rptFigures;
extern QString rptServices;
extern QString rptPayments;
extern QString rptOpenBalances;
extern QString rptChart;
extern QString rptAllHotels;
extern QString rptTotal;
extern QString rptPeriod;
extern QString rptDay;
extern QString rptHotelLine;
extern QString rptPrintedBy;
extern QString rptPeriodInvalid;
extern QString rptSaved;
extern QString rptNotSaved;
extern QString rptCsvFilter;
extern QString rptOccupancy;
extern QString rptRoomRevenue;
extern QString rptServiceRevenue;
extern QString rptRevenue;
extern QString rptNightsSold;
extern QString rptNightsAvailable;
extern QString rptAdr;
extern QString rptRevPar;
extern QString rptTotalRevenue;
extern QString rptReceived;
extern QString msgTouristTax;
extern QString msgLogTouristTax;
extern QString msgRateInvalid;
extern QString colCategory;
extern QString colTaxRate;
extern QString colTax;
extern QString colVatName;
extern QString colVatPercent;
extern QString colVatGroup;
extern QString colVatBasis;
extern QString colValidFrom;
extern QString colValidTo;
extern QString colBeds;
extern QString colRoomPrice;
extern QString colBalance;
extern QString colCount;
extern QString colStays;
extern QString colBookings;
extern QString colRoom;
extern QString colRoomCharges;
extern QString colServiceCharges;
extern QString colCharged;
extern QString colDeposits;
extern QString colPaymentsTaken;
extern QString colRefunds;
extern QString colNet;
extern QString colPaid;
extern QString colOwed;
extern QString colIdentity;
extern QString colValue;
extern QString colNightsAvailable;
extern QString colNightsSold;
extern QString colOccupancy;
extern QString colRevenue;
extern QString colAdr;
extern QString colService;
extern QString colTotal;
extern QString msgLanguageNextStart;
extern QString msgGuideMissing;

const QList<TCatalogueEntry> &ReportCatalogueEntries();
