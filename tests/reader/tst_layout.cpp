// The reader window's layout on resize and its View toggles, through the real window.
#include "reader/TextArea.h"
#include "reader/Twips.h"
#include "reader/frmMain.h"
#include "support/ReaderFixture.h"

#include <QAction>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QTest>

#include <QToolButton>
#include <utility>

namespace {

// The controls the layout places, the file panel's own ones last (those are relative to it).
const QStringList kWindowControls = {u"tbToolBar"_qs,  u"sbStatusBar"_qs, u"frmFile"_qs,
                                     u"Label2"_qs,     u"PageTotal"_qs,   u"lblTitle"_qs,
                                     u"Label1"_qs,     u"PageNumber"_qs,  u"TextArea"_qs,
                                     u"CommandPre"_qs, u"CommandNext"_qs};
const QStringList kPanelControls = {u"cmdCloseFile"_qs, u"Drive1"_qs, u"Dir1"_qs, u"File1"_qs,
                                    u"cmdFavorit"_qs};

using Geometries = QHash<QString, QRect>;

} // namespace

class tst_layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstShowing_data();
    void firstShowing();
    void widening_data();
    void widening();
    void minimizeAndRestore();
    void filePanelToggles_data();
    void filePanelToggles();
    void barToggles_data();
    void barToggles();
    void smallestWindow();
    void headerLabelsClearTheirBoxes();
    void belowTheMinimumAndBack();

private:
    QWidget *control(const QString &name) const;
    QWidget *client() const { return control(u"frmMainClient"_qs); }
    Geometries geometries() const;
    int px(double twips) const { return Twips::toPixels(twips, m_fx.window()); }
    double clientHeightTwips() const
    {
        return Twips::fromPixels(client()->height(), m_fx.window());
    }
    // Resizes the window's client area to width × height pixels and waits for the layout.
    void resizeClient(int width, int height);
    static void compareNear(const QRect &actual, const QRect &expected, const char *what);

    ReaderFixture m_fx;
};

void tst_layout::init()
{
    m_fx.init();
    m_fx.start();
}

void tst_layout::cleanup()
{
    m_fx.close();
}

QWidget *tst_layout::control(const QString &name) const
{
    auto *widget = m_fx.find<QWidget>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

Geometries tst_layout::geometries() const
{
    Geometries all;
    for (const QStringList *names : {&kWindowControls, &kPanelControls}) {
        for (const QString &name : *names)
            all.insert(name, control(name)->geometry());
    }
    return all;
}

void tst_layout::resizeClient(int width, int height)
{
    frmMain *window = m_fx.window();
    const QSize frame = window->size() - client()->size();
    window->resize(QSize(width, height) + frame);
    QTRY_COMPARE(window->size(),
                 (QSize(width, height) + frame)
                     .expandedTo(window->minimumSizeHint())
                     .expandedTo(window->minimumSize()));
}

// Twips become whole pixels by rounding, so a pixel either way is the same geometry.
void tst_layout::compareNear(const QRect &actual, const QRect &expected, const char *what)
{
    const auto near = [](int a, int b) {
        return qAbs(a - b) <= 1;
    };
    if (near(actual.x(), expected.x()) && near(actual.y(), expected.y())
        && near(actual.width(), expected.width()) && near(actual.height(), expected.height()))
        return;
    QTest::qFail(qPrintable(QStringLiteral("%1: (%2, %3, %4 x %5), expected (%6, %7, %8 x %9)")
                                .arg(QLatin1String(what))
                                .arg(actual.x())
                                .arg(actual.y())
                                .arg(actual.width())
                                .arg(actual.height())
                                .arg(expected.x())
                                .arg(expected.y())
                                .arg(expected.width())
                                .arg(expected.height())),
                 __FILE__, __LINE__);
}

// Geometry in twips; a height below 0 stands for "client height minus that"; the file list and
// the favourite button follow from the client height as the resize rule computes them.
void tst_layout::firstShowing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("twips");
    QTest::addColumn<bool>("visible");

    QTest::newRow("tbToolBar") << u"tbToolBar"_qs << QRectF(0, 0, 10005, 420) << true;
    QTest::newRow("sbStatusBar") << u"sbStatusBar"_qs << QRectF(0, 8100, 10005, 270) << true;
    QTest::newRow("frmFile") << u"frmFile"_qs << QRectF(120, 600, 2055, -1200) << true;
    QTest::newRow("cmdCloseFile") << u"cmdCloseFile"_qs << QRectF(1800, 0, 255, 255) << true;
    QTest::newRow("Drive1") << u"Drive1"_qs << QRectF(240, 360, 1695, 315) << true;
    QTest::newRow("Dir1") << u"Dir1"_qs << QRectF(120, 840, 1815, 2340) << true;
    QTest::newRow("File1") << u"File1"_qs << QRectF(120, 3240, 1815, 0) << true;
    QTest::newRow("cmdFavorit") << u"cmdFavorit"_qs << QRectF(360, 0, 1335, 375) << true;
    QTest::newRow("PageTotal") << u"PageTotal"_qs << QRectF(3240, 480, 615, 288) << true;
    QTest::newRow("lblTitle") << u"lblTitle"_qs << QRectF(3960, 480, 4455, 375) << true;
    QTest::newRow("PageNumber") << u"PageNumber"_qs << QRectF(9120, 480, 732, 288) << true;
    QTest::newRow("TextArea") << u"TextArea"_qs << QRectF(2280, 840, 7695, -1500) << true;
    QTest::newRow("CommandPre") << u"CommandPre"_qs << QRectF(4440, 7560, 1092, 252) << false;
    QTest::newRow("CommandNext") << u"CommandNext"_qs << QRectF(5760, 7560, 1332, 252) << false;
}

