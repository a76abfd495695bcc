#pragma once

#include "book/Bookmarks.h"
#include "book/ChapterMarks.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Where the reader left each book, and the books opened last. A book is known by its canonical
// path (links resolved), so that every way of naming it finds the same place. A place is the
// line that starts the page shown, not a page number, so it survives a change of lines per page;
// with it go the file's size when it was left, to tell whether the file has changed since, and
// the encoding chosen for the book (empty: found out when it is read), the reader's bookmarks and
// the reader's corrections of the book's contents, each kept by a line and a copy of its text.
//
// The store is a text file of its own beside config.ini, newest first, written whole or not at
// all. A damaged store is read as far as it is sound; a store that cannot be read is empty.
// Several readers may share it: each change carries its time, and writing the store takes in
// what others wrote since it was read, the latest change of each book and of the recent books
// winning, so that no reader loses another's places.
class BookHistory
{
public:
    static constexpr int MaxBooks = 500;
    static constexpr int MaxRecent = 10;

    struct Place
    {
        Place() = default;
        Place(const QString &path, qint64 size, int line, const QString &encoding)
            : path(path), size(size), line(line), encoding(encoding)
        { }

        QString path; // canonical
        qint64 size = 0;
        int line = 0; // from 0
        QString encoding;
        qint64 changed = 0; // when it was left, in ms since the epoch; 0: before times were kept
        QList<Bookmark> bookmarks; // in the book's order
        ChapterMarks chapters;
    };

    // The form of path the store knows it by: canonical where the file exists, the member of an
    // archive after its archive's.
    static QString keyOf(const QString &path);

    // Reads the store's file, which save() then writes.
    void load(const QString &fileName);
    // Takes in what the store's file holds now and writes the result, which this history then
    // holds too. False, with the system's words in *error, when the store could not be written;
    // the old store is then whole. Without a file nothing is written.
    bool save(QString *error = nullptr);

    std::optional<Place> place(const QString &path) const;
    // The member of an archive of several books read last; empty when none was.
    QString memberReadLast(const QString &archive) const;
    // Puts the book first, replacing what was known of it, and forgets the books read longest
    // ago beyond MaxBooks.
    void remember(const Place &place);

    // The books opened last, newest first.
    QStringList recent() const;
    void addRecent(const QString &path);
    void removeRecent(const QString &path);
    // A book refused: off the recent books when its file has gone, kept when it may open again.
    void refused(const QString &path);
    void clearRecent();

private:
    struct Recent
    {
        QString path; // canonical
        qint64 opened = 0; // ms since the epoch
    };

    static qint64 now();
    void readFrom(const QByteArray &text);
    bool readEntry(const QList<QByteArray> &fields, bool timed);
    QByteArray text() const;
    // Takes in another history of the same store: per book the later change wins.
    void merge(const BookHistory &other);
    void trim();

    QString m_fileName;
    QList<Place> m_places; // newest first
    QList<Recent> m_recent; // newest first
    qint64 m_recentCleared = 0; // recent books opened before this are gone
    QHash<QString, qint64> m_recentRemoved; // books taken off the recent books, and when
};
