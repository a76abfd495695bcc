#include "app/StringTable.h"

#include <QFile>
#include <QLocale>

#include <cmath>

namespace {

std::optional<int> roundedTo16Bits(double value)
{
    const double rounded = std::nearbyint(value); // the default mode rounds half to even
    if (!std::isfinite(rounded) || rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return int(rounded);
}

} // namespace

StringTable StringTable::parse(QByteArrayView utf8)
{
    StringTable table;
    const QString text = QString::fromUtf8(utf8);
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (ok)
            table.m_texts.insert(id, line.mid(tab + 1));
    }
    return table;
}

const StringTable &StringTable::builtIn()
{
    static const StringTable table = [] {
        QFile file(QStringLiteral(":/strings/strings.txt"));
        return file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : StringTable();
    }();
    return table;
}

std::optional<QString> StringTable::lookup(int id) const
{
    const auto it = m_texts.constFind(id);
    if (it == m_texts.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<int> StringTable::strictNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return roundedTo16Bits(value);
}

std::optional<int> StringTable::leadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 0x80)
        ++i;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 0x80)
            ++i;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(text.mid(start, i - start), &ok);
    if (!ok)
        return 0;
    return roundedTo16Bits(value);
}
