// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Conversions of the text fields of a "$GPRMC" sentence into the values the
// display shows. Numbers are read the same whatever the process locale is.

// ddmm.mmmm / dddmm.mmmm text to decimal degrees in single precision, cut
// (not rounded) to four decimals; negative for 'S' and 'W'. Empty text is 0.
float NmeaToDegrees(const char* text, char hemisphere);

// Speed over ground in knots to km/h: whole knots times 1.8, truncated toward
// zero at both steps. Text that is no finite number gives 0; results beyond
// the int range are clamped to it.
int SpeedFieldToKmh(const char* text);

// The leading integer of the course text: optional blanks and sign, then
// digits up to the first other character; clamped to the int range.
int CourseFieldToInt(const char* text);

// The text read as a decimal number as atof does in the C locale; 0 when it
// starts with none.
double ReadDecimal(const char* text);
