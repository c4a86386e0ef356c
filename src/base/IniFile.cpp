#include "base/IniFile.h"

#include "base/Gbk.h"

#include <QFile>
#include <QSaveFile>

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
    reload();
}

IniFile::Batch::~Batch()
{
    if (--m_file.m_batchDepth == 0 && m_file.m_dirty)
        m_file.save();
}

void IniFile::reload()
{
    m_sections.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = Gbk::decode(file.readAll());
    Section *current = nullptr;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2).trimmed().toString();
            current = findSection(name);
            if (!current) {
                m_sections.push_back({name, {}});
                current = &m_sections.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        const QString value = line.mid(eq + 1).trimmed().toString();
        auto it =
            std::find_if(current->entries.begin(), current->entries.end(), [&](const Entry &e) {
                return e.key.compare(key, Qt::CaseInsensitive) == 0;
            });
        if (it == current->entries.end())
            current->entries.push_back({key, value});
    }
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    for (const Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value;
    return defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return keys(section).contains(key, Qt::CaseInsensitive);
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Section &s : m_sections)
        names << s.name;
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            names << e.key;
    return names;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    // A line break would split the entry in two on the next read.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    Section *s = findSection(section);
    if (!s) {
        m_sections.push_back({section, {}});
        s = &m_sections.back();
    }
    auto it = std::find_if(s->entries.begin(), s->entries.end(), [&](const Entry &e) {
        return e.key.compare(key, Qt::CaseInsensitive) == 0;
    });
    if (it == s->entries.end())
        s->entries.push_back({key, clean});
    else
        it->value = clean;
    return changed();
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::deleteKey(const QString &section, const QString &key)
{
    Section *s = findSection(section);
    if (!s)
        return true;
    std::erase_if(s->entries,
                  [&](const Entry &e) { return e.key.compare(key, Qt::CaseInsensitive) == 0; });
    return changed();
}

bool IniFile::eraseSection(const QString &section)
{
    std::erase_if(m_sections, [&](const Section &s) {
        return s.name.compare(section, Qt::CaseInsensitive) == 0;
    });
    return changed();
}

bool IniFile::changed()
{
    m_dirty = true;
    return m_batchDepth > 0 || save();
}

bool IniFile::flush()
{
    return !m_dirty || save();
}

bool IniFile::save()
{
    QString text;
    for (const Section &s : m_sections) {
        text += u'[' + s.name + u"]\r\n";
        for (const Entry &e : s.entries)
            text += e.key + u'=' + e.value + u"\r\n";
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(Gbk::encode(text));
    if (!file.commit())
        return false;
    m_dirty = false;
    return true;
}
