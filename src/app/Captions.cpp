#include "app/Captions.h"

#include "app/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolBar>
#include <QVariant>

namespace {

QString tagOf(const QObject *object)
{
    return object->property("Tag").toString();
}

// lookup(strict(text)): the text of the id that text is, if any.
std::optional<QString> byStrictId(const StringTable &table, const QString &text)
{
    const std::optional<int> id = StringTable::strictNumber(text);
    return id ? table.lookup(*id) : std::nullopt;
}

// lookup(lenient(text)) for a positive leading number.
std::optional<QString> byLeadingId(const StringTable &table, const QString &text)
{
    const std::optional<int> id = StringTable::leadingNumber(text);
    return id && *id > 0 ? table.lookup(*id) : std::nullopt;
}

void setCaption(QWidget *control, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *frame = qobject_cast<QGroupBox *>(control))
        frame->setTitle(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (control->isWindow())
        control->setWindowTitle(text);
}

// A menu item is an action shown in a menu or a menu bar, or one that opens a menu; an action
// only on a toolbar is a button, whose caption is its own.
bool isMenuItem(const QAction *action)
{
    if (action->menu())
        return true;
    const QList<QObject *> shownIn = action->associatedObjects();
    for (const QObject *place : shownIn) {
        if (qobject_cast<const QMenu *>(place) || qobject_cast<const QMenuBar *>(place))
            return true;
    }
    return false;
}

void loadMenuItem(QAction *item, const StringTable &table)
{
    if (item->isSeparator())
        return;
    if (const auto text = byStrictId(table, item->text()))
        item->setText(*text);
}

// A tab's Tag is its tab data, or else its entry in the list property "tabTags" of the tab bar
// or of the tab widget that holds it.
QString tabTag(const QTabBar *tabs, int index)
{
    const QVariant data = tabs->tabData(index);
    if (data.isValid())
        return data.toString();
    QVariant tags = tabs->property("tabTags");
    if (!tags.isValid() && tabs->parentWidget())
        tags = tabs->parentWidget()->property("tabTags");
    const QStringList list = tags.toStringList();
    return index < list.size() ? list.at(index) : QString();
}

void loadTabs(QTabBar *tabs, const StringTable &table)
{
    for (int i = 0; i < tabs->count(); ++i) {
        if (const auto text = byStrictId(table, tabTag(tabs, i)))
            tabs->setTabText(i, *text);
        if (const auto tip = byStrictId(table, tabs->tabToolTip(i)))
            tabs->setTabToolTip(i, *tip);
    }
}

void loadToolBar(QToolBar *toolBar, const StringTable &table)
{
    const QList<QAction *> buttons = toolBar->actions();
    for (QAction *button : buttons) {
        if (const auto tip = byStrictId(table, button->toolTip()))
            button->setToolTip(*tip);
    }
}

void loadOther(QWidget *control, const StringTable &table)
{
    if (const auto text = byLeadingId(table, tagOf(control)))
        setCaption(control, *text);
    if (const auto tip = byLeadingId(table, control->toolTip()))
        control->setToolTip(*tip);
}

} // namespace

void LoadResourceCaptions(QWidget *window)
{
    LoadResourceCaptions(window, StringTable::builtIn());
}

void LoadResourceCaptions(QWidget *window, const StringTable &table)
{
    if (const auto caption = byStrictId(table, tagOf(window)))
        window->setWindowTitle(*caption);

    // The ids 20 and 21 (a font name and size for the window) are not in the table, so the
    // window's font stays as designed; every control takes it.
    const QList<QObject *> controls = window->findChildren<QObject *>();
    for (QObject *object : controls) {
        if (auto *item = qobject_cast<QAction *>(object)) {
            if (isMenuItem(item))
                loadMenuItem(item, table);
            continue;
        }
        auto *control = qobject_cast<QWidget *>(object);
        if (!control || (control->isWindow() && !qobject_cast<QMenu *>(control)))
            continue;
        if (auto *menu = qobject_cast<QMenu *>(control)) {
            loadMenuItem(menu->menuAction(), table);
            continue;
        }
        control->setFont(window->font());
        if (auto *label = qobject_cast<QLabel *>(control)) {
            if (const auto text = byStrictId(table, tagOf(label)))
                label->setText(*text);
        } else if (auto *tabs = qobject_cast<QTabBar *>(control)) {
            loadTabs(tabs, table);
        } else if (auto *toolBar = qobject_cast<QToolBar *>(control)) {
            loadToolBar(toolBar, table);
        } else {
            loadOther(control, table);
        }
    }
}
