// The reader window's start-up and exit sequences.
#include "reader/frmMain.h"

#include "app/Captions.h"
#include "platform/FitText.h"
#include "platform/Prompts.h"
#include "reader/FilePanel.h"
#include "reader/PageFormatter.h"
#include "reader/PlacementStore.h"
#include "reader/TextArea.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <utility>

void frmMain::Form_Load(const QString &configFile)
{
    m_textArea->setText(Hint);
    mnuFilePrint->setEnabled(false);
    menuOpenWith->setEnabled(false);
    m_layout.restartFromCurrentWidth();
    LoadResourceCaptions(this);
    // The header labels take the window's font from the captions; a size smaller keeps their
    // text clear of the boxes beside them.
    FitText::fitBefore(Label2, PageTotal);
    FitText::fitBefore(Label1, PageNumber);
    FitText::fitBox(PageTotal, QStringLiteral("99999"));
    m_pageBoxFont = PageTotal->font();
    ConfigFile = configFile;
    const SettingsFileResult read = SaveLoadGlobalData(ConfigFile, false, m_data);
    if (!read.ok)
        m_prompts.tell(this,
                       QStringLiteral("The settings could not be read; Pagelark starts "
                                      "with its defaults.\n%1")
                           .arg(read.error));
    ApplyPageFormat();
    loadReadingLayout();
    m_history.load(QFileInfo(ConfigFile).dir().filePath(QStringLiteral("history")));
    showRecentBooks();
    PlacementStore::read(*this);
    frmFile->RestoreFavoritFolder();
    if (!m_data.LastBook.isEmpty() && m_data.LoadLastBook == VTrue) {
        // The reopened book shows the page last read only when the user asked for that too.
        m_state.setOpenAtStartup(m_data.JumpToLastPage == VTrue);
        openBook(m_data.LastBook);
    }
}

void frmMain::Form_Unload()
{
    leaveBook();
    m_history.save();
    if (m_layout.pageOnly())
        mnuViewFullScreen_Click();
    // The record's field is 16-bit: a page past it is reopened by the place kept by line. It
    // names a page of lines per page, also while the pages are cut to the view.
    m_data.LastPage = qint16(std::min(m_state.fixedPageShown(), 32767));
    m_format->capture();
    if (!ConfigFile.isEmpty()) {
        const SettingsFileResult written = SaveLoadGlobalData(ConfigFile, true, m_data);
        if (!written.ok)
            m_prompts.tell(this,
                           QStringLiteral("The settings could not be saved; the previous "
                                          "ones are kept.\n%1")
                               .arg(written.error));
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isWindow() && window->isVisible()
            && window->inherits("QWidget") && !window->inherits("QMenu"))
            window->close();
    }
    if (!isMinimized())
        PlacementStore::write(*this);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The book being read is read to its end first.
    if (m_reading) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}
