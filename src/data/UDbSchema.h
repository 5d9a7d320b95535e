#pragma once
// The tables of the database, in their order of creation, with every column: the thirteen
// of the first version, then the front desk's. Every engine builds its creation statements
// from this one description.

#include <QList>
#include <QString>
#include <QStringList>

// Every text column holds at most this many characters; input boxes take no more.
constexpr int TextColumnLength = 500;

// The version of the schema this program writes; 1 is the thirteen tables alone.
constexpr int SchemaVersion = 11;

enum class TColumnNull { Default, Null, Identity };

struct TColumnDef {
    QString Name;
    QString Type;  // as the server declares it: "INT", "nvarchar(500)", "Numeric(20,8)", ...
    TColumnNull Nullability = TColumnNull::Default;
};

struct TTableDef {
    QString Name;
    QList<TColumnDef> Columns;
    QStringList ColumnNames() const;
};

// An index the program's statements need; the schema itself declares none.
struct TIndexDef {
    QString Name;
    QString Table;
    QStringList Columns;
};

namespace DbSchema {
const QList<TTableDef> &Tables();
const TTableDef &Table(const QString &name);  // case-insensitive; raises for an unknown name
// The tables the start-up check looks for, in its order.
const QStringList &CheckedTables();
// Integer and date columns only: the embedded engine orders texts by the program's own collation.
const QList<TIndexDef> &Indexes();
} // namespace DbSchema
