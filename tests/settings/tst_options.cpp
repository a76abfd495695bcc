// The Options dialog through its real controls: loading, storing, the lines-per-page loop and
// the keys it answers.
#include "reader/Twips.h"
#include "settings/GlobalData.h"
#include "settings/LinesPerPageRule.h"
#include "settings/frmOptions.h"
#include "support/ScriptedPrompts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kTooSmall =
    QStringLiteral("Warning: line per page can't be smaller than 1, please enter another number");
const QString kTooLarge = QStringLiteral(
    "Warning: line per page can't be larger than 32767, please enter another number");

} // namespace

class tst_options : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void ruleReadsLinesPerPage_data();
    void ruleReadsLinesPerPage();

    void opensCentredWithPlaceholdersAway();
    void loadShowsFlags_data();
    void loadShowsFlags();
    void uncheckedBookKeepsJumpChecked();
    void greyedBoxCountsAsSet();
    void labelsDoNotToggle();

    void storeAsksUntilUsable_data();
    void storeAsksUntilUsable();
    void okInsideModalLoopStores();
    void applyThenCancelKeepsApplied();
    void defaultThenCancelChangesNothing();

    void enterDoesNotClose_data();
    void enterDoesNotClose();
    void escapeAndCloseBoxCancel_data();
    void escapeAndCloseBoxCancel();
    void ctrlTabKeepsSingleTab();

private:
    void open();
    template<typename T> T *control(const char *name) const
    {
        T *widget = m_dialog->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    void click(const char *button) const
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    ScriptedPrompts m_prompts;
    GlobalData m_data;
    std::unique_ptr<frmOptions> m_dialog;
};

void tst_options::init()
{
    m_prompts.reset();
    // A script that runs dry would keep the warning loop going for ever; end it with a value
    // the test will not expect.
    m_prompts.duringMessage = [this] {
        if (m_prompts.messages().size() > 10)
            m_prompts.inputs.enqueue(QStringLiteral("999"));
    };
    m_data = GlobalData::defaults();
}

void tst_options::cleanup()
{
    m_dialog.reset();
}

void tst_options::open()
{
    m_dialog = std::make_unique<frmOptions>(m_prompts, m_data, nullptr);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void tst_options::ruleReadsLinesPerPage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<int>("value");

    const int ok = int(LinesPerPageRule::Verdict::Ok);
    const int small = int(LinesPerPageRule::Verdict::TooSmall);
    const int large = int(LinesPerPageRule::Verdict::TooLarge);
    QTest::newRow("one") << "1"
                         << "C" << ok << 1;
    QTest::newRow("just below one") << "0.99"
                                    << "C" << small << 0;
    QTest::newRow("zero") << "0"
                          << "C" << small << 0;
    QTest::newRow("negative") << "-4"
                              << "C" << small << 0;
    QTest::newRow("fraction rounds down") << "2.9"
                                          << "C" << ok << 2;
    QTest::newRow("blanks around") << "  12 "
                                   << "C" << ok << 12;
    QTest::newRow("empty") << ""
                           << "C" << small << 0;
    QTest::newRow("blanks only") << "   "
                                 << "C" << small << 0;
    QTest::newRow("not a number") << "ten"
                                  << "C" << small << 0;
    QTest::newRow("number then text") << "12 lines"
                                      << "C" << small << 0;
    QTest::newRow("not a number value") << "nan"
                                        << "C" << small << 0;
    QTest::newRow("largest") << "32767.9"
                             << "C" << ok << 32767;
    QTest::newRow("one past largest") << "32768"
                                      << "C" << large << 0;
    QTest::newRow("far too many") << "40000"
                                  << "C" << large << 0;
    QTest::newRow("exponent") << "1e9"
                              << "C" << large << 0;
    QTest::newRow("local decimal comma") << "2,9"
                                         << "de_DE" << ok << 2;
    QTest::newRow("C decimal point anywhere") << "3.5"
                                              << "de_DE" << ok << 3;
}

void tst_options::ruleReadsLinesPerPage()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(int, verdict);
    QFETCH(int, value);

    const LinesPerPageRule::Result result = LinesPerPageRule::check(text, QLocale(locale));
    QCOMPARE(int(result.verdict), verdict);
    if (result.verdict == LinesPerPageRule::Verdict::Ok)
        QCOMPARE(int(result.value), value);
}

