#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <optional>

// The user-interface texts the windows name by id. The table is a resource of lines
// "id<TAB>text"; a text keeps its blanks, "&" marks an access key.
class StringTable
{
public:
    static StringTable parse(QByteArrayView utf8);
    // The program's own table, compiled into it.
    static const StringTable &builtIn();

    std::optional<QString> lookup(int id) const;
    int size() const { return int(m_texts.size()); }

    // A text that is a number as a whole (blanks around it allowed), rounded half to even into
    // 16 bits; nullopt for anything else, an empty text included.
    static std::optional<int> strictNumber(const QString &text);
    // The number at the start of a text, rounded the same way; 0 when there is none.
    // nullopt only when that number does not fit 16 bits.
    static std::optional<int> leadingNumber(const QString &text);

private:
    QHash<int, QString> m_texts;
};
