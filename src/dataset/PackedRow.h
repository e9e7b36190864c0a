#pragma once

#include <QByteArray>
#include <QUtf8StringView>
#include <QVariant>
#include <QVariantList>

class Statement;

// One held row in a single allocation: a table of (kind, offset) words, then the
// cells' bytes (text as UTF-8, numbers as 8 raw bytes, null as nothing). A customer
// row costs about twice its stored text this way instead of eight times as QVariants.
namespace PackedRow {

enum Kind : quint32 { Null = 0, Integer = 1, Real = 2, Text = 3, Blob = 4 };

QByteArray pack(const QVariantList &values);
// Columns [first, first + count) of the statement's current row, without QVariants.
QByteArray packStatement(const Statement &st, int first, int count);

int count(const QByteArray &row);
Kind kind(const QByteArray &row, int column);
QVariant value(const QByteArray &row, int column);  // qint64, double, QString, QByteArray or null
QVariantList unpack(const QByteArray &row);
// The UTF-8 bytes of a text cell, valid while the row lives; null view for other kinds.
QUtf8StringView text(const QByteArray &row, int column);

}  // namespace PackedRow
