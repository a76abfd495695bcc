// The reader window's controls, menu tree and toolbar, and the rule by which it lays them out.
#include "reader/frmMain.h"

#include "app/AppInfo.h"
#include "platform/OleColor.h"
#include "reader/ContentsPanel.h"
#include "reader/ContentsWorker.h"
#include "reader/EncodingMenu.h"
#include "reader/FilePanel.h"
#include "reader/KeptPanelStyle.h"
#include "reader/LabelSlot.h"
#include "reader/PageFitter.h"
#include "reader/RecentBooksMenu.h"
#include "reader/TextArea.h"
#include "reader/ToolbarIcons.h"
#include "reader/Twips.h"
#include "settings/ColorScheme.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

namespace {

// The design client area; the window opens at this size.
constexpr double kDesignWidth = 10005;
constexpr double kDesignHeight = 8370;
// The smallest client area at which the resize rule still shows every control: the title moves
// by half of what the window narrows, so it runs over the page count box below this width; the
// favourite button moves up by half of what the panel loses, so it leaves the panel below this
// height.
constexpr double kMinWidth = 9795;
constexpr double kMinHeight = 7950;

// A control with the name by which it is found.
template<typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

void setBlueText(QLabel *label)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(p);
}

} // namespace

void frmMain::buildControls()
{
    m_client = named(new QWidget(this), "frmMainClient");
    m_client->setAutoFillBackground(true);
    QPalette background = m_client->palette();
    background.setColor(QPalette::Window, OleColor::toQColor(OleColor::InfoBackground));
    m_client->setPalette(background);
    setCentralWidget(m_client);

    tbToolBar = named(new QToolBar(m_client), "tbToolBar");
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->setMovable(false);
    tbToolBar->setAutoFillBackground(true);
    ToolbarIcons::fill(tbToolBar);
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmMain::tbToolBar_ButtonClick);

    sbStatusBar = named(new QStatusBar(m_client), "sbStatusBar");
    sbStatusBar->setSizeGripEnabled(false);
    sbStatusBar->setAutoFillBackground(true);
    m_statusPanel = named(new QLabel(sbStatusBar), "sbStatusBarPanel1");
    m_statusPanel->setTextFormat(Qt::PlainText);
    m_statusPanel->setMinimumWidth(Twips::toPixels(1440, this));
    sbStatusBar->addWidget(m_statusPanel, 1);
    // Its text changes with every page shown, its width seldom.
    auto *share = named(new QLabel, "sbStatusBarPanel2");
    m_sharePanel = new LabelSlot(share, sbStatusBar);
    auto *chapter = named(new QLabel, "sbStatusBarPanel4");
    m_chapterPanel = new LabelSlot(chapter, sbStatusBar);
    sbStatusBar->addPermanentWidget(m_chapterPanel);
    m_encodingPanel = named(new QLabel(sbStatusBar), "sbStatusBarPanel3");
    sbStatusBar->addPermanentWidget(m_encodingPanel);
    sbStatusBar->addPermanentWidget(m_sharePanel);
    sbStatusBar->addPermanentWidget(m_encodingPanel);
    for (QLabel *panel : {chapter, share, m_encodingPanel})
        panel->setContentsMargins(6, 0, 6, 0);

    frmFile = new FilePanel(m_prompts, m_data, m_desktop.drives, m_client);
    frmContents = new ContentsPanel(m_client);
    frmContents->hide();
    m_contentsWorker = new ContentsWorker(this);

    Label2 = named(new QLabel(QStringLiteral("Total Pages:"), m_client), "Label2");
    setBlueText(Label2);
    PageTotal = named(new QLineEdit(m_client), "PageTotal");
    PageTotal->setReadOnly(true);
    lblTitle = named(new QLabel(QStringLiteral("Book Title"), m_client), "lblTitle");
    lblTitle->setTextFormat(Qt::PlainText);
    setBlueText(lblTitle);
    Label1 = named(new QLabel(QStringLiteral("Page:"), m_client), "Label1");
    setBlueText(Label1);
    PageNumber = named(new QLineEdit(m_client), "PageNumber");
    // Its number changes with every page shown, its frame never.
    auto *panelStyle = new KeptPanelStyle;
    panelStyle->setParent(PageNumber);
    PageNumber->setStyle(panelStyle);
    m_textArea = named(new TextArea(m_client), "TextArea");
    m_textArea->setContextMenuPolicy(Qt::NoContextMenu);
    CommandPre = named(new QPushButton(QStringLiteral("Previous"), m_client), "CommandPre");
    CommandPre->setToolTip(QStringLiteral("Go To Previous Page"));
    CommandPre->hide();
    CommandNext = named(new QPushButton(QStringLiteral("Next"), m_client), "CommandNext");
    CommandNext->setToolTip(QStringLiteral("Go To Next Page"));
    CommandNext->hide();

    m_layout.setControls({this, m_client, tbToolBar, sbStatusBar, frmFile, frmContents, lblTitle,
                          Label1, PageNumber, m_textArea, Label2, PageTotal});
    m_layout.place(tbToolBar, {0, 0, kDesignWidth, 420});
    m_layout.place(sbStatusBar, {0, 8100, kDesignWidth, 270});
    m_layout.place(frmFile, {120, 600, 2055, 7455});
    m_layout.place(Label2, {2280, 480, 900, 195});
    m_layout.place(PageTotal, {3240, 480, 615, 288});
    m_layout.place(lblTitle, {3960, 480, 4455, 375});
    m_layout.place(Label1, {8640, 480, 420, 195});
    m_layout.place(PageNumber, {9120, 480, 732, 288});
    m_layout.place(m_textArea, {2280, 840, 7695, 7215});
    m_layout.place(CommandPre, {4440, 7560, 1092, 252});
    m_layout.place(CommandNext, {5760, 7560, 1332, 252});
    // Auto-sized labels take the height their text needs.
    Label1->adjustSize();
    Label2->adjustSize();

    m_client->setMinimumSize(Twips::toPixels(kMinWidth, this), Twips::toPixels(kMinHeight, this));

    connect(PageNumber, &QLineEdit::textChanged, this, &frmMain::PageNumber_Change);
    connect(m_textArea, &TextArea::keyDown, this, &frmMain::TextArea_KeyDown);
    connect(m_textArea, &TextArea::mouseDown, this, &frmMain::TextArea_MouseDown);
    connect(m_textArea, &TextArea::wheelTurn, this, &frmMain::TextArea_WheelTurn);
    m_fitter = new PageFitter(*m_textArea, this);
    connect(m_fitter, &PageFitter::counted, this, &frmMain::fitCounted);
    connect(m_textArea, &TextArea::viewResized, this, &frmMain::refitIfChanged);
    connect(m_textArea, &QTextEdit::currentCharFormatChanged, this, &frmMain::refitIfChanged);
    connect(CommandPre, &QPushButton::clicked, this, &frmMain::CommandPre_Click);
    connect(CommandNext, &QPushButton::clicked, this, &frmMain::CommandNext_Click);
    connect(frmFile, &FilePanel::closeClicked, this, &frmMain::cmdCloseFile_Click);
    connect(frmFile, &FilePanel::fileClicked, this, &frmMain::File1_Click);
    connect(frmFile, &FilePanel::fileDoubleClicked, this, &frmMain::openFromFileList);
    connect(frmContents, &ContentsPanel::closeClicked, this, [this] { showPanel(nullptr); });
    connect(frmContents, &ContentsPanel::pageChosen, this, [this](int page) {
        showAnswer({{}, QString::number(page + 1), {}, {}});
    });
    connect(frmContents, &ContentsPanel::patternAsked, this, &frmMain::mnuViewChapterPattern_Click);
    connect(frmContents, &ContentsPanel::automaticAsked, this,
            &frmMain::mnuViewChapterAutomatic_Click);
    connect(m_contentsWorker, &ContentsWorker::found, this, &frmMain::showContents);
}

