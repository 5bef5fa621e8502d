#pragma once

#include <QString>

// The two small expression languages of row filters and formulas. Free functions
// without state; they take texts built from device values, so every input, however
// malformed, ends in a result or error -1, never in a crash or a hang.

// Logic: parentheses first, then "|", "&", "!", then a comparison. Raises
// OvException(-1, "Bad logic operand!") for an atom that is neither.
bool OvEvaluateLogic(const QString& text);

// Comparison: "<>", ">=", "<=", ">", "<", "=" as ordinal text comparison of the trimmed,
// unquoted operands ("NOW" is the current day count); "true"/"false" without operator.
bool OvEvaluateComparison(const QString& text);

// Arithmetic with the module's own associativity (10-2-3 is 11, 8/4/2 is 4). Never
// raises; unreadable operands count as 0.
double OvEvaluateArithmetic(const QString& text);

// A text whose first and last characters are both a double quote loses them.
QString OvStripQuotes(const QString& text);

// Every occurrence of pattern replaced by replacement.
QString OvSubstitute(const QString& text, const QString& pattern, const QString& replacement);
