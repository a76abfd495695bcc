// The reader window's searches beyond Search and Next: the match before, every match listed in
// Find All, and the matches of the page shown lit while a search is under way.
#include "reader/frmMain.h"

#include "reader/TextArea.h"
#include "reader/frmFindAll.h"

void frmMain::mnuToolsFindPrevious_Click()
{
    const BookState::Answer answer = m_state.mnuToolsFindPrevious_Click();
    showAnswer(answer);
    lightSearch(answer);
}

void frmMain::mnuToolsFindAll_Click()
{
    if (!m_findAll) {
        m_findAll = new frmFindAll(this);
        connect(m_findAll, &frmFindAll::chosen, this, &frmMain::showFoundAt);
        connect(m_findAll, &frmFindAll::searched, this, [this] {
            light(m_findAll->text().isEmpty()
                      ? std::nullopt
                      : std::optional(Lit {m_findAll->text(), m_findAll->options()}));
        });
        connect(m_findAll, &QDialog::finished, this, [this] { light(std::nullopt); });
        m_findAll->setBook(m_state.bookOpened() ? &m_state.book() : nullptr);
    }
    m_findAll->show();
    m_findAll->raise();
    m_findAll->activateWindow();
}

// A match of Find All: its page, the match selected.
void frmMain::showFoundAt(qsizetype offset)
{
    const BookSearch::Place place = BookSearch::placeOf(m_state.book(), offset, m_findAll->text());
    showAnswer({{}, QString::number(place.page + 1), {}, {}});
    m_textArea->setSelStart(place.position);
    m_textArea->setSelLength(place.length);
}

// A search that found a match lights the matches of its text; one that found none, none.
void frmMain::lightSearch(const BookState::Answer &answer)
{
    if (answer.matchAt)
        light(Lit {m_state.searchText(), {}});
    else if (!answer.message.isEmpty())
        light(std::nullopt);
}

void frmMain::light(const std::optional<Lit> &lit)
{
    m_lit = lit;
    lightPage();
}

// The matches of the page shown, found in its text as the view holds it.
void frmMain::lightPage()
{
    QList<std::pair<int, int>> ranges;
    if (m_lit) {
        const QString view = m_textArea->text();
        for (int at = BookSearch::nextInView(view, m_lit->text, m_lit->options); at >= 0;
             at = BookSearch::nextInView(view, m_lit->text, m_lit->options, at + 1))
            ranges.append({at, int(m_lit->text.size())});
    }
    m_textArea->setLit(ranges);
}

// Esc leaves full screen, or else puts the lights out.
void frmMain::mnuViewEscape_Click()
{
    if (m_layout.pageOnly())
        mnuViewFullScreen_Click();
    else
        light(std::nullopt);
}
