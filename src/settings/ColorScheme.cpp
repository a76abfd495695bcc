#include "settings/ColorScheme.h"

const QList<ColorScheme> &ColorScheme::all()
{
    // Sepia is a warm brown on paper; Night's ground is not quite black and its text not quite
    // white, which glares less in a dark room than pure white on black.
    static const QList<ColorScheme> schemes {
        {QStringLiteral("Day"), 0x000000, 0xFFFFFF},
        {QStringLiteral("Sepia"), 0x36465B, 0xD8ECF4},
        {QStringLiteral("Night"), 0xDADADA, 0x161616},
    };
    return schemes;
}