QAction *frmMain::addMenuItem(QMenu *menu, const char *name, const char *captionId,
                              void (frmMain::*handler)(), const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(QString::fromLatin1(captionId));
    connect(action, &QAction::triggered, this, handler);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    // Also the window's own, so that its shortcut works while the menu bar is hidden.
    addAction(action);
    return action;
}

QMenu *frmMain::addSubMenu(QMenu *parent, const char *name, const char *captionId)
{
    QMenu *menu = parent ? parent->addMenu(QString::fromLatin1(captionId))
                         : menuBar()->addMenu(QString::fromLatin1(captionId));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

// Captions are string ids, replaced by their texts when the window loads.
void frmMain::buildMenus()
{
    using F = frmMain;
    const auto ctrl = [](Qt::Key key) {
        return QKeySequence(Qt::CTRL | key);
    };
    QMenu *mnuFile = addSubMenu(nullptr, "mnuFile", "1000");
    addMenuItem(mnuFile, "mnuFileOpen", "1001", &F::mnuFileOpen_Click, ctrl(Qt::Key_O));
    addMenuItem(mnuFile, "mnuFileClose", "1002", &F::mnuFileClose_Click, ctrl(Qt::Key_D));
    mnuFileRecent = new RecentBooksMenu(mnuFile);
    mnuFile->addMenu(mnuFileRecent);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar0"));
    addMenuItem(mnuFile, "mnuFilePageSetup", "1003", &F::mnuFilePageSetup_Click);
    mnuFilePrint =
        addMenuItem(mnuFile, "mnuFilePrint", "1005", &F::mnuFilePrint_Click, ctrl(Qt::Key_P));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
    addMenuItem(mnuFile, "mnuFileExit", "1006", &F::mnuFileExit_Click, ctrl(Qt::Key_E));

    mnuEdit = addSubMenu(nullptr, "mnuEdit", "1007");
    addMenuItem(mnuEdit, "mnuFont", "1032", &F::mnuFont_Click);
    addMenuItem(mnuEdit, "mnuEditCopy", "1008", &F::mnuEditCopy_Click, ctrl(Qt::Key_C));

    QMenu *mnuView = addSubMenu(nullptr, "mnuView", "1009");
    mnuViewToolbar = addMenuItem(mnuView, "mnuViewToolbar", "1010", &F::mnuViewToolbar_Click);
    mnuViewStatusBar = addMenuItem(mnuView, "mnuViewStatusBar", "1011", &F::mnuViewStatusBar_Click);
    mnuViewFileSystem =
        addMenuItem(mnuView, "mnuViewFileSystem", "1033", &F::mnuViewFileSystem_Click);
    for (QAction *toggle : {mnuViewToolbar, mnuViewStatusBar, mnuViewFileSystem}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }
    mnuViewContents =
        addMenuItem(mnuView, "mnuViewContents", "&Contents", &F::mnuViewContents_Click,
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    mnuViewContents->setCheckable(true);
    addMenuItem(mnuView, "mnuViewOptions", "1012", &F::mnuViewOptions_Click);
    mnuViewEncoding = new EncodingMenu(mnuView);
    mnuView->addMenu(mnuViewEncoding);
    connect(mnuViewEncoding, &EncodingMenu::chosen, this, &frmMain::mnuViewEncoding_Click);
    mnuViewScheme = addSubMenu(mnuView, "mnuViewScheme", "Sc&heme");
    // One at most is ticked: none when the colours were chosen by the buttons.
    auto *schemes = new QActionGroup(mnuViewScheme);
    schemes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const ColorScheme &scheme : ColorScheme::all()) {
        QAction *item = mnuViewScheme->addAction(u'&' + scheme.name);
        item->setObjectName(QStringLiteral("mnuViewScheme") + scheme.name);
        item->setCheckable(true);
        schemes->addAction(item);
        connect(item, &QAction::triggered, this, [this, &scheme] { mnuViewScheme_Click(scheme); });
    }
    connect(mnuViewScheme, &QMenu::aboutToShow, this, &frmMain::showSchemeMenu);
    addMenuItem(mnuView, "mnuViewPageLayout", "Page &Layout...", &F::mnuViewPageLayout_Click);
    mnuViewFitPages =
        addMenuItem(mnuView, "mnuViewFitPages", "&Fit Pages to Window", &F::mnuViewFitPages_Click);
    mnuViewFitPages->setCheckable(true);
    mnuView->addSeparator();
    addMenuItem(mnuView, "mnuViewGoToPage", "&Go To Page", &F::mnuViewGoToPage_Click,
                ctrl(Qt::Key_G));
    mnuViewFullScreen = addMenuItem(mnuView, "mnuViewFullScreen", "F&ull Screen",
                                    &F::mnuViewFullScreen_Click, QKeySequence(Qt::Key_F11));
    mnuViewFullScreen->setCheckable(true);
    mnuView->addSeparator();
    mnuViewNextChapter = addMenuItem(mnuView, "mnuViewNextChapter", "&Next Chapter",
                                     &F::mnuViewNextChapter_Click, ctrl(Qt::Key_PageDown));
    mnuViewPreviousChapter = addMenuItem(mnuView, "mnuViewPreviousChapter", "&Previous Chapter",
                                         &F::mnuViewPreviousChapter_Click, ctrl(Qt::Key_PageUp));
    addMenuItem(mnuView, "mnuViewChapterPattern", "Chapter &Pattern...",
                &F::mnuViewChapterPattern_Click);
    addMenuItem(mnuView, "mnuViewChapterAutomatic", "&Automatic Chapters",
                &F::mnuViewChapterAutomatic_Click);
    // Esc leaves full screen only: while the window is normal the action is off.
    m_escape = named(new QAction(this), "mnuViewEscape");
    m_escape->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(m_escape);
    connect(m_escape, &QAction::triggered, this, &frmMain::mnuViewEscape_Click);

    mnuBookmarks = addSubMenu(nullptr, "mnuBookmarks", "&Bookmarks");
    addMenuItem(mnuBookmarks, "mnuBookmarksAdd", "&Add Bookmark", &F::mnuBookmarksAdd_Click,
                ctrl(Qt::Key_B));
    addMenuItem(mnuBookmarks, "mnuBookmarksEdit", "&Edit Bookmarks...", &F::mnuBookmarksEdit_Click);
    mnuBookmarks->addSeparator();
    connect(mnuBookmarks, &QMenu::aboutToShow, this, &frmMain::showBookmarksMenu);

    QMenu *mnuTools = addSubMenu(nullptr, "mnuTools", "1013");
    menuOpenWith = addMenuItem(mnuTools, "menuOpenWith", "1029", &F::menuOpenWith_Click);
    QAction *mnuToolsFind = addMenuItem(mnuTools, "mnuToolsFind", "1014", &F::mnuToolsFind_Click);
    mnuToolsFind->setShortcuts({ctrl(Qt::Key_S), QKeySequence::Find});
    QAction *mnuToolsFindNext =
        addMenuItem(mnuTools, "mnuToolsFindNext", "1030", &F::mnuToolsFindNext_Click);
    mnuToolsFindNext->setShortcuts({ctrl(Qt::Key_N), QKeySequence(Qt::Key_F3)});
    addMenuItem(mnuTools, "mnuToolsFindPrevious", "&Previous", &F::mnuToolsFindPrevious_Click,
                QKeySequence(Qt::SHIFT | Qt::Key_F3));
    addMenuItem(mnuTools, "mnuToolsFindAll", "Find &All...", &F::mnuToolsFindAll_Click,
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    addMenuItem(mnuTools, "mnuTextTools", "1031", &F::mnuTextTools_Click, ctrl(Qt::Key_T));

    // The page view's right-click menu: the Edit menu, and the chapter marks of the line under
    // the pointer.
    m_pagePopup = new QMenu(this);
    m_pagePopup->setObjectName(QStringLiteral("mnuPagePopup"));
    m_pagePopup->addActions(mnuEdit->actions());
    m_pagePopup->addSeparator();
    named(m_pagePopup->addAction(QStringLiteral("Mark as &Chapter"), this,
                                 &F::mnuPopupMarkChapter_Click),
          "mnuPopupMarkChapter");
    named(m_pagePopup->addAction(QStringLiteral("&Not a Chapter"), this,
                                 &F::mnuPopupNotChapter_Click),
          "mnuPopupNotChapter");

    QMenu *mnuHelp = addSubMenu(nullptr, "mnuHelp", "1015");
    addMenuItem(mnuHelp, "mnuHelpTopic", "1028", &F::mnuHelpTopic_Click, QKeySequence(Qt::Key_F1));
    addMenuItem(mnuHelp, "mnuHelpAbout", "1016", &F::mnuHelpAbout_Click);

    connect(mnuFileRecent, &RecentBooksMenu::bookChosen, this, &frmMain::openBook);
    connect(mnuFileRecent, &RecentBooksMenu::clearChosen, this, [this] {
        m_history.clearRecent();
        showRecentBooks();
        m_history.save();
    });
}

// The design size is the client area's; the menu bar comes on top of it.
void frmMain::openAtDesignSize()
{
    resize(Twips::toPixels(kDesignWidth, this),
           Twips::toPixels(kDesignHeight, this) + menuBar()->sizeHint().height());
}

void frmMain::Form_Resize()
{
    m_layout.resize();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmMain::mnuViewToolbar_Click()
{
    // The action has already toggled its own check mark.
    tbToolBar->setVisible(mnuViewToolbar->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    sbStatusBar->setVisible(mnuViewStatusBar->isChecked());
}

void frmMain::showPanel(QWidget *panel)
{
    m_layout.showPanel(panel);
    mnuViewFileSystem->setChecked(panel == frmFile);
    mnuViewContents->setChecked(panel == frmContents);
}

void frmMain::mnuViewFileSystem_Click()
{
    // The item's check mark is already inverted: checked now means the panel was hidden.
    showPanel(mnuViewFileSystem->isChecked() ? frmFile : nullptr);
}

void frmMain::cmdCloseFile_Click()
{
    showPanel(nullptr);
}
