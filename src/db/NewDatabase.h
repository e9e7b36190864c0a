#pragma once

#include "Database.h"

#include <memory>

// Makes a new database file: schema, the built-in user "Admin" with every right,
// the colour palette, and the code tables a new agency starts with.
namespace NewDatabase {

inline constexpr const char *AdminUser = "Admin";
inline constexpr const char *InitialPassword = "482716";
inline constexpr const char *HomeCurrency = "人民币";

// Refuses an existing path. Keyed with the program's fixed database password.
std::unique_ptr<Database> create(const QString &path);

// The 16 palette colours, 0x00BBGGRR.
QList<qint64> paletteColours();

}  // namespace NewDatabase
