// The page's look: the colour schemes, the page layout and Fit Pages to Window, whose record is
// kept in the layout file beside config.ini.
#include "reader/frmMain.h"

#include "platform/OleColor.h"
#include "platform/Prompts.h"
#include "reader/PageFormatter.h"
#include "reader/TextArea.h"
#include "reader/frmPageLayout.h"
#include "settings/ColorScheme.h"

#include <QAction>
#include <QDir>
#include <QMenu>

// The scheme's colours go into the settings record as the colour buttons' do.
void frmMain::mnuViewScheme_Click(const ColorScheme &scheme)
{
    m_format->setColors(OleColor::toQColor(scheme.text), OleColor::toQColor(scheme.background));
}

// A scheme is ticked while the page has its colours, whichever way they were chosen.
void frmMain::showSchemeMenu()
{
    const QList<QAction *> items = mnuViewScheme->actions();
    for (int i = 0; i < items.size(); ++i) {
        const ColorScheme &scheme = ColorScheme::all().at(i);
        items[i]->setChecked(m_data.ForeColor.holdsNumber() && m_data.BackColor.holdsNumber()
                             && quint32(m_data.ForeColor.value) == scheme.text
                             && quint32(m_data.BackColor.value) == scheme.background);
    }
}

void frmMain::mnuViewPageLayout_Click()
{
    frmPageLayout dialog(*m_textArea, m_readingLayout, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_readingLayout = dialog.layout();
    keepReadingLayout();
}

void frmMain::mnuViewFitPages_Click()
{
    // The item has already toggled its own check mark.
    m_readingLayout.fitPages = mnuViewFitPages->isChecked();
    keepReadingLayout();
    applyFitPages();
}

void frmMain::loadReadingLayout()
{
    m_readingLayout = ReadingLayout::load(ReadingLayout::fileBeside(ConfigFile));
    m_textArea->setPageLayout(m_readingLayout.sideMargin, m_readingLayout.lineSpacing);
    mnuViewFitPages->setChecked(m_readingLayout.fitPages);
    applyFitPages();
}

void frmMain::keepReadingLayout()
{
    if (ConfigFile.isEmpty())
        return;
    const QString file = ReadingLayout::fileBeside(ConfigFile);
    QString error;
    if (!m_readingLayout.save(file, &error))
        m_prompts.tell(this,
                       QStringLiteral("The page layout could not be saved.\n%1: %2")
                           .arg(QDir::toNativeSeparators(file), error));
}
