#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// A classic INI file in GBK: section and key names match without regard to case, values are
// text, integers are decimal with the caller's default for a missing or malformed value. Every
// write goes to disk at once, unless a Batch is open, which writes once when it closes.
// Look-ups are indexed, so files of many thousand keys read and write in linear time.
// A file that exists but cannot be read is never written over: every write then fails.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }
    // False when the file exists but could not be read; readError() says why.
    bool isReadable() const { return m_readError.isEmpty(); }
    const QString &readError() const { return m_readError; }

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
        QHash<QString, size_t> index; // folded key -> position in entries

        const Entry *find(const QString &key) const;
        void reindex();
    };

    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    Section &sectionFor(const QString &name);
    void reindex();
    bool changed();
    bool save();

    QString m_path;
    std::vector<Section> m_sections;
    QHash<QString, size_t> m_sectionIndex; // folded name -> position in m_sections
    QString m_readError;
    int m_batchDepth = 0;
    bool m_dirty = false;
};
