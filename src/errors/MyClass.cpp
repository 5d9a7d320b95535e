#include "MyClass.h"

#include "startup/USystemWinOS.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QWidget>

bool MClass::IsValueMissing(const QString &text, QWidget *control) const
{
    const bool missing = text.isEmpty() || text == QStringLiteral(" ");
    if (missing && control && control->isEnabled())
        control->setFocus();
    return missing;
}

QString MClass::CopyText(const QString &text, QString &out) const
{
    out = text;
    return out;
}

QString MClass::ReadTextFile(const QString &fileName, QString &out) const
{
    out.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    QTextStream in(&file);
    in.setAutoDetectUnicode(true);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty())
            break;
        out += line + QLatin1Char('\r');
    }
    return out;
}

QString MClass::GetSystemFolder(QString &out) const
{
    TSystemWinOS().GetSystemFolder(out);
    return out;
}

bool MClass::RunProgram(const QString &fileName, int showMode) const
{
    if (!QFileInfo::exists(fileName))
        return false;
    // A mode above 10 is no show mode: the plain show is used instead.
    TSystemWinOS::OpenFile(QFileInfo(fileName).absoluteFilePath(), showMode > 10 ? 5 : showMode);
    return true;
}
