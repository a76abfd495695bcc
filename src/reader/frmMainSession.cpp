// The reader window's start-up and exit sequences.
#include "reader/frmMain.h"

#include "app/Captions.h"
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

#include <utility>

void frmMain::Form_Load(const QString &configFile)
{
    m_textArea->setText(Hint);
    mnuFilePrint->setEnabled(false);
    menuOpenWith->setEnabled(false);
    m_layout.restartFromCurrentWidth();
    LoadResourceCaptions(this);
    fitHeaderLabels();
    ConfigFile = configFile;
    const SettingsFileResult read = SaveLoadGlobalData(ConfigFile, false, m_data);
    if (!read.ok)
        m_prompts.tell(this,
                       QStringLiteral("The settings could not be read; Pagelark starts "
                                      "with its defaults.\n%1")
                           .arg(read.error));
    ApplyPageFormat();
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

// The auto-sized header labels take the window's font from the captions; a size smaller, and
// less where the desktop's font is wide, keeps their text clear of the boxes beside them.
void frmMain::fitHeaderLabels()
{
    const std::pair<QLabel *, QWidget *> labels[] = {{Label2, PageTotal}, {Label1, PageNumber}};
    for (const auto &[label, box] : labels) {
        QFont font = label->font();
        font.setPointSizeF(qMax(6.0, font.pointSizeF() - 1));
        label->setFont(font);
        const int room = box->x() - label->x() - 2;
        while (label->sizeHint().width() > room && font.pointSizeF() > 6.0) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            label->setFont(font);
        }
        label->adjustSize();
    }
}

void frmMain::Form_Unload()
{
    leaveBook();
    m_history.save();
    if (m_layout.pageOnly())
        mnuViewFullScreen_Click();
    m_data.LastPage = qint16(m_state.currentPage());
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
    Form_Unload();
    event->accept();
}