void tst_options::opensCentredWithPlaceholdersAway()
{
    open();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Options"));
    QCOMPARE(m_dialog->size(),
             QSize(Twips::toPixels(6255, m_dialog.get()), Twips::toPixels(4365, m_dialog.get())));
    const QRect screen = m_dialog->screen()->geometry();
    QVERIFY(qAbs(m_dialog->frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(m_dialog->frameGeometry().center().y() - screen.center().y()) <= 1);

    for (int index = 1; index <= 3; ++index) {
        const QByteArray name = "picOptions" + QByteArray::number(index);
        const QWidget *panel = control<QWidget>(name.constData());
        QVERIFY(panel->geometry().right() < 0);
        QVERIFY(!panel->isEnabled());
    }
    QCOMPARE(control<QTabBar>("tbsOptions")->count(), 1);
    QCOMPARE(control<QTabBar>("tbsOptions")->tabData(0).toString(), QStringLiteral("Group1"));
}

void tst_options::loadShowsFlags_data()
{
    QTest::addColumn<VBool>("loadLastBook");
    QTest::addColumn<VBool>("jumpToLastPage");
    QTest::addColumn<bool>("check1");
    QTest::addColumn<bool>("check2");
    QTest::addColumn<bool>("check2Enabled");

    QTest::newRow("both") << VTrue << VTrue << true << true << true;
    QTest::newRow("book only") << VTrue << VFalse << true << false << true;
    QTest::newRow("jump without book is hidden") << VFalse << VTrue << false << false << false;
    QTest::newRow("neither") << VFalse << VFalse << false << false << false;
}

void tst_options::loadShowsFlags()
{
    QFETCH(VBool, loadLastBook);
    QFETCH(VBool, jumpToLastPage);
    QFETCH(bool, check1);
    QFETCH(bool, check2);
    QFETCH(bool, check2Enabled);

    m_data.LoadLastBook = loadLastBook;
    m_data.JumpToLastPage = jumpToLastPage;
    m_data.LinesPerPage = 31;
    open();
    QCOMPARE(control<QCheckBox>("Check1")->isChecked(), check1);
    QCOMPARE(control<QCheckBox>("Check2")->isChecked(), check2);
    QCOMPARE(control<QCheckBox>("Check2")->isEnabled(), check2Enabled);
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("31"));

    // OK stores what the boxes show, not what the record held.
    click("cmdOK");
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_data.LoadLastBook, check1 ? VTrue : VFalse);
    QCOMPARE(m_data.JumpToLastPage, check2 ? VTrue : VFalse);
    QCOMPARE(m_data.LinesPerPage, qint16(31));
    QVERIFY(m_prompts.calls.isEmpty());
}

void tst_options::uncheckedBookKeepsJumpChecked()
{
    m_data.LoadLastBook = VTrue;
    m_data.JumpToLastPage = VTrue;
    open();
    auto *check1 = control<QCheckBox>("Check1");
    auto *check2 = control<QCheckBox>("Check2");
    QTest::mouseClick(check1, Qt::LeftButton);
    QVERIFY(!check1->isChecked());
    QVERIFY(!check2->isEnabled());
    QVERIFY(check2->isChecked());

    click("cmdOK");
    QCOMPARE(m_data.LoadLastBook, VFalse);
    QCOMPARE(m_data.JumpToLastPage, VTrue);
}

void tst_options::greyedBoxCountsAsSet()
{
    open();
    control<QCheckBox>("Check1")->setCheckState(Qt::PartiallyChecked);
    control<QCheckBox>("Check2")->setCheckState(Qt::PartiallyChecked);
    click("cmdApply");
    QCOMPARE(m_data.LoadLastBook, VTrue);
    QCOMPARE(m_data.JumpToLastPage, VTrue);
}

void tst_options::labelsDoNotToggle()
{
    open();
    QTest::mouseClick(control<QLabel>("Label1"), Qt::LeftButton);
    QTest::mouseClick(control<QLabel>("Label2"), Qt::LeftButton);
    QVERIFY(!control<QCheckBox>("Check1")->isChecked());
    QVERIFY(!control<QCheckBox>("Check2")->isChecked());
}

void tst_options::storeAsksUntilUsable_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<int>("stored");

    QTest::newRow("below one, then a fraction")
        << "0.99" << QStringList {QStringLiteral("2.9")} << QStringList {kTooSmall} << 2;
    QTest::newRow("blanks around") << " 12 " << QStringList() << QStringList() << 12;
    QTest::newRow("one is enough") << "1" << QStringList() << QStringList() << 1;
    QTest::newRow("text, then a cancelled box, then a number")
        << "many" << QStringList {QString(), QStringLiteral("7")}
        << QStringList {kTooSmall, kTooSmall} << 7;
    QTest::newRow("empty") << "" << QStringList {QStringLiteral("5")} << QStringList {kTooSmall}
                           << 5;
    QTest::newRow("too large is never wrapped")
        << "40000" << QStringList {QStringLiteral("-3"), QStringLiteral("300")}
        << QStringList {kTooLarge, kTooSmall} << 300;
}

void tst_options::storeAsksUntilUsable()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, warnings);
    QFETCH(int, stored);

    m_data.LoadLastBook = VTrue;
    open();
    // The flags are stored before the number is asked for.
    QTest::mouseClick(control<QCheckBox>("Check1"), Qt::LeftButton);
    control<QLineEdit>("Text1")->setText(typed);
    for (const QString &answer : answers)
        m_prompts.inputs.enqueue(answer);

    click("cmdOK");
    QCOMPARE(m_prompts.messages(), warnings);
    QCOMPARE(m_data.LinesPerPage, qint16(stored));
    QCOMPARE(m_data.LoadLastBook, VFalse);
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    for (const ScriptedPrompts::Call &call : std::as_const(m_prompts.calls)) {
        QVERIFY(call.title.isEmpty());
        QCOMPARE(call.buttons, Prompts::Buttons::Ok);
        QCOMPARE(call.icon, Prompts::Icon::None);
        if (call.kind == ScriptedPrompts::Call::Input)
            QCOMPARE(call.text, QStringLiteral("Please enter another number"));
    }
    QCOMPARE(m_prompts.calls.size(), 2 * warnings.size());
}

