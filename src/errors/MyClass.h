#pragma once
// General routines without state.

#include <QString>

class QWidget;

class MClass
{
public:
    // Empty or a single blank counts as missing; the control then gets the focus.
    bool IsValueMissing(const QString &text, QWidget *control) const;
    QString CopyText(const QString &text, QString &out) const;
    // The file's lines up to the first empty line, each followed by a carriage return.
    QString ReadTextFile(const QString &fileName, QString &out) const;
    QString GetSystemFolder(QString &out) const;
    // Opens the file with the shell; true only when the file exists.
    bool RunProgram(const QString &fileName, int showMode) const;
};
