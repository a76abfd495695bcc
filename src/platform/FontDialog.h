#pragma once

#include <QFontDialog>

// The font dialog with a range of sizes: its size list offers only sizes from minSize to maxSize,
// its size box takes no others, and OK with a size outside them is refused in the dialog, which
// stays open and says which sizes it takes.
class FontDialog : public QFontDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(FontDialog)

public:
    FontDialog(const QFont &initial, int minSize, int maxSize, QWidget *parent = nullptr);

    void done(int result) override;

private:
    void keepSizesInRange();

    int m_min;
    int m_max;
    bool m_filtering = false;
};
