// The reader window's pages cut to the page view: counted as the book is read, taken as they
// come, and cut anew from the first line shown when the view changes.
#include "reader/frmMain.h"

#include "reader/PageFitter.h"
#include "reader/TextArea.h"

#include <QLineEdit>
#include <QSignalBlocker>

// Pages of fixed lines and pages cut to the view hold the same first line at the switch.
void frmMain::applyFitPages()
{
    const bool on = m_readingLayout.fitPages;
    if (on == m_fitPages)
        return;
    m_fitPages = on;
    // Nothing is scrolled on a page that fits, and without the bar the text takes its room.
    m_textArea->setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    m_textArea->setPlainShaping(on);
    if (!m_state.bookOpened() || m_state.book().isEmpty())
        return;
    const qsizetype place = m_state.placeShown();
    if (on) {
        fitPagesAt(place);
        return;
    }
    m_fitter->stop();
    m_state.useFixedPages(place);
    showPageTotal();
    showCurrentPage();
    refreshPagesListed();
}

bool frmMain::fitting() const
{
    return m_fitPages && m_state.bookOpened() && !m_state.book().isEmpty();
}

void frmMain::fitPagesAt(qsizetype place)
{
    m_fitter->start(m_state.book(), place);
    takeFittedPages(place, true);
}

// The pages counted so far replace those before; the page shown stays unless its text changed.
void frmMain::takeFittedPages(qsizetype place, bool show)
{
    const Book &book = m_state.book();
    const auto shownRange = [&] {
        const int page = m_state.currentPage();
        return std::pair(book.pageOffset(page), book.pageOffset(page + 1));
    };
    const auto before = shownRange();
    const bool done = m_fitter->done();
    m_state.usePages(m_fitter->pages(), done, place);
    if (done)
        m_fitter->stop();
    showPageTotal();
    if (show || shownRange() != before) {
        showCurrentPage();
    } else {
        const QSignalBlocker quiet(PageNumber);
        PageNumber->setText(QString::number(m_state.currentPage() + 1));
        showPageShare();
    }
    if (done)
        refreshPagesListed();
}

void frmMain::fitCounted()
{
    if (fitting())
        takeFittedPages(m_state.placeShown(), false);
}

// A new size, font, margin or spacing cuts the pages anew from the place shown.
void frmMain::refitIfChanged()
{
    if (fitting() && m_fitter->viewChanged())
        fitPagesAt(m_state.placeShown());
}

// Pages worked out once for lists: the contents' and the bookmarks'.
void frmMain::refreshPagesListed()
{
    if (m_contents)
        showContents(m_contents);
    showBookmarksMenu();
}