void tst_layout::firstShowing()
{
    QFETCH(QString, name);
    QFETCH(QRectF, twips);
    QFETCH(bool, visible);

    // The window opens at its design client area.
    compareNear(QRect(QPoint(), client()->size()), QRect(0, 0, px(10005), px(8370)), "client");
    const double height = clientHeightTwips();
    const double fileList = height / 2 - 1000;
    if (name == u"File1")
        twips.setHeight(fileList);
    else if (name == u"cmdFavorit")
        twips.moveTop(6600 + fileList - 3210);
    else if (twips.height() < 0)
        twips.setHeight(height + twips.height());

    QWidget *widget = control(name);
    compareNear(widget->geometry(),
                QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())),
                qPrintable(name));
    QCOMPARE(widget->isVisibleTo(m_fx.window()), visible);
}

// Each row names a control and how its left edge and width move per pixel of widening.
void tst_layout::widening_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("leftMoves");
    QTest::addColumn<double>("widthGrows");

    QTest::newRow("TextArea grows") << u"TextArea"_qs << 0.0 << 1.0;
    QTest::newRow("Label1 moves") << u"Label1"_qs << 1.0 << 0.0;
    QTest::newRow("PageNumber moves") << u"PageNumber"_qs << 1.0 << 0.0;
    QTest::newRow("lblTitle moves half") << u"lblTitle"_qs << 0.5 << 0.0;
    QTest::newRow("toolbar follows") << u"tbToolBar"_qs << 0.0 << 1.0;
    QTest::newRow("status bar follows") << u"sbStatusBar"_qs << 0.0 << 1.0;
    for (const QString &still :
         {u"frmFile"_qs, u"Label2"_qs, u"PageTotal"_qs, u"CommandPre"_qs, u"CommandNext"_qs,
          u"Drive1"_qs, u"Dir1"_qs, u"File1"_qs, u"cmdFavorit"_qs, u"cmdCloseFile"_qs})
        QTest::newRow(qPrintable(still + u" stays"_qs)) << still << 0.0 << 0.0;
}

void tst_layout::widening()
{
    QFETCH(QString, name);
    QFETCH(double, leftMoves);
    QFETCH(double, widthGrows);

    const QRect before = control(name)->geometry();
    const int wider = px(1000);
    resizeClient(client()->width() + wider, client()->height());

    const QRect after = control(name)->geometry();
    compareNear(after,
                QRect(before.x() + qRound(wider * leftMoves), before.y(),
                      before.width() + qRound(wider * widthGrows), before.height()),
                qPrintable(name));

    // Narrowing back gives the first layout again.
    resizeClient(client()->width() - wider, client()->height());
    compareNear(control(name)->geometry(), before, qPrintable(name));
}

