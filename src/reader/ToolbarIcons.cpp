#include "reader/ToolbarIcons.h"

namespace {

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

} // namespace ToolbarIcons
