#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// Every message box, input box and common dialog the windows show goes through this interface:
// the program gets QtPrompts, tests a scripted fake that records each call and returns queued
// answers. Captions default to the program's title.
class Prompts
{
public:
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Message
    {
        QString text;
        QString title; // empty: the program's title
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
    };

    virtual ~Prompts() = default;

    virtual Answer message(QWidget *parent, const Message &message) = 0;
    // The answer typed, or nullopt when the user cancels. The line starts with initial.
    virtual std::optional<QString> askLine(QWidget *parent, const QString &prompt,
                                           const QString &title, const QString &initial = {}) = 0;
    // One of items chosen from a list, or nullopt when the user cancels.
    virtual std::optional<int> chooseItem(QWidget *parent, const QString &prompt,
                                          const QString &title, const QStringList &items) = 0;
    // filter uses Qt's form ("Text Files (*.txt);;All Files (*)"). Empty when cancelled.
    virtual QString openFile(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual std::optional<QColor> color(QWidget *parent, const QColor &initial) = 0;
    virtual std::optional<QFont> font(QWidget *parent, const QFont &initial, int minSize,
                                      int maxSize) = 0;
    // Lets the user choose and set up printer; false when cancelled.
    virtual bool printerSetup(QWidget *parent, QPrinter &printer, const QString &title) = 0;

    // The answer typed, a cancel read as an empty answer.
    QString inputLine(QWidget *parent, const QString &prompt, const QString &title)
    {
        return askLine(parent, prompt, title).value_or(QString());
    }

    // The usual message: OK only, no icon, the program's title.
    void tell(QWidget *parent, const QString &text)
    {
        Message m;
        m.text = text;
        message(parent, m);
    }
};

// The real dialogs: QMessageBox, QInputDialog, QFileDialog, QColorDialog, QFontDialog and
// QPrintDialog. Message texts are plain text: a file name is shown as it is, never as markup.
class QtPrompts : public Prompts
{
public:
    Answer message(QWidget *parent, const Message &message) override;
    std::optional<QString> askLine(QWidget *parent, const QString &prompt, const QString &title,
                                   const QString &initial = {}) override;
    std::optional<int> chooseItem(QWidget *parent, const QString &prompt, const QString &title,
                                  const QStringList &items) override;
    QString openFile(QWidget *parent, const QString &title, const QString &filter) override;
    std::optional<QColor> color(QWidget *parent, const QColor &initial) override;
    std::optional<QFont> font(QWidget *parent, const QFont &initial, int minSize,
                              int maxSize) override;
    bool printerSetup(QWidget *parent, QPrinter &printer, const QString &title) override;
};