// Offscreen, a minimized window keeps its size; a desktop that shrinks it while minimized is
// played by resizing the minimized window, then restoring it at its former size.
void tst_layout::minimizeAndRestore()
{
    frmMain *window = m_fx.window();
    resizeClient(client()->width() + px(600), client()->height() + px(300));
    const Geometries before = geometries();
    const QSize size = client()->size();

    window->setWindowState(Qt::WindowMinimized);
    QVERIFY(window->isMinimized());
    QCOMPARE(geometries(), before);
    resizeClient(client()->minimumWidth(), client()->minimumHeight());
    QVERIFY(client()->width() < size.width());
    QCOMPARE(geometries(), before);

    window->setWindowState(Qt::WindowNoState);
    QVERIFY(!window->isMinimized());
    resizeClient(size.width(), size.height());
    const Geometries after = geometries();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));

    // The layout goes on from there: widening still moves the page number by the widening.
    const int pageNumberLeft = control(u"PageNumber"_qs)->x();
    resizeClient(size.width() + px(300), size.height());
    compareNear(control(u"PageNumber"_qs)->geometry(),
                before.value(u"PageNumber"_qs).translated(px(300), 0), "PageNumber");
    QVERIFY(control(u"PageNumber"_qs)->x() > pageNumberLeft);
}

// Each row hides the panel one way and shows it again another way.
void tst_layout::filePanelToggles_data()
{
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("close button, then View > File System") << true;
    QTest::newRow("View > File System twice") << false;
}

void tst_layout::filePanelToggles()
{
    QFETCH(bool, byCloseButton);
    QWidget *panel = control(u"frmFile"_qs);
    QWidget *view = control(u"TextArea"_qs);
    QAction *item = m_fx.action(u"mnuViewFileSystem"_qs);
    const QRect shown = view->geometry();
    Geometries others = geometries();
    others.remove(u"TextArea"_qs);
    QVERIFY(item->isChecked());

    if (byCloseButton)
        QTest::mouseClick(m_fx.find<QToolButton>(u"cmdCloseFile"_qs), Qt::LeftButton);
    else
        item->trigger();
    QVERIFY(!panel->isVisible());
    QVERIFY(!item->isChecked());
    // Left 2100 to the left and 2000 wider: the right edge moves 100 to the left.
    compareNear(view->geometry(),
                QRect(shown.x() - px(2100), shown.y(), shown.width() + px(2000), shown.height()),
                "hidden");
    QVERIFY(qAbs(view->geometry().right() - (shown.right() - px(100))) <= 1);

    // The page view keeps its place through a resize while the panel is hidden.
    const QRect hidden = view->geometry();
    resizeClient(client()->width(), client()->height() + px(300));
    compareNear(view->geometry(), hidden.adjusted(0, 0, 0, px(300)), "hidden, taller");
    resizeClient(client()->width(), client()->height() - px(300));

    item->trigger();
    QVERIFY(panel->isVisible());
    QVERIFY(item->isChecked());
    QCOMPARE(view->geometry(), shown);
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        QVERIFY2(control(it.key())->geometry() == it.value(), qPrintable(it.key()));
}

void tst_layout::barToggles_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("bar");
    QTest::newRow("View > Toolbar") << u"mnuViewToolbar"_qs << u"tbToolBar"_qs;
    QTest::newRow("View > Status Bar") << u"mnuViewStatusBar"_qs << u"sbStatusBar"_qs;
}

void tst_layout::barToggles()
{
    QFETCH(QString, item);
    QFETCH(QString, bar);
    QAction *toggle = m_fx.action(item);
    QWidget *widget = control(bar);
    const Geometries before = geometries();
    QVERIFY(toggle->isChecked());
    QVERIFY(widget->isVisible());

    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    QVERIFY(!widget->isVisible());
    // Nothing else moves: the page view keeps its top at 840, an empty band is left.
    QCOMPARE(geometries(), before);
    const QRect view = control(u"TextArea"_qs)->geometry();
    QVERIFY(qAbs(view.x() - px(2280)) <= 1 && qAbs(view.y() - px(840)) <= 1);

    toggle->trigger();
    QVERIFY(toggle->isChecked());
    QVERIFY(widget->isVisible());
    QCOMPARE(geometries(), before);
}

