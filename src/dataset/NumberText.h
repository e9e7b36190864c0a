#pragma once

#include <QString>

// Numbers with fixed decimals as grids and printed totals show them: the locale's
// digits and group separators, and a value that rounds to zero is "0.00", never
// "-0.00" (a sum of fractions often lands a hair below zero).
namespace NumberText {

QString fixed(double value, int decimals = 2);

}  // namespace NumberText
