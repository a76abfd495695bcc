#include "reader/ToolbarIcons.h"

#include <QAction>
#include <QToolBar>

namespace {

struct ToolButton
{
    const char *key; // nullptr: a separator
    const char *toolTip;
    const char *image;
};

// Tooltips that are numbers are string ids, replaced when the captions are loaded.
constexpr ToolButton kToolButtons[] = {
    {"Open", "1017", "Open"},
    {nullptr, nullptr, nullptr},
    {"Print", "1018", "Print"},
    {nullptr, nullptr, nullptr},
    {"Copy", "1019", "Copy"},
    {"Find", "1020", "Find"},
    {nullptr, nullptr, nullptr},
    {"Bold", "Bold", "Bold"},
    {"Italic", "Italic", "Italic"},
    {nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr},
    {"back", "Decrease Font Size", "back"},
    {"forward", "Increase Font Size", "forward"},
    {nullptr, nullptr, nullptr},
    {"Front", "Select Font Color", "Front"},
    {"Back", "Select BackGround Color", "Back1"},
    {"Properties", "Properties", "Properties"},
};

struct ImageKey
{
    const char *key;
    const char *themeName;
    const char *fallback;
};

constexpr ImageKey kImages[] = {
    {"Open", "document-open", "open"},
    {"Print", "document-print", "print"},
    {"Copy", "edit-copy", "copy"},
    {"Find", "edit-find", "find"},
    {"Bold", "format-text-bold", "bold"},
    {"Italic", "format-text-italic", "italic"},
    {"Center", "format-justify-center", "center"},
    {"Align Left", "format-justify-left", "align-left"},
    {"Align Right", "format-justify-right", "align-right"},
    {"Front", "format-text-color", "front"},
    {"Back1", "color-fill", "back1"},
    {"Properties", "document-properties", "properties"},
    {"back", "zoom-out", "smaller"},
    {"forward", "zoom-in", "larger"},
};

} // namespace

namespace ToolbarIcons {

QIcon icon(const QString &imageKey)
{
    for (const ImageKey &image : kImages) {
        if (imageKey == QLatin1String(image.key)) {
            const QIcon own(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(image.fallback)));
            return QIcon::fromTheme(QLatin1String(image.themeName), own);
        }
    }
    return {};
}

void fill(QToolBar *toolBar)
{
    for (const ToolButton &button : kToolButtons) {
        if (!button.key) {
            toolBar->addSeparator();
            continue;
        }
        QAction *action =
            toolBar->addAction(icon(QLatin1String(button.image)), QString::fromLatin1(button.key));
        action->setObjectName(QStringLiteral("tbToolBar_") + QLatin1String(button.key));
        action->setProperty("Key", QString::fromLatin1(button.key));
        action->setToolTip(QString::fromLatin1(button.toolTip));
    }
}

} // namespace ToolbarIcons
