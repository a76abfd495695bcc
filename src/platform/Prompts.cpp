#include "platform/Prompts.h"

#include "app/AppInfo.h"
#include "platform/FontDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Gives the keyboard back to the window a dialog was shown over once the dialog has closed: a
// desktop without a window manager, or one slow to act, would leave no window active, and the
// window's shortcuts then do nothing while its controls still take typed keys.
class ActiveAgain
{
public:
    explicit ActiveAgain(QWidget *parent) : m_window(parent ? parent->window() : nullptr) { }
    ~ActiveAgain()
    {
        if (m_window && m_window->isVisible())
            m_window->activateWindow();
    }
    Q_DISABLE_COPY(ActiveAgain)

private:
    QPointer<QWidget> m_window;
};

QString captionOr(const QString &title)
{
    return title.isEmpty() ? AppInfo::title() : title;
}

} // namespace

Prompts::Answer QtPrompts::message(QWidget *parent, const Message &message)
{
    const ActiveAgain afterwards(parent);
    QMessageBox box(boxIcon(message.icon), captionOr(message.title), message.text,
                    QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    switch (message.buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return message.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

std::optional<QString> QtPrompts::askLine(QWidget *parent, const QString &prompt,
                                          const QString &title, const QString &initial)
{
    const ActiveAgain afterwards(parent);
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, captionOr(title), prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<int> QtPrompts::chooseItem(QWidget *parent, const QString &prompt,
                                         const QString &title, const QStringList &items)
{
    const ActiveAgain afterwards(parent);
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent, captionOr(title), prompt, items, 0, false, &ok);
    if (!ok || !items.contains(chosen))
        return std::nullopt;
    return int(items.indexOf(chosen));
}

QString QtPrompts::openFile(QWidget *parent, const QString &title, const QString &filter)
{
    const ActiveAgain afterwards(parent);
    return QFileDialog::getOpenFileName(parent, title, {}, filter);
}

std::optional<QColor> QtPrompts::color(QWidget *parent, const QColor &initial)
{
    const ActiveAgain afterwards(parent);
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QFont> QtPrompts::font(QWidget *parent, const QFont &initial, int minSize,
                                     int maxSize)
{
    const ActiveAgain afterwards(parent);
    FontDialog dialog(initial, minSize, maxSize, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

bool QtPrompts::printerSetup(QWidget *parent, QPrinter &printer, const QString &title)
{
    const ActiveAgain afterwards(parent);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}