// The window does not go below the size at which every control still shows whole: inside the
// client area (the panel's controls inside the panel), not overlapping the header's others.
// The auto-sized labels "Total Pages:" and "Page:" are sized by their text in whatever font the
// desktop has; they must end before the boxes they name, also after the window was widened.
void tst_layout::headerLabelsClearTheirBoxes()
{
    const auto check = [this] {
        for (const auto &[label, box] : {std::pair {u"Label2"_qs, u"PageTotal"_qs},
                                         std::pair {u"Label1"_qs, u"PageNumber"_qs}}) {
            const QRect text = control(label)->geometry();
            QVERIFY2(text.right() < control(box)->x(), qPrintable(label));
            QVERIFY2(text.width() >= control(label)->sizeHint().width(), qPrintable(label));
        }
    };
    check();
    resizeClient(client()->width() + px(1000), client()->height());
    check();
}

void tst_layout::smallestWindow()
{
    frmMain *window = m_fx.window();
    window->resize(1, 1);
    QTRY_VERIFY(client()->width() <= px(10005) - 10);
    QCOMPARE(client()->size(), client()->minimumSize());
    QVERIFY(client()->width() > 0 && client()->height() > 0);

    const QRect area(QPoint(), client()->size());
    for (const QString &name : kWindowControls) {
        QWidget *widget = control(name);
        if (!widget->isVisibleTo(window))
            continue;
        QVERIFY2(widget->width() > 0 && widget->height() > 0, qPrintable(name));
        QVERIFY2(area.contains(widget->geometry()), qPrintable(name));
    }
    const QRect panel(QPoint(), control(u"frmFile"_qs)->size());
    for (const QString &name : kPanelControls) {
        QWidget *widget = control(name);
        QVERIFY2(widget->isVisibleTo(window), qPrintable(name));
        QVERIFY2(widget->width() > 0 && widget->height() > 0, qPrintable(name));
        QVERIFY2(panel.contains(widget->geometry()), qPrintable(name));
    }
    QVERIFY(control(u"File1"_qs)->geometry().bottom() < control(u"cmdFavorit"_qs)->y());
    QVERIFY(control(u"TextArea"_qs)->geometry().bottom() < control(u"sbStatusBar"_qs)->y());
    QVERIFY(control(u"frmFile"_qs)->geometry().bottom() < control(u"sbStatusBar"_qs)->y());

    // The header row: the title moves by half of what the page number moves, so it is the
    // first to run into its neighbours.
    const QStringList header = {u"PageTotal"_qs, u"lblTitle"_qs, u"Label1"_qs};
    for (int i = 0; i + 1 < header.size(); ++i) {
        const QRect left = control(header[i])->geometry();
        const QRect right = control(header[i + 1])->geometry();
        QVERIFY2(left.right() < right.left(), qPrintable(header[i] + u" / "_qs + header[i + 1]));
    }
}

// A desktop may still force the window below its minimum; the layout clamps what would go
// negative and comes back whole.
void tst_layout::belowTheMinimumAndBack()
{
    const Geometries first = geometries();
    const QSize size = client()->size();
    client()->setMinimumSize(0, 0);
    m_fx.window()->layout()->setSizeConstraint(QLayout::SetNoConstraint);
    m_fx.window()->setMinimumSize(0, 0);
    resizeClient(px(1500), px(1000));
    QVERIFY(client()->width() < px(2500));
    for (auto it = first.cbegin(); it != first.cend(); ++it) {
        const QRect now = control(it.key())->geometry();
        QVERIFY2(now.width() >= 0 && now.height() >= 0, qPrintable(it.key()));
    }
    QCOMPARE(control(u"File1"_qs)->height(), 0);
    QCOMPARE(control(u"TextArea"_qs)->width(), 0);
    QCOMPARE(control(u"TextArea"_qs)->height(), 0);

    resizeClient(size.width(), size.height());
    for (auto it = first.cbegin(); it != first.cend(); ++it)
        compareNear(control(it.key())->geometry(), it.value(), qPrintable(it.key()));
}

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
