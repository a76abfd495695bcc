#include "settings/RecordCodec.h"

#include <QFile>
#include <QtEndian>

namespace {

class Writer
{
public:
    void int16(qint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_bytes.append(b, 2);
    }
    void int32(qint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_bytes.append(b, 4);
    }
    void string(const QString &s)
    {
        QByteArray bytes = QFile::encodeName(s);
        bytes.truncate(0xFFFF);
        int16(qint16(quint16(bytes.size())));
        m_bytes.append(bytes);
    }
    void variant(const VariantValue &v)
    {
        int16(qint16(v.type));
        if (v.type == VariantValue::Long)
            int32(v.value);
        else if (v.type == VariantValue::Integer)
            int16(qint16(v.value));
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Each read either takes a whole field and returns true, or takes nothing and returns false.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) { }

    bool int16(qint16 &out)
    {
        if (left() < 2)
            return false;
        out = qFromLittleEndian<qint16>(m_bytes.data() + m_pos);
        m_pos += 2;
        return true;
    }
    bool string(QString &out)
    {
        if (left() < 2)
            return false;
        const quint16 n = qFromLittleEndian<quint16>(m_bytes.data() + m_pos);
        if (left() < 2 + qsizetype(n))
            return false;
        out = QFile::decodeName(QByteArray(m_bytes.data() + m_pos + 2, n));
        m_pos += 2 + n;
        return true;
    }
    bool variant(VariantValue &out)
    {
        if (left() < 2)
            return false;
        const quint16 type = qFromLittleEndian<quint16>(m_bytes.data() + m_pos);
        const qsizetype width = valueWidth(type);
        if (width < 0 || left() < 2 + width)
            return false;
        const char *value = m_bytes.data() + m_pos + 2;
        out.type = type;
        out.value = width == 4 ? qFromLittleEndian<qint32>(value)
            : width == 2       ? qFromLittleEndian<qint16>(value)
                               : 0;
        m_pos += 2 + width;
        return true;
    }

private:
    static qsizetype valueWidth(quint16 type)
    {
        switch (type) {
        case VariantValue::Empty:
        case VariantValue::Null:
            return 0;
        case VariantValue::Integer:
            return 2;
        case VariantValue::Long:
            return 4;
        default:
            return -1;
        }
    }
    qsizetype left() const { return m_bytes.size() - m_pos; }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

} // namespace

namespace RecordCodec {

QByteArray encode(const GlobalData &d)
{
    Writer w;
    w.int16(d.LoadLastBook);
    w.int16(d.JumpToLastPage);
    w.string(d.LastBook);
    w.int16(d.LastPage);
    w.int16(d.LinesPerPage);
    w.variant(d.BackColor);
    w.variant(d.ForeColor);
    w.string(d.FavoritePath);
    w.string(d.FavoriteDrive);
    w.int16(d.FavoriteSet);
    w.int16(d.FontSize);
    w.string(d.FontName);
    w.int16(d.FontBold);
    w.int16(d.FontItalic);
    return w.bytes();
}

int decode(QByteArrayView bytes, GlobalData &d)
{
    Reader r(bytes);
    int fields = 0;
    // Each step reads one field; the chain stops at the first that is not whole.
    const bool whole = r.int16(d.LoadLastBook) && ++fields && r.int16(d.JumpToLastPage) && ++fields
        && r.string(d.LastBook) && ++fields && r.int16(d.LastPage) && ++fields
        && r.int16(d.LinesPerPage) && ++fields && r.variant(d.BackColor) && ++fields
        && r.variant(d.ForeColor) && ++fields && r.string(d.FavoritePath) && ++fields
        && r.string(d.FavoriteDrive) && ++fields && r.int16(d.FavoriteSet) && ++fields
        && r.int16(d.FontSize) && ++fields && r.string(d.FontName) && ++fields
        && r.int16(d.FontBold) && ++fields && r.int16(d.FontItalic) && ++fields;
    Q_UNUSED(whole);
    return fields;
}

} // namespace RecordCodec
