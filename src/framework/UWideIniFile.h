#pragma once
// In-memory ini file over Settings.ini, always UTF-8. The whole file is read when the
// object is made; every write regenerates the whole file at once.

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TWideMemIniFile
{
public:
    explicit TWideMemIniFile(const QString &fileName);

    const QString &FileName() const { return m_fileName; }
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool SectionExists(const QString &section) const;
    // The keys of a section in their order, each once.
    QStringList Keys(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    // Both writes save the file; a failure raises EIniFileException and the file stays as it was.
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);

    // Writes between the two reach the file together, in one write of the whole file; when that
    // write fails, all of them are undone, so none of them reaches the file with a later write.
    void BeginUpdate();
    void EndUpdate();
    // How many times this process has written an ini file (a measure for tests).
    static int WriteCount();

    // Parses an integer the way ReadInteger does; false when the text is no integer.
    static bool ParseInteger(const QString &text, int &value);

private:
    struct Section {
        QString Name;
        QList<QPair<QString, QString>> Entries;
        QHash<QString, int> Index;  // folded key -> first entry of that key
    };

    void Load();
    void UpdateFile() const;
    const Section *FindSection(const QString &name) const;
    Section &EnsureSection(const QString &name);
    static void AddEntry(Section &section, const QString &key, const QString &value);

    QString m_fileName;
    int m_updating = 0;
    bool m_pending = false;
    QList<Section> m_sectionsBefore;          // as they were at the outer BeginUpdate
    QHash<QString, int> m_sectionIndexBefore;
    QList<Section> m_sections;
    QHash<QString, int> m_sectionIndex;  // folded name -> position in m_sections
};
