#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A classic INI file in GBK: section and key names match without regard to case, values are
// text, integers are decimal with the caller's default for a missing or malformed value. Every
// write goes to disk at once, unless a Batch is open, which writes once when it closes.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = {}) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool valueExists(const QString &section, const QString &key) const;
    bool sectionExists(const QString &section) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool deleteKey(const QString &section, const QString &key);
    bool eraseSection(const QString &section);

    // Reads the file again, dropping what is in memory.
    void reload();
    // Makes sure what was written is on disk.
    bool flush();

    // Defers writing the file until the batch ends; for writers of many keys at once.
    class Batch
    {
    public:
        explicit Batch(IniFile &file)
            : m_file(file)
        {
            ++m_file.m_batchDepth;
        }
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        IniFile &m_file;
    };

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        std::vector<Entry> entries;
    };

    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    bool changed();
    bool save();

    QString m_path;
    std::vector<Section> m_sections;
    int m_batchDepth = 0;
    bool m_dirty = false;
};
