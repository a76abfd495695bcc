#include "reader/PageFitter.h"

#include "reader/TextArea.h"

namespace {

// Bytes counted between looks at the clock, about a millisecond's worth.
constexpr qsizetype kStep = 16 * 1024;
// A slice of counting leaves the window this often to its events: a key pressed meanwhile
// waits no longer than this.
constexpr qint64 kSliceMs = 8;
// New pages are handed on no more often than this while the count goes on: taking them redraws
// the page total and the status bar.
constexpr qint64 kCountedEveryMs = 250;
// What is cut before start() returns: the page shown and those on either side of it.
constexpr qsizetype kAtOnce = 48 * 1024;

} // namespace

PageFitter::PageFitter(const TextArea &view, QObject *parent) : QObject(parent), m_view(view)
{
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &PageFitter::slice);
}

PageFitter::~PageFitter() = default;

PageFitter::Cut PageFitter::cutOfView() const
{
    return {m_view.rowsShown(), m_view.lineWidth(), m_view.pageFont()};
}

bool PageFitter::viewChanged() const
{
    const Cut now = cutOfView();
    return now.rows != m_cut.rows || now.width != m_cut.width || now.font != m_cut.font;
}

void PageFitter::start(const Book &book, qsizetype place)
{
    m_cut = cutOfView();
    m_fit = std::make_unique<PageFit>(book, m_cut.rows, m_view.wrapMeasure(), place);
    m_fit->work(kAtOnce);
    m_sinceCounted.start();
    if (!m_fit->done())
        m_next.start();
}

void PageFitter::stop()
{
    m_next.stop();
    m_fit.reset();
}

void PageFitter::finish()
{
    if (!m_fit || m_fit->done())
        return;
    m_next.stop();
    while (m_fit->work(kStep * 64)) { }
    Q_EMIT counted();
}

void PageFitter::slice()
{
    QElapsedTimer clock;
    clock.start();
    bool more = true;
    while (more && clock.elapsed() < kSliceMs)
        more = m_fit->work(kStep);
    if (!more || m_sinceCounted.elapsed() >= kCountedEveryMs) {
        m_sinceCounted.restart();
        Q_EMIT counted();
    }
    if (more && m_fit)
        m_next.start();
}
