// Multiples of π as an axis in units of π writes them: "0", "π/4", "π/2", "π", "3π/2", "-π",
// "2π", the fraction reduced. A multiple that is no fraction with a small denominator (a
// period typed as 0.3183) is written as a decimal multiple, "0.32π".
#pragma once

#include <QString>

QString PiMultipleText(long double multiple);
