#include "Statement.h"

#include "Database.h"
#include "SqlDialect.h"
#include "SqlValue.h"

#include <sqlite3.h>

Statement::Statement(Database &db, const QString &sql) : m_db(&db), m_sql(SqlDialect::toEngine(sql))
{
    const QByteArray utf8 = m_sql.toUtf8();
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &m_stmt, &tail);
    if (rc != SQLITE_OK)
        db.raise(sqlite3_extended_errcode(db.handle()), m_sql);
    if (!m_stmt)
        throw DbError(DbError::Kind::Usage, QStringLiteral("空的 SQL 语句"));
    const int count = sqlite3_bind_parameter_count(m_stmt);
    for (int i = 1; i <= count; ++i) {
        const char *name = sqlite3_bind_parameter_name(m_stmt, i);
        if (name && (name[0] == ':' || name[0] == '@' || name[0] == '$'))
            m_params[QString::fromUtf8(name + 1).toLower()].append(i);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt), m_sql(std::move(other.m_sql)), m_params(std::move(other.m_params)),
      m_columns(std::move(other.m_columns))
{
    other.m_stmt = nullptr;
}

QStringList Statement::parameterNames() const
{
    QStringList names;
    const int count = sqlite3_bind_parameter_count(m_stmt);
    for (int i = 1; i <= count; ++i) {
        const char *name = sqlite3_bind_parameter_name(m_stmt, i);
        if (name && name[0]) {
            const QString n = QString::fromUtf8(name + 1);
            if (!names.contains(n, Qt::CaseInsensitive))
                names << n;
        }
    }
    return names;
}

bool Statement::hasParameter(const QString &name) const
{
    QString key = name.toLower();
    if (key.startsWith(u':'))
        key.remove(0, 1);
    return m_params.contains(key);
}

void Statement::bind(const QString &name, const QVariant &value)
{
    QString key = name.toLower();
    if (key.startsWith(u':'))
        key.remove(0, 1);
    const auto it = m_params.constFind(key);
    if (it == m_params.constEnd())
        throw DbError(DbError::Kind::Usage, QStringLiteral("SQL 中没有参数 :%1").arg(name));
    for (int index : *it)
        bind(index, value);
}

void Statement::bind(int index, const QVariant &raw)
{
    const QVariant value = SqlValue::toStorage(raw);
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString text = value.toString();
            if (text.isNull()) {
                rc = sqlite3_bind_null(m_stmt, index);
            } else {
                // UTF-16 straight from the QString: the engine converts once, no intermediate copy.
                rc = sqlite3_bind_text64(m_stmt, index, reinterpret_cast<const char *>(text.utf16()),
                                         sqlite3_uint64(text.size()) * 2, SQLITE_TRANSIENT, SQLITE_UTF16LE);
            }
        }
        }
    }
    if (rc != SQLITE_OK)
        m_db->raise(rc, m_sql);
}

void Statement::clearBindings()
{
    sqlite3_clear_bindings(m_stmt);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const int code = sqlite3_extended_errcode(m_db->handle());
    sqlite3_reset(m_stmt);
    m_db->raise(code, m_sql);
}

int Statement::execute()
{
    while (step()) {
    }
    return m_db->changes();
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

int Statement::columnCount() const { return sqlite3_column_count(m_stmt); }

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

int Statement::columnIndex(const QString &name) const
{
    if (m_columns.isEmpty()) {
        for (int i = columnCount() - 1; i >= 0; --i)  // the first of equal names wins
            m_columns.insert(columnName(i).toLower(), i);
    }
    return m_columns.value(name.toLower(), -1);
}

bool Statement::isNull(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT:
        return QVariant(text(column));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return {};
    }
}

QString Statement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    if (!data)
        return {};
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

qint64 Statement::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
double Statement::real(int column) const { return sqlite3_column_double(m_stmt, column); }

QString Statement::columnDeclType(int column) const
{
    const char *type = sqlite3_column_decltype(m_stmt, column);
    return type ? QString::fromUtf8(type) : QString();
}

QString Statement::columnOriginTable(int column) const
{
    const char *table = sqlite3_column_table_name(m_stmt, column);
    return table ? QString::fromUtf8(table) : QString();
}

QString Statement::columnOriginName(int column) const
{
    const char *name = sqlite3_column_origin_name(m_stmt, column);
    return name ? QString::fromUtf8(name) : QString();
}

Statement::ColumnKind Statement::columnKind(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER: return ColumnKind::Integer;
    case SQLITE_FLOAT: return ColumnKind::Real;
    case SQLITE_TEXT: return ColumnKind::Text;
    case SQLITE_BLOB: return ColumnKind::Blob;
    default: return ColumnKind::Null;
    }
}

QByteArrayView Statement::utf8(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}
