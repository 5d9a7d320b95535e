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
          {"q76", kText, D}, {"q77", kText, D}}},
        {"Secyrity", {{"q26", kBit, N}, {"q22", kInt, N}}},
        {"Klients",
         {{"q1", kInt, D},           {"q28", kText, N},  {"q29", kText, N},  {"q27", kAmount, D},
          {"q30", kInt, D},          {"q31", "char(30)", N}, {"q32", kBit, D}, {"q39", kDate, D},
          {"q33", kText, N},         {"q34", "SMALLDATETIME", D}, {"q35", "SMALLDATETIME", D},
          {"q36", kBit, D},          {"q37", kDate, D},  {"q38", kDate, D},  {"q42", kText, N},
          {"q70", kAmount, D},       {"q71", kAmount, D}, {"q72", kAmount, D}, {"q78", kAmount, D},
          {"q51", kInt, N},          {"q109", kDate, D}, {"q47", kInt, D},   {"q57", kInt, D},
          {"q110", kBit, D},         {"q111", kInt, D},  {"q112", kInt, D},  {"q113", kAmount, D},
          {"q115", kText, D}}},
        {"Uslugi",
         {{"q40", kAmount, D}, {"q41", kInt, N}, {"q33", kText, N}, {"q50", kText, N}, {"q51", kInt, N},
          {"q42", kInt, I}, {"q43", kInt, N}}},
        {"Rooms",
         {{"q47", kInt, I}, {"q44", kText, N}, {"q46", kAmount, D}, {"q49", kAmount, D}, {"q51", kInt, D},
          {"q48", kInt, D}, {"q79", kInt, D}, {"q1", kInt, D}, {"q42", kInt, D}, {"q81", kInt, D},
          {"q82", kInt, D}, {"q83", kInt, D}, {"q84", kInt, D}}},
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
    // refresh: the stays around one day.
    static const QList<TIndexDef> indexes = {{"IX_Klients_RoomStay", "Klients", {"q47", "q34", "q35"}},
                                             {"IX_Klients_Stay", "Klients", {"q35", "q34"}}};
    return indexes;
}

const QStringList &DbSchema::CheckedTables()
{
    static const QStringList tables = {"HotelBuild", "Operators", "Secyrity", "Klients", "Uslugi",
                                       "Rooms",      "Tarife",    "Valuta",   "Otstapka", "Nomen"};
    return tables;
}
