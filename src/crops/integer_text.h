#pragma once

#include <QString>

// The test of a spacing field. It passes when the field is empty, or when it
// holds the program's usual reading of a whole number: leading spaces, an
// optional sign, then decimal digits or hexadecimal digits after "$" or "0x".
// Decimal must fit a signed 32-bit number; hexadecimal may use all 32 bits,
// as $FFFFFFFF reads as -1. Nothing may follow the digits.
bool PassesIntegerTest(const QString& text);
