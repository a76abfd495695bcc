#include "support/ScriptedPrompts.h"

Prompts::Answer ScriptedPrompts::message(QWidget *, const Message &message)
{
    calls.append({Call::Message, message.text, message.title, message.buttons, message.icon});
    if (duringMessage)
        duringMessage();
    if (!answers.isEmpty())
        return answers.dequeue();
    switch (message.buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    }
    return Answer::Ok;
}

std::optional<QString> ScriptedPrompts::askLine(QWidget *, const QString &prompt,
                                                const QString &title, const QString &)
{
    calls.append({Call::Input, prompt, title});
    return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
}

std::optional<int> ScriptedPrompts::chooseItem(QWidget *, const QString &prompt,
                                               const QString &title, const QStringList &items)
{
    calls.append({Call::Choice, prompt, title});
    offered = items;
    return choices.isEmpty() ? std::nullopt : choices.dequeue();
}

QString ScriptedPrompts::openFile(QWidget *, const QString &title, const QString &)
{
    calls.append({Call::OpenFile, title, {}});
    return files.isEmpty() ? QString() : files.dequeue();
}

std::optional<QColor> ScriptedPrompts::color(QWidget *, const QColor &)
{
    calls.append({Call::Color, {}, {}});
    return colors.isEmpty() ? std::nullopt : colors.dequeue();
}

std::optional<QFont> ScriptedPrompts::font(QWidget *, const QFont &, int, int)
{
    calls.append({Call::Font, {}, {}});
    return fonts.isEmpty() ? std::nullopt : fonts.dequeue();
}

bool ScriptedPrompts::printerSetup(QWidget *, QPrinter &printer, const QString &title)
{
    calls.append({Call::PrinterSetup, title, {}});
    if (duringPrinterSetup)
        duringPrinterSetup(printer);
    return printerAnswers.isEmpty() ? false : printerAnswers.dequeue();
}

void ScriptedPrompts::reset()
{
    *this = ScriptedPrompts();
}

QStringList ScriptedPrompts::messages() const
{
    QStringList texts;
    for (const Call &call : calls) {
        if (call.kind == Call::Message)
            texts.append(call.text);
    }
    return texts;
}
