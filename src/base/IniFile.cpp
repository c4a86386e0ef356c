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

namespace {

QString folded(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace

void IniFile::reload()
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_readError.clear();
    QFile file(m_path);
    if (!file.exists())
        return;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        m_readError = file.errorString();
        return;
    }
    const QString text = Gbk::decode(bytes);
    Section *current = nullptr;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = &sectionFor(line.mid(1, line.size() - 2).trimmed().toString());
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        // The first of two equal keys holds, as readers of such files expect.
        if (!current->find(key)) {
            current->index.insert(folded(key), current->entries.size());
            current->entries.push_back({key, line.mid(eq + 1).trimmed().toString()});
        }
    }
}

const IniFile::Entry *IniFile::Section::find(const QString &key) const
{
    const auto it = index.constFind(folded(key));
    return it == index.constEnd() ? nullptr : &entries[*it];
}

void IniFile::Section::reindex()
{
    index.clear();
    for (size_t i = 0; i < entries.size(); ++i)
        index.insert(folded(entries[i].key), i);
}

void IniFile::reindex()
{
    m_sectionIndex.clear();
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_sectionIndex.insert(folded(m_sections[i].name), i);
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    const auto it = m_sectionIndex.constFind(folded(name));
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

IniFile::Section &IniFile::sectionFor(const QString &name)
{
    if (Section *s = findSection(name))
        return *s;
    m_sectionIndex.insert(folded(name), m_sections.size());
    m_sections.push_back({name, {}, {}});
    return m_sections.back();
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    if (const Section *s = findSection(section))
        if (const Entry *e = s->find(key))
            return e->value;
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
    const Section *s = findSection(section);
    return s && s->find(key);
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
    Section &s = sectionFor(section);
    if (const Entry *e = s.find(key)) {
        s.entries[size_t(e - s.entries.data())].value = clean;
    } else {
        s.index.insert(folded(key), s.entries.size());
        s.entries.push_back({key, clean});
    }
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
    if (const Entry *e = s->find(key)) {
        s->entries.erase(s->entries.begin() + (e - s->entries.data()));
        s->reindex();
    }
    return changed();
}

bool IniFile::eraseSection(const QString &section)
{
    if (const Section *s = findSection(section)) {
        m_sections.erase(m_sections.begin() + (s - m_sections.data()));
        reindex();
    }
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
    // Writing now would replace settings that are there but could not be read.
    if (!isReadable())
        return false;
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
