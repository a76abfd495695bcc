#pragma once

#include <QList>
#include <QString>

// What a tool's checks have to say, in the order they said it: a text for the status bar, or a
// message box with an OK button, no icon and the program's title.
struct ToolNotice
{
    enum class Kind { Status, Message };
    Kind kind = Kind::Status;
    QString text;
};
using ToolNotices = QList<ToolNotice>;

// The window's side of a tool run: the progress bar, the status text, and a moment now and then
// for the window's own events. The run decides what to show and when; the window only shows.
class ToolProgress
{
public:
    virtual ~ToolProgress() = default;

    // The progress bar goes from 0 to maximum.
    virtual void setRange(int maximum) = 0;
    virtual void setValue(int value) = 0;
    virtual void setStatus(const QString &text) = 0;
    // Lets pending events run (painting, the Stop button); true when the run must stop.
    virtual bool yield() = 0;
};
