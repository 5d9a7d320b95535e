#include "UWideIniFile.h"

#include <algorithm>

#include "errors/UErrors.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

QString fold(const QString &text) { return text.toCaseFolded(); }

// Blanks and control characters around a line or a name are not part of it.
QString trimBlanks(const QString &text)
{
    int begin = 0, end = int(text.size());
    while (begin < end && text[begin].unicode() <= ' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

TWideMemIniFile::TWideMemIniFile(const QString &fileName) : m_fileName(fileName) { Load(); }

void TWideMemIniFile::Load()
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;  // a missing or unreadable file reads as empty
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(kUtf8Mark))
        bytes.remove(0, kUtf8Mark.size());
    const QString text = QString::fromUtf8(bytes);

    Section *current = nullptr;
    for (QStringView rawLine : QStringView(text).split(QLatin1Char('\n'))) {
        const QString line = trimBlanks(rawLine.toString());
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = &EnsureSection(trimBlanks(line.mid(1, line.size() - 2)));
            continue;
        }
        const int eq = int(line.indexOf(QLatin1Char('=')));
        if (current && eq >= 0)
            AddEntry(*current, trimBlanks(line.left(eq)), trimBlanks(line.mid(eq + 1)));
    }
}

const TWideMemIniFile::Section *TWideMemIniFile::FindSection(const QString &name) const
{
    const auto it = m_sectionIndex.constFind(fold(name));
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

TWideMemIniFile::Section &TWideMemIniFile::EnsureSection(const QString &name)
{
    const QString key = fold(name);
    auto it = m_sectionIndex.constFind(key);
    if (it != m_sectionIndex.constEnd())
        return m_sections[*it];
    m_sections.append(Section{name, {}, {}});
    m_sectionIndex.insert(key, int(m_sections.size() - 1));
    return m_sections.last();
}

void TWideMemIniFile::AddEntry(Section &section, const QString &key, const QString &value)
{
    section.Entries.append({key, value});
    const QString folded = fold(key);
    if (!section.Index.contains(folded))
        section.Index.insert(folded, int(section.Entries.size() - 1));
}

bool TWideMemIniFile::SectionExists(const QString &section) const { return FindSection(section) != nullptr; }

bool TWideMemIniFile::ValueExists(const QString &section, const QString &key) const
{
    const Section *s = FindSection(section);
    return s && s->Index.contains(fold(key));
}

QString TWideMemIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Section *s = FindSection(section);
    if (!s)
        return defaultValue;
    const auto it = s->Index.constFind(fold(key));
    return it == s->Index.constEnd() ? defaultValue : s->Entries[*it].second;
}

bool TWideMemIniFile::ParseInteger(const QString &text, int &value)
{
    QString digits = text;
    int base = 10;
    if (digits.size() > 2 && digits[0] == QLatin1Char('0') &&
        (digits[1] == QLatin1Char('x') || digits[1] == QLatin1Char('X'))) {
        digits = digits.mid(2);
        base = 16;
    } else if (digits.size() > 1 && digits[0] == QLatin1Char('$')) {
        digits = digits.mid(1);
        base = 16;
    }
    if (digits.isEmpty() || digits[0].isSpace())
        return false;
    bool ok = false;
    if (base == 16) {
        // Hexadecimal texts give the 32-bit pattern, so "0xFFFFFFFF" is -1.
        if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+')))
            return false;
        const uint pattern = digits.toUInt(&ok, 16);
        if (ok)
            value = int(pattern);
        return ok;
    }
    const int number = digits.toInt(&ok, 10);
    if (ok)
        value = number;
    return ok;
}

int TWideMemIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    int value = defaultValue;
    return ParseInteger(ReadString(section, key, QString()), value) ? value : defaultValue;
}

void TWideMemIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    // A single write is a batch of one: written at once, undone when the write fails.
    BeginUpdate();
    Section &s = EnsureSection(section);
    const auto it = s.Index.constFind(fold(key));
    if (it == s.Index.constEnd())
        AddEntry(s, key, value);
    else
        s.Entries[*it].second = value;
    m_pending = true;
    EndUpdate();
}

void TWideMemIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

QStringList TWideMemIniFile::Keys(const QString &section) const
{
    QStringList keys;
    if (const Section *found = FindSection(section))
        for (auto it = found->Index.cbegin(); it != found->Index.cend(); ++it)
            keys.append(found->Entries.at(it.value()).first);
    std::sort(keys.begin(), keys.end(), [found = FindSection(section)](const QString &a, const QString &b) {
        return found->Index.value(a.toCaseFolded()) < found->Index.value(b.toCaseFolded());
    });
    return keys;
}

void TWideMemIniFile::BeginUpdate()
{
    if (m_updating++ == 0) {
        m_sectionsBefore = m_sections;
        m_sectionIndexBefore = m_sectionIndex;
    }
}

void TWideMemIniFile::EndUpdate()
{
    if (m_updating == 0 || --m_updating > 0 || !m_pending)
        return;
    m_pending = false;
    try {
        UpdateFile();
    } catch (...) {
        m_sections = m_sectionsBefore;
        m_sectionIndex = m_sectionIndexBefore;
        throw;
    }
}

namespace {
int writes = 0;
} // namespace

int TWideMemIniFile::WriteCount() { return writes; }

void TWideMemIniFile::UpdateFile() const
{
    ++writes;
    QString text;
    for (const Section &s : m_sections) {
        text += QLatin1Char('[') + s.Name + QStringLiteral("]\r\n");
        for (const auto &entry : s.Entries)
            text += entry.first + QLatin1Char('=') + entry.second + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    // Written to a side file and renamed, so a failed write never leaves half a file.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(kUtf8Mark) < 0 || file.write(text.toUtf8()) < 0 ||
        !file.commit())
        throw EIniFileException(QStringLiteral("Cannot write the file %1: %2").arg(m_fileName, file.errorString()));
}
