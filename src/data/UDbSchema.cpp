#include "UDbSchema.h"

#include "errors/UErrors.h"

namespace {

constexpr auto D = TColumnNull::Default;
constexpr auto N = TColumnNull::Null;
constexpr auto I = TColumnNull::Identity;

const QString kInt = QStringLiteral("INT");
const QString kText = QStringLiteral("nvarchar(500)");
const QString kAmount = QStringLiteral("Numeric(20,8)");
const QString kBit = QStringLiteral("bit");
const QString kDate = QStringLiteral("datetime");

QList<TTableDef> buildTables()
{
    return {
        {"HotelBuild",
         {{"q1", kInt, D}, {"q10", kText, N}, {"q11", kText, N}, {"q12", kText, N}, {"q13", kText, N},
          {"q14", kText, N}, {"q15", kText, N}, {"q16", kText, N}, {"q17", kText, N}, {"q18", kText, N},
          {"q19", kInt, D}, {"q20", kText, N}}},
        {"Operators",
         {{"q80", kInt, I}, {"q1", kInt, D}, {"q21", kText, N}, {"q23", kText, D}, {"q24", kText, D},
          {"q25", "varbinary(8000)", D}, {"q26", kBit, N}, {"q74", kText, D}, {"q75", kText, D},
          {"q76", kText, D}, {"q77", kText, D},
          // q76 holds an Argon2id hash. q151: 1 when the operator is deactivated (kept, since the
          // log names them); q152: 1 when the password must be changed at the next login.
          {"q151", kInt, N}, {"q152", kInt, N}}},
        {"Secyrity", {{"q26", kBit, N}, {"q22", kInt, N}}},
        {"Klients",
         {{"q1", kInt, D},           {"q28", kText, N},  {"q29", kText, N},  {"q27", kAmount, D},
          {"q30", kInt, D},          {"q31", "char(30)", N}, {"q32", kBit, D}, {"q39", kDate, D},
          {"q33", kText, N},         {"q34", "SMALLDATETIME", D}, {"q35", "SMALLDATETIME", D},
          {"q36", kBit, D},          {"q37", kDate, D},  {"q38", kDate, D},  {"q42", kText, N},
          {"q70", kAmount, D},       {"q71", kAmount, D}, {"q72", kAmount, D}, {"q78", kAmount, D},
          {"q51", kInt, N},          {"q109", kDate, D}, {"q47", kInt, D},   {"q57", kInt, D},
          {"q110", kBit, D},         {"q111", kInt, D},  {"q112", kInt, D},  {"q113", kAmount, D},
          {"q115", kText, D},
          // The front desk's columns: the stay's own key, its booking, its status (TStayStatus),
          // the times of check-in and check-out, and the operator (Operators.q80) of the last change;
          // q155: the stay (q123) that a room move's new part continues. A tourist-tax row names
          // the stay it is for (q160) and the nights it covers (q34 to the night before q35); a
          // stay exempt from the tax keeps the reason chosen at check-in (q161).
          {"q123", kInt, I},         {"q124", kInt, N},  {"q125", kInt, N},  {"q126", kDate, N},
          {"q127", kDate, N},        {"q128", kInt, N},  {"q155", kInt, N},  {"q160", kInt, N},
          {"q161", kText, N},
          // The guest of the register the row names: a stay's holder, a tourist-tax row's guest.
          {"q252", kInt, N},
          // A stay priced by a rate plan (CenoviPlanove.q276), with its adults (q300) and the
          // children's ages (q301, comma-separated): the plan prices its nights again when they
          // change. A meal plan's charge names the stay it feeds (q302) and its night (q34).
          {"q276", kInt, N}, {"q300", kInt, N}, {"q301", kText, N}, {"q302", kInt, N}}},
        {"Uslugi",
         {{"q40", kAmount, D}, {"q41", kInt, N}, {"q33", kText, N}, {"q50", kText, N}, {"q51", kInt, N},
          {"q42", kInt, I}, {"q43", kInt, N},
          // The service's VAT rate (DDSStavki.q163); its price q40 includes it.
          {"q170", kInt, N}}},
        {"Rooms",
         {{"q47", kInt, I}, {"q44", kText, N}, {"q46", kAmount, D}, {"q49", kAmount, D}, {"q51", kInt, D},
          {"q48", kInt, D}, {"q79", kInt, D}, {"q1", kInt, D}, {"q42", kInt, D}, {"q81", kInt, D},
          {"q82", kInt, D}, {"q83", kInt, D}, {"q84", kInt, D},
          // The room's state (TRoomState) and, for a closed room, why and for which nights: from
          // q131 (the first night) to q132 (the first night open again); no day means no limit.
          {"q129", kInt, N}, {"q130", kText, N}, {"q131", kDate, N}, {"q132", kDate, N},
          // The VAT rate of the room's price (DDSStavki.q163); the price q46 includes it.
          {"q170", kInt, N},
          // The room's type, as rate plans price it.
          {"q275", kText, N}}},
        {"Tarife",
         {{"q50", kText, N}, {"q51", kInt, I}, {"q52", kDate, D}, {"q53", kDate, D}, {"q54", "BIT", D},
          {"q55", kInt, D}, {"q111", kInt, D}, {"q112", kInt, D}, {"q113", kAmount, D}, {"q115", kText, D}}},
        {"Valuta", {{"q56", kText, N}, {"q57", kInt, I}, {"q86", kBit, D}, {"q1", "int", D}}},
        {"Otstapka", {{"q60", kText, N}, {"q61", kAmount, D}, {"q62", kInt, N}}},
        {"Analitichnosti",
         {{"q64", kInt, I}, {"q65", kText, N}, {"q66", kInt, N}, {"q67", kInt, D}, {"q68", kText, N},
          {"q69", kText, N}, {"q70", kBit, D}, {"q71", kText, D}, {"q72", kText, D}, {"q118", kInt, D},
          {"q119", kText, N}, {"q122", "BIT", D}}},
        {"Miarka", {{"q116", kInt, I}, {"q117", kText, N}}},
        {"Nomen", {{"q118", kInt, I}, {"q119", kText, N}, {"q120", kText, N}, {"q121", kText, N}}},
        {"KursValuta", {{"q57", kInt, D}, {"q58", kDate, D}, {"q85", kAmount, D}}},
        // Bookings: the number (q124), the hotel, the guest who booked (name, personal number,
        // passport q133, address q134, nationality q135, category), the currency, the operator,
        // when it was entered (q136), a note (q137) and the reservation's status as chosen (q138).
        {"Rezervacii",
         {{"q124", kInt, I}, {"q1", kInt, N}, {"q29", kText, N}, {"q28", kText, N}, {"q133", kText, N},
          {"q134", kText, N}, {"q135", kText, N}, {"q31", kText, N}, {"q57", kInt, N}, {"q128", kInt, N},
          {"q136", kDate, N}, {"q137", kText, N}, {"q138", kText, N},
          // The guest of the register who booked (Gosti.q252), once known.
          {"q252", kInt, N}}},
        // Payments of a booking: the amount (q140, always positive), its currency, its kind q141
        // (TPaymentKind) and method q142 (TPaymentMethod), the operator, when, a note.
        {"Plashtania",
         {{"q139", kInt, I}, {"q124", kInt, N}, {"q140", kAmount, N}, {"q57", kInt, N}, {"q141", kInt, N},
          {"q142", kInt, N}, {"q128", kInt, N}, {"q136", kDate, N}, {"q137", kText, N}}},
        // The log: when, the operator, the workstation (q144), what changed (q145: its kind; q146:
        // its key; q124: its booking) and the change in words (q147). Rows are never edited.
        {"Dnevnik",
         {{"q143", kInt, I}, {"q136", kDate, N}, {"q128", kInt, N}, {"q144", kText, N}, {"q145", kText, N},
          {"q146", kInt, N}, {"q124", kInt, N}, {"q147", kText, N}}},
        // Tourist-tax rates: per guest category (q31) and night (q149), for a hotel (none: every
        // hotel), valid from q52 to q53.
        {"KurortniTaksi",
         {{"q148", kInt, I}, {"q1", kInt, N}, {"q31", kText, N}, {"q149", kAmount, N}, {"q52", kDate, N},
          {"q53", kDate, N}}},
        // One row: the version of the schema (q150).
        {"VersiaBaza", {{"q150", kInt, N}}},
        // Failed logins in a row under a user name (q75), shared by every workstation: their
        // count (q153) and until when logins under the name are refused (q154).
        {"NeuspeshniVhodove", {{"q75", kText, N}, {"q153", kInt, N}, {"q154", kDate, N}}},
        // Closures of rooms: the key (q156), the room (Rooms.q47), the first night closed (q157;
        // null for a closure of the first front desk, which had no start), the day the room opens
        // again (q158; null: until reopened), the kind (q159: TRoomState out of service or
        // locked), the reason, the operator and when. Never deleted: a closure is ended by
        // setting the day the room opens again.
        {"Zatvoreni",
         {{"q156", kInt, I}, {"q47", kInt, N}, {"q157", kDate, N}, {"q158", kDate, N}, {"q159", kInt, N},
          {"q130", kText, N}, {"q128", kInt, N}, {"q136", kDate, N}}},
        // The words of the bookings' names as the search compares them (folded), one row per
        // word and booking, so that a name is found by the beginning of any of its words.
        {"DumiImena", {{"q162", kText, N}, {"q124", kInt, N}}},
        // VAT rates: the key (q163), the name (q164), the percent (q165), valid from (q166) and
        // up to the day before (q167; null: no limit), the fiscal device's tax group (q168) and
        // where the law sets it (q169).
        // Series of document numbers: the key (q171), the hotel, the name (q172), the first
        // number (q173) and the next one to give (q174), ten digits each.
        {"FakturiSerii", {{"q171", kInt, I}, {"q1", kInt, N}, {"q172", kText, N}, {"q173", kText, N}, {"q174", kText, N}}},
        // Buyers: the key (q175), the name (q176), ЕИК (q177), VAT number (q178), address
        // (q179), the accountable person (q180), 1 for a person (q181) and their personal number.
        {"Kupuvachi",
         {{"q175", kInt, I}, {"q176", kText, N}, {"q177", kText, N}, {"q178", kText, N}, {"q179", kText, N},
          {"q180", kText, N}, {"q181", kInt, N}, {"q28", kText, N}}},
        // Documents: the key (q182), the kind (q183: invoice, credit note, debit note, proforma),
        // the series and the number (q184; none for a proforma), the day of issue (q185) and of
        // the taxable event (q186), the booking, the buyer, the document a note refers to (q187),
        // the currency, the totals with VAT, without it and the VAT (q188, q189, q190), the
        // operator and when; how it is paid (q205, as a payment's method) and 1 for an invoice of
        // an advance payment (q206). The parties as they stood on the day of issue, since a later
        // change of a register must not change an issued document: the buyer's name, ЕИК, VAT
        // number, address, accountable person and personal number (q208-q213), the seller's
        // name, ЕИК, VAT number, address, accountable person, IBAN and bank (q214-q220).
        {"Fakturi",
         {{"q182", kInt, I}, {"q183", kInt, N}, {"q171", kInt, N}, {"q184", kText, N}, {"q185", kDate, N},
          {"q186", kDate, N}, {"q124", kInt, N}, {"q175", kInt, N}, {"q187", kInt, N}, {"q57", kInt, N},
          {"q188", kAmount, N}, {"q189", kAmount, N}, {"q190", kAmount, N}, {"q128", kInt, N}, {"q136", kDate, N},
          {"q205", kInt, N}, {"q206", kInt, N}, {"q208", kText, N}, {"q209", kText, N}, {"q210", kText, N},
          {"q211", kText, N}, {"q212", kText, N}, {"q213", kText, N}, {"q214", kText, N}, {"q215", kText, N},
          {"q216", kText, N}, {"q217", kText, N}, {"q218", kText, N}, {"q219", kText, N}, {"q220", kText, N}}},
        // A document's lines: the key (q193), the document, the stay or charge it bills
        // (Klients.q123), the text (q194), quantity and unit price with VAT, the amount with VAT,
        // without it and the VAT (q195, q196, q197), and the rate's percent; a line that deducts
        // an advance names the advance's invoice (q207).
        {"FakturiRedove",
         {{"q193", kInt, I}, {"q182", kInt, N}, {"q123", kInt, N}, {"q194", kText, N}, {"q71", kAmount, N},
          {"q70", kAmount, N}, {"q195", kAmount, N}, {"q196", kAmount, N}, {"q197", kAmount, N}, {"q165", kAmount, N},
          {"q207", kInt, N}}},
        {"DDSStavki",
         {{"q163", kInt, I}, {"q164", kText, N}, {"q165", kAmount, N}, {"q166", kDate, N}, {"q167", kDate, N},
          {"q168", kText, N}, {"q169", kText, N}}},
        // The hotel's company, the seller of its documents (a row per hotel, q1): name (q198),
        // ЕИК (q199), VAT number (q200), address (q201), accountable person (q202), IBAN (q203)
        // and bank (q204).
        {"FirmiHoteli",
         {{"q1", kInt, N}, {"q198", kText, N}, {"q199", kText, N}, {"q200", kText, N}, {"q201", kText, N},
          {"q202", kText, N}, {"q203", kText, N}, {"q204", kText, N},
          // The hotel's identifier in the tourism register (ЕСТИ).
          {"q270", kText, N}}},
        // Fiscal receipts: the key (q221), the booking, the payment once recorded (q139), the
        // unique sale number (q222), the service's task id (q223), the state (q224: sent,
        // printed, refused, taken back), the device's receipt number (q225), when it printed
        // (q226), the fiscal memory's number (q227), the amount (q228; a reversal's below
        // nothing), the kind (q229: receipt, reversal), the receipt a reversal names (q230), how
        // it was paid (q231), the operator, when, and what the device said (q232).
        {"FiskalniBonove",
         {{"q221", kInt, I}, {"q124", kInt, N}, {"q139", kInt, N}, {"q222", kText, N}, {"q223", kText, N},
          {"q224", kInt, N}, {"q225", kText, N}, {"q226", kDate, N}, {"q227", kText, N}, {"q228", kAmount, N},
          {"q229", kInt, N}, {"q230", kInt, N}, {"q231", kInt, N}, {"q128", kInt, N}, {"q136", kDate, N},
          {"q232", kText, N}}},
        // The business day every workstation dates the desk's work with (one row, q233); it moves
        // only by the day's close.
        {"RabotenDen", {{"q233", kDate, N}}},
        // Closed days, a row per day (q233) and hotel: the key (q234), rooms to sell (q235),
        // nights sold (q236), room revenue (q237), services (q238) and tourist tax (q239) posted
        // that day, money taken net of refunds in cash (q240), by card (q241) and by transfer
        // (q242), arrivals (q243), departures (q244) and no-shows (q245) of the day, who closed
        // it and when; a reopened day keeps its row with when (q246), by whom (q247) and why (q248).
        {"ZatvoreniDni",
         {{"q234", kInt, I}, {"q233", kDate, N}, {"q1", kInt, N}, {"q235", kInt, N}, {"q236", kInt, N},
          {"q237", kAmount, N}, {"q238", kAmount, N}, {"q239", kAmount, N}, {"q240", kAmount, N}, {"q241", kAmount, N},
          {"q242", kAmount, N}, {"q243", kInt, N}, {"q244", kInt, N}, {"q245", kInt, N}, {"q128", kInt, N},
          {"q136", kDate, N}, {"q246", kDate, N}, {"q247", kInt, N}, {"q248", kText, N}}},
        // A hotel's rules of the day's close: arrivals that did not come marked no-show by the
        // close (q249: 1) or asked about (0), what a no-show is charged (q250: 0 nothing, 1 the
        // first night), and the open balance of a guest in house the close points out (q251).
        {"PravilaHoteli",
         {{"q1", kInt, N}, {"q249", kInt, N}, {"q250", kInt, N}, {"q251", kAmount, N},
          // Months after a guest's last departure their data are kept (q271; none: until asked).
          {"q271", kInt, N}}},
        // Guests as people: the key (q252), the name as written (q253) and in Latin letters
        // (q254), sex (q255: unknown, male, female), date of birth (q256), citizenship (q257, ISO
        // 3166-1 alpha-2), the identity document's kind (q258: identity card, passport, other),
        // number (q259), series (q260), issuing country (q261) and validity (q262), the personal
        // number, address, phone (q263), e-mail (q264), a note, consent to be kept for later
        // stays (q265) and to messages (q266), who saved it and when.
        {"Gosti",
         {{"q252", kInt, I}, {"q253", kText, N}, {"q254", kText, N}, {"q255", kInt, N}, {"q256", kDate, N},
          {"q257", kText, N}, {"q258", kInt, N}, {"q259", kText, N}, {"q260", kText, N}, {"q261", kText, N},
          {"q262", kDate, N}, {"q28", kText, N}, {"q134", kText, N}, {"q263", kText, N}, {"q264", kText, N},
          {"q137", kText, N}, {"q265", kInt, N}, {"q266", kInt, N}, {"q128", kInt, N}, {"q136", kDate, N},
          // When the guest was anonymised (q269): names and documents gone, stays and money kept.
          {"q269", kDate, N}}},
        // The guests of a stay (Klients.q123): the guest, 1 for the holder (q267), the reason the
        // guest is exempt from the tourist tax (q161; none: due). A stay without rows has the one
        // guest its row names, as stays had before guests were people.
        {"GostiPrestoi", {{"q123", kInt, N}, {"q252", kInt, N}, {"q267", kInt, N}, {"q161", kText, N}}},
        // The words of the guests' names as the search compares them (folded), one row per word.
        {"DumiGosti", {{"q162", kText, N}, {"q252", kInt, N}}},
        // What went to the tourism register: the key (q272), the stay, the guest (none: a stay
        // without guests of the register), the movement (q273: 1 arrival, 2 departure), the file
        // (q274), the operator and when.
        {"ESTIIznos",
         {{"q272", kInt, I}, {"q123", kInt, N}, {"q252", kInt, N}, {"q273", kInt, N}, {"q274", kText, N},
          {"q128", kInt, N}, {"q136", kDate, N}}},
        // Rate plans: the key (q276), the hotel (none: every hotel), the name (q277), the
        // currency, 1 when the prices include VAT (q278), the meal plan (q279: TMealPlan) and
        // its services for breakfast, lunch and dinner (q280, q281, q282: Uslugi.q42).
        {"CenoviPlanove",
         {{"q276", kInt, I}, {"q1", kInt, N}, {"q277", kText, N}, {"q57", kInt, N}, {"q278", kInt, N},
          {"q279", kInt, N}, {"q280", kInt, N}, {"q281", kInt, N}, {"q282", kInt, N}}},
        // A plan's seasons: the key (q283), the plan, the name (q284), the first and last night.
        {"Sezoni", {{"q283", kInt, I}, {"q276", kInt, N}, {"q284", kText, N}, {"q52", kDate, N}, {"q53", kDate, N}}},
        // Prices: the key (q285), the plan, the season, the room type, the adults (q286: 1 to 3;
        // 0 an extra bed), the weekdays (q287: bit 1 Monday ... bit 7 Sunday) and the night's
        // price of the room.
        {"Ceni",
         {{"q285", kInt, I}, {"q276", kInt, N}, {"q283", kInt, N}, {"q275", kText, N}, {"q286", kInt, N},
          {"q287", kInt, N}, {"q70", kAmount, N}}},
        // A hotel's children's bands: the key (q288), the hotel, ages from and to (q289, q290), the
        // rule (q291: free, percent of an adult's share, fixed a night) and its figure (q292).
        {"DetskiVazrasti",
         {{"q288", kInt, I}, {"q1", kInt, N}, {"q289", kInt, N}, {"q290", kInt, N}, {"q291", kInt, N},
          {"q292", kAmount, N}}},
        // A plan's restrictions: the key (q293), the plan, the day (q294), the least and most
        // nights of a stay arriving that day (q295, q296; 0: none), closed to arrival (q297) and
        // to departure (q298).
        {"Ogranichenia",
         {{"q293", kInt, I}, {"q276", kInt, N}, {"q294", kDate, N}, {"q295", kInt, N}, {"q296", kInt, N},
          {"q297", kInt, N}, {"q298", kInt, N}}},
        // Each night of a stay priced by a plan: the stay, the night (q299), its price as booked,
        // the plan and the room type it was priced for. A stay without rows is nights × price.
        {"Noshtuvki", {{"q123", kInt, N}, {"q299", kDate, N}, {"q70", kAmount, N}, {"q276", kInt, N}, {"q275", kText, N}}},
    };
}

} // namespace

