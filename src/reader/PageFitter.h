#pragma once

#include "book/PageFit.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <QFont>

#include <memory>

class TextArea;

// Counts the pages of the open book cut to the page view while the window goes on: the pages
// next to the one shown at once, the rest a slice at a time between the window's events, handing
// the pages on as they come. The rows, their width and the measure are the view's, as they are
// when the count starts.
class PageFitter : public QObject
{
    Q_OBJECT

public:
    explicit PageFitter(const TextArea &view, QObject *parent = nullptr);
    ~PageFitter() override;

    // A count of book's pages from place on and back; the pages around the place are cut before
    // it returns.
    void start(const Book &book, qsizetype place);
    // Whether the view's rows, their width or its font are no longer those of the last count.
    bool viewChanged() const;
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

    // What a count's pages are cut for.
    struct Cut
    {
        int rows = 0;
        qreal width = 0;
        QFont font;
    };
    Cut cutOfView() const;

    const TextArea &m_view;
    Cut m_cut;
    std::unique_ptr<PageFit> m_fit;
    QTimer m_next;
    QElapsedTimer m_sinceCounted;
};
