#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// How the analysis lists write what the database returns.
namespace AnalysisText {

// A value as text: whole numbers as they are, other numbers with 15 significant digits
// in fixed notation without trailing zeros (0.1 + 0.2 gives "0.3"), empty for null.
QString number(const QVariant &value);

// The share of `part` in `total` in per cent, fixed notation, cut to its first
// `characters` characters ("33.3" for a third with four). Nothing when the part is
// null or the total null or zero: there is no share to tell.
std::optional<QString> share(const QVariant &part, const QVariant &total, int characters);

// A typed year: a whole number from 1 to 9999; blanks around it are ignored and
// full-width digits count as digits. Nothing for anything else.
std::optional<int> year(const QString &text);

}  // namespace AnalysisText
