#include "platform/Prompts.h"

#include "app/AppInfo.h"
#include "platform/FontDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QInputDialog>
#include <QMessageBox>
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

QString captionOr(const QString &title)
{
    return title.isEmpty() ? AppInfo::title() : title;
}

} // namespace

Prompts::Answer QtPrompts::message(QWidget *parent, const Message &message)
{
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
                                          const QString &title)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, captionOr(title), prompt, QLineEdit::Normal, {}, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString QtPrompts::openFile(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, {}, filter);
}

std::optional<QColor> QtPrompts::color(QWidget *parent, const QColor &initial)
{
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QFont> QtPrompts::font(QWidget *parent, const QFont &initial, int minSize,
                                     int maxSize)
{
    FontDialog dialog(initial, minSize, maxSize, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

bool QtPrompts::printerSetup(QWidget *parent, QPrinter &printer, const QString &title)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}
