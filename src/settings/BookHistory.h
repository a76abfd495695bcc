#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Where the reader left each book, and the books opened last. A book is known by its canonical
// path (links resolved), so that every way of naming it finds the same place. A place is the
// line that starts the page shown, not a page number, so it survives a change of lines per page;
// with it go the file's size when it was left, to tell whether the file has changed since, and
// the encoding chosen for the book (empty: found out when it is read).
//
// The store is a text file of its own beside config.ini, newest first, written whole or not at
// all. A damaged store is read as far as it is sound; a store that cannot be read is empty.
class BookHistory
{
public:
    static constexpr int MaxBooks = 500;
    static constexpr int MaxRecent = 10;

    struct Place
    {
        QString path; // canonical
        qint64 size = 0;
        int line = 0; // from 0
        QString encoding;
    };

    // The form of path the store knows it by: canonical where the file exists.
    static QString keyOf(const QString &path);

    // Reads the store's file, which save() then writes.
    void load(const QString &fileName);
    // False, with the system's words in *error, when the store could not be written; the old
    // store is then whole. Without a file nothing is written.
    bool save(QString *error = nullptr) const;

    std::optional<Place> place(const QString &path) const;
    // Puts the book first, replacing what was known of it, and forgets the books read longest
    // ago beyond MaxBooks.
    void remember(const Place &place);

    // The books opened last, newest first.
    const QStringList &recent() const { return m_recent; }
    void addRecent(const QString &path);
    void removeRecent(const QString &path);
    // A book refused: off the recent books when its file has gone, kept when it may open again.
    void refused(const QString &path);
    void clearRecent() { m_recent.clear(); }

private:
    QString m_fileName;
    QList<Place> m_places; // newest first
    QStringList m_recent; // newest first, canonical paths
};
