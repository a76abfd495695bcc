#pragma once

#include "book/PageFit.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

// Counts the pages of the open book cut to the page view while the window goes on: the pages
// next to the one shown at once, the rest a slice at a time between the window's events, handing
// the pages on as they come. The measure and the number of rows are the view's.
class PageFitter : public QObject
{
    Q_OBJECT

public:
    explicit PageFitter(QObject *parent = nullptr);
    ~PageFitter() override;

    // A count of book's pages of rows rows, from place on and back; the pages around the place
    // are cut before it returns.
    void start(const Book &book, int rows, PageFit::Measure measure, qsizetype place);
    void stop();
    // Counts the rest at once.
    void finish();
    bool counting() const { return m_fit != nullptr; }
    bool done() const { return m_fit && m_fit->done(); }
    std::vector<qsizetype> pages() const
    {
        return m_fit ? m_fit->pages() : std::vector<qsizetype>();
    }

Q_SIGNALS:
    // More pages counted, or all of them (done()): pages() has them.
    void counted();

private:
    void slice();

    std::unique_ptr<PageFit> m_fit;
    QTimer m_next;
    QElapsedTimer m_sinceCounted;
};
