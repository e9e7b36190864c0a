#include "PackedRow.h"

#include "Statement.h"

#include <cstring>

namespace PackedRow {

namespace {

constexpr int KindShift = 29;
constexpr quint32 OffsetMask = (1u << KindShift) - 1;

quint32 word(const QByteArray &row, int i)
{
    quint32 w;
    std::memcpy(&w, row.constData() + i * 4, 4);
    return w;
}

void setWord(QByteArray &row, int i, quint32 w)
{
    std::memcpy(row.data() + i * 4, &w, 4);
}

// Cells are appended after a header of count + 1 words; the last word marks the end.
class Writer
{
public:
    explicit Writer(int count) : m_count(count) { m_row.resize((count + 1) * 4); }
    void add(Kind k, const char *data, qsizetype size)
    {
        setWord(m_row, m_index++, (quint32(k) << KindShift) | quint32(m_row.size()));
        if (size)
            m_row.append(data, size);
    }
    QByteArray finish()
    {
        setWord(m_row, m_count, quint32(m_row.size()));
        m_row.squeeze();
        return m_row;
    }

private:
    int m_count;
    int m_index = 0;
    QByteArray m_row;
};

}  // namespace

QByteArray pack(const QVariantList &values)
{
    Writer w(int(values.size()));
    for (const QVariant &v : values) {
        if (!v.isValid() || v.isNull()) {
            w.add(Null, nullptr, 0);
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::Bool: {
            const qint64 n = v.toLongLong();
            w.add(Integer, reinterpret_cast<const char *>(&n), 8);
            break;
        }
        case QMetaType::Double: {
            const double d = v.toDouble();
            w.add(Real, reinterpret_cast<const char *>(&d), 8);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            w.add(Blob, b.constData(), b.size());
            break;
        }
        default: {
            const QByteArray utf8 = v.toString().toUtf8();
            w.add(Text, utf8.constData(), utf8.size());
        }
        }
    }
    return w.finish();
}

QByteArray packStatement(const Statement &st, int first, int count)
{
    Writer w(count);
    for (int c = first; c < first + count; ++c) {
        switch (st.columnKind(c)) {
        case Statement::ColumnKind::Integer: {
            const qint64 n = st.integer(c);
            w.add(Integer, reinterpret_cast<const char *>(&n), 8);
            break;
        }
        case Statement::ColumnKind::Real: {
            const double d = st.real(c);
            w.add(Real, reinterpret_cast<const char *>(&d), 8);
            break;
        }
        case Statement::ColumnKind::Text: {
            const QByteArrayView bytes = st.utf8(c);
            w.add(Text, bytes.data(), bytes.size());
            break;
        }
        case Statement::ColumnKind::Blob: {
            const QByteArray b = st.value(c).toByteArray();
            w.add(Blob, b.constData(), b.size());
            break;
        }
        default:
            w.add(Null, nullptr, 0);
        }
    }
    return w.finish();
}

int count(const QByteArray &row)
{
    return row.isEmpty() ? 0 : int(word(row, 0) & OffsetMask) / 4 - 1;
}

Kind kind(const QByteArray &row, int column)
{
    return Kind(word(row, column) >> KindShift);
}

QVariant value(const QByteArray &row, int column)
{
    const quint32 w = word(row, column);
    const quint32 start = w & OffsetMask;
    const quint32 end = word(row, column + 1) & OffsetMask;
    const char *p = row.constData() + start;
    switch (Kind(w >> KindShift)) {
    case Integer: {
        qint64 n;
        std::memcpy(&n, p, 8);
        return QVariant(n);
    }
    case Real: {
        double d;
        std::memcpy(&d, p, 8);
        return QVariant(d);
    }
    case Text:
        return QVariant(QString::fromUtf8(p, qsizetype(end - start)));
    case Blob:
        return QVariant(QByteArray(p, qsizetype(end - start)));
    default:
        return {};
    }
}

QVariantList unpack(const QByteArray &row)
{
    const int n = count(row);
    QVariantList out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(value(row, i));
    return out;
}

QUtf8StringView text(const QByteArray &row, int column)
{
    const quint32 w = word(row, column);
    if (Kind(w >> KindShift) != Text)
        return {};
    const quint32 start = w & OffsetMask;
    const quint32 end = word(row, column + 1) & OffsetMask;
    return QUtf8StringView(row.constData() + start, qsizetype(end - start));
}

}  // namespace PackedRow
