#pragma once

#include "book/BookSearch.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class MatchList;

// Find All: every occurrence of a text in the open book, with "Match case" and "Whole words",
// listed as the page and the line holding it, the count above the list. The rows are worked out
// as they are shown, so a word of a million matches lists at once; the list keeps at most
// MaxListed of them and says so. Choosing a row asks the reader to show that match; what the
// reader lights on its pages while the list is open is its own affair. A window beside the
// reader's, not a modal one.
class frmFindAll : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(frmFindAll)

public:
    static constexpr qsizetype MaxListed = 100000;

    explicit frmFindAll(QWidget *parent);

    // The book the list is of; nullptr or a new one empties the list.
    void setBook(const Book *book);
    const QString &text() const { return m_text; }
    const BookSearch::Options &options() const { return m_options; }

    void cmdFind_Click();

Q_SIGNALS:
    // A row chosen: the occurrence at offset in the book's text.
    void chosen(qsizetype offset);
    // A new search, or none any more (an empty text).
    void searched();

private:
    const Book *m_book = nullptr;
    QString m_text;
    BookSearch::Options m_options;
    QLineEdit *txtFind = nullptr;
    QCheckBox *chkMatchCase = nullptr;
    QCheckBox *chkWholeWords = nullptr;
    QLabel *lblCount = nullptr;
    QListView *lstMatches = nullptr;
    MatchList *m_matches = nullptr;
};