void tst_options::okInsideModalLoopStores()
{
    m_dialog = std::make_unique<frmOptions>(m_prompts, m_data, nullptr);
    auto *text = control<QLineEdit>("Text1");
    QTimer::singleShot(0, m_dialog.get(), [this, text] {
        text->setText(QStringLiteral("0"));
        m_prompts.inputs.enqueue(QStringLiteral("40"));
        click("cmdOK");
    });
    QCOMPARE(m_dialog->exec(), int(QDialog::Accepted));
    QCOMPARE(m_data.LinesPerPage, qint16(40));
    QCOMPARE(m_prompts.messages(), QStringList {kTooSmall});
}

void tst_options::applyThenCancelKeepsApplied()
{
    open();
    control<QLineEdit>("Text1")->setText(QStringLiteral("44"));
    click("cmdApply");
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_data.LinesPerPage, qint16(44));

    control<QLineEdit>("Text1")->setText(QStringLiteral("50"));
    click("cmdCancel");
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QCOMPARE(m_data.LinesPerPage, qint16(44));
}

void tst_options::defaultThenCancelChangesNothing()
{
    m_data.LoadLastBook = VTrue;
    m_data.JumpToLastPage = VTrue;
    const GlobalData before = m_data;
    open();
    click("CmdDefault");
    QVERIFY(!control<QCheckBox>("Check1")->isChecked());
    QVERIFY(!control<QCheckBox>("Check2")->isChecked());
    QVERIFY(!control<QCheckBox>("Check2")->isEnabled());
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("23"));
    QVERIFY(m_data == before);

    click("cmdCancel");
    QVERIFY(m_data == before);
}

void tst_options::enterDoesNotClose_data()
{
    QTest::addColumn<QByteArray>("focus");
    QTest::addColumn<int>("key");
    QTest::newRow("return in text") << QByteArray("Text1") << int(Qt::Key_Return);
    QTest::newRow("enter in text") << QByteArray("Text1") << int(Qt::Key_Enter);
    QTest::newRow("return on check box") << QByteArray("Check1") << int(Qt::Key_Return);
}

void tst_options::enterDoesNotClose()
{
    QFETCH(QByteArray, focus);
    QFETCH(int, key);

    open();
    control<QLineEdit>("Text1")->setText(QStringLiteral("66"));
    QWidget *target = control<QWidget>(focus.constData());
    target->setFocus();
    QSignalSpy finished(m_dialog.get(), &QDialog::finished);
    const QList<QPushButton *> buttons = m_dialog->findChildren<QPushButton *>();
    QList<std::shared_ptr<QSignalSpy>> pressed;
    for (QPushButton *button : buttons)
        pressed.append(std::make_shared<QSignalSpy>(button, &QPushButton::clicked));
    QTest::keyClick(target, Qt::Key(key));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(finished.count(), 0);
    // No button is the default, so Enter presses none of them.
    for (const auto &spy : std::as_const(pressed))
        QCOMPARE(spy->count(), 0);
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("66"));
    QCOMPARE(m_data.LinesPerPage, qint16(15));
}

void tst_options::escapeAndCloseBoxCancel_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("escape") << true;
    QTest::newRow("close box") << false;
}

void tst_options::escapeAndCloseBoxCancel()
{
    QFETCH(bool, escape);

    open();
    auto *text = control<QLineEdit>("Text1");
    text->setText(QStringLiteral("66"));
    QTest::mouseClick(control<QCheckBox>("Check1"), Qt::LeftButton);
    QSignalSpy cancelPressed(control<QPushButton>("cmdCancel"), &QPushButton::clicked);
    if (escape) {
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Escape);
        QCOMPARE(cancelPressed.count(), 1);
    } else {
        m_dialog->close();
    }
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QVERIFY(m_data == GlobalData::defaults());
}

void tst_options::ctrlTabKeepsSingleTab()
{
    open();
    auto *tabs = control<QTabBar>("tbsOptions");
    auto *text = control<QLineEdit>("Text1");
    text->setFocus();
    QSignalSpy changed(tabs, &QTabBar::currentChanged);
    QTest::keyClick(text, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_dialog->focusWidget(), text);
    QVERIFY(control<QGroupBox>("Frame1")->isVisible());
    QVERIFY(control<QWidget>("picOptions1")->geometry().right() < 0);
    QVERIFY(m_dialog->isVisible());
}

QTEST_MAIN(tst_options)
#include "tst_options.moc"
