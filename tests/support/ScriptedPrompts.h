#pragma once

#include "platform/Prompts.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

// Prompts for tests: records every call and answers from queues. An empty queue answers as a
// user who presses OK, cancels an input or a dialog, or says No to a question.
class ScriptedPrompts : public Prompts
{
public:
    struct Call
    {
        enum Kind { Message, Input, Choice, OpenFile, Color, Font, PrinterSetup } kind = Message;
        QString text; // message text, input prompt, dialog title
        QString title; // caption as asked for (empty: the program's title)
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
    };

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

    void reset();

    // The texts of the message boxes shown, in order.
    QStringList messages() const;

    QList<Call> calls;
    QQueue<Answer> answers;
    QQueue<std::optional<QString>> inputs; // nullopt: the user cancels
    QQueue<std::optional<int>> choices; // nullopt: the user cancels
    QStringList offered; // the items of the last choice
    QQueue<QString> files;
    QQueue<std::optional<QColor>> colors;
    QQueue<std::optional<QFont>> fonts;
    QQueue<bool> printerAnswers;
    // Runs inside a message box, as the user's actions while it is open.
    std::function<void()> duringMessage;
    // Runs inside the printer dialog, as the user's choices in it.
    std::function<void(QPrinter &)> duringPrinterSetup;
};
