#pragma once

#include "book/TextCodec.h"

#include <QMenu>

#include <optional>

class QActionGroup;

// View > Encoding: "Automatic", then every encoding a book can be read in by its usual name,
// grouped by script; the one in force is checked. Re-reading the book is the reader's.
class EncodingMenu : public QMenu
{
    Q_OBJECT
    Q_DISABLE_COPY(EncodingMenu)

public:
    explicit EncodingMenu(QWidget *parent = nullptr);

    // nullopt: "Automatic".
    void setCurrent(std::optional<TextEncoding> encoding);

Q_SIGNALS:
    void chosen(std::optional<TextEncoding> encoding);

private:
    QActionGroup *m_group;
};
