#pragma once

#include <QStringList>

// The values the program writes into the examinee row's fields that take one of a fixed set.
namespace FieldValues {
// Jens: male, female.
inline QStringList sexes() { return {QStringLiteral("مرد"), QStringLiteral("زن")}; }
// Taahol: single, married, divorced, widowed.
inline QStringList maritalStatuses() { return {QStringLiteral("مجرد"), QStringLiteral("متأهل"), QStringLiteral("مطلقه"), QStringLiteral("بيوه")}; }
// Group: A to G.
inline QStringList groups() { return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G")}; }
} // namespace FieldValues
