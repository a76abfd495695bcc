#pragma once

#include "book/BookContents.h"

#include <QObject>
#include <QThreadPool>

#include <memory>

// Finds a book's contents on a thread of its own, so that the first page never waits for them,
// and hands them to the reader's thread. Only the contents of the book asked for last arrive: a
// search still under way for another book is let finish and forgotten. Waits for it when it goes.
class ContentsWorker : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(ContentsWorker)

public:
    explicit ContentsWorker(QObject *parent = nullptr);
    ~ContentsWorker() override;

    // The contents of the text of bytes from start on, held in encoding, set right by marks.
    void find(const QByteArray &bytes, qsizetype start, TextEncoding encoding,
              const ChapterMarks &marks);
    // Forgets the search under way.
    void forget() { ++m_asked; }

Q_SIGNALS:
    void found(std::shared_ptr<const BookContents> contents);

private:
    QThreadPool m_pool;
    quint64 m_asked = 0;
};
