#pragma once

#include "settings/ReadingLayout.h"

#include <QDialog>

class QSpinBox;
class TextArea;

// The Page Layout dialog: the blank room on each side of the text and the line spacing, shown
// on the page as they change. OK keeps them; Cancel, Esc or closing the dialog puts back what
// the page had. Keeping them in the layout file is the caller's.
class frmPageLayout : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(frmPageLayout)

public:
    frmPageLayout(TextArea &view, const ReadingLayout &layout, QWidget *parent);

    // The layout given, with the margin and the spacing chosen.
    ReadingLayout layout() const;

    void reject() override;

private:
    void showOnPage();

    TextArea &m_view;
    const ReadingLayout m_before;
    QSpinBox *txtSideMargin = nullptr;
    QSpinBox *txtLineSpacing = nullptr;
};