QStringList TTableDef::ColumnNames() const
{
    QStringList names;
    for (const TColumnDef &column : Columns)
        names.append(column.Name);
    return names;
}

const QList<TTableDef> &DbSchema::Tables()
{
    static const QList<TTableDef> tables = buildTables();
    return tables;
}

const TTableDef &DbSchema::Table(const QString &name)
{
    for (const TTableDef &table : Tables())
        if (table.Name.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    throw Exception(QStringLiteral("Unknown table ") + name);
}

const QList<TIndexDef> &DbSchema::Indexes()
{
    // The availability check and a room's guests: one room's stays by date; the board's
    // refresh: the stays around one day, with every column it reads, so that a tick reads the
    // index alone (the reports find a period's stays and the parts that continue a move by it too).
    // The front desk: a booking's stays and payments, a booking's history; the guests in house
    // (the board's guests past their departure, among a million stays that left).
    static const QList<TIndexDef> indexes = {{"IX_Klients_RoomStay", "Klients", {"q47", "q34", "q35"}},
                                             {"IX_Klients_Days", "Klients", {"q35", "q34", "q125", "q47", "q1", "q155", "q29"}},
                                             {"IX_Klients_Status", "Klients", {"q125", "q35"}},
                                             {"IX_Klients_Booking", "Klients", {"q124"}},
                                             {"IX_Plashtania_Booking", "Plashtania", {"q124"}},
                                             {"IX_Dnevnik_Booking", "Dnevnik", {"q124"}},
                                             {"IX_Zatvoreni_Room", "Zatvoreni", {"q47", "q157"}},
                                             // The search: a booking by the guest's numbers, a
                                             // room by its number, a name by its words.
                                             {"IX_Rezervacii_Personal", "Rezervacii", {"q28"}},
                                             {"IX_Rezervacii_Passport", "Rezervacii", {"q133"}},
                                             {"IX_Rooms_Number", "Rooms", {"q44"}},
                                             {"IX_DumiImena_Word", "DumiImena", {"q162", "q124"}},
                                             // The reports: charges, payments and bookings by
                                             // the day they were made.
                                             {"IX_Klients_Charge", "Klients", {"q47", "q39"}},
                                             {"IX_Plashtania_Day", "Plashtania", {"q136"}},
                                             {"IX_Rezervacii_Entered", "Rezervacii", {"q136"}},
                                             // What of a stay or charge is billed already; a
                                             // booking's documents.
                                             {"IX_FakturiRedove_Charge", "FakturiRedove", {"q123"}},
                                             {"IX_Fakturi_Booking", "Fakturi", {"q124"}},
                                             {"IX_FirmiHoteli_Hotel", "FirmiHoteli", {"q1"}},
                                             {"IX_FiskalniBonove_Booking", "FiskalniBonove", {"q124"}},
                                             {"IX_FiskalniBonove_Sale", "FiskalniBonove", {"q222"}},
                                             {"IX_ZatvoreniDni_Day", "ZatvoreniDni", {"q233", "q1"}},
                                             {"IX_Gosti_Personal", "Gosti", {"q28"}},
                                             {"IX_Gosti_Document", "Gosti", {"q259"}},
                                             {"IX_GostiPrestoi_Stay", "GostiPrestoi", {"q123", "q252"}},
                                             {"IX_GostiPrestoi_Guest", "GostiPrestoi", {"q252"}},
                                             {"IX_DumiGosti_Word", "DumiGosti", {"q162", "q252"}},
                                             {"IX_DumiGosti_Guest", "DumiGosti", {"q252"}},
                                             {"IX_ESTIIznos_Stay", "ESTIIznos", {"q123", "q273"}},
                                             {"IX_Klients_Guest", "Klients", {"q252"}},
                                             {"IX_Rezervacii_Guest", "Rezervacii", {"q252"}},
                                             // A stay's nights; a period's nights for the reports;
                                             // a stay's meal charges.
                                             {"IX_Noshtuvki_Stay", "Noshtuvki", {"q123", "q299"}},
                                             {"IX_Noshtuvki_Night", "Noshtuvki", {"q299", "q123"}},
                                             {"IX_Klients_Meals", "Klients", {"q302", "q34"}},
                                             {"IX_Ceni_Plan", "Ceni", {"q276"}},
                                             {"IX_Ogranichenia_Plan", "Ogranichenia", {"q276", "q294"}}};
    return indexes;
}

const QStringList &DbSchema::CheckedTables()
{
    static const QStringList tables = {"HotelBuild", "Operators", "Secyrity", "Klients", "Uslugi",
                                       "Rooms",      "Tarife",    "Valuta",   "Otstapka", "Nomen"};
    return tables;
}
