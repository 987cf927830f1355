// The functions of the formula language on a double, with the arguments each refuses: one
// definition for gValue's operations and for the formula cache's double programs, so that
// both compute the same bits.
#pragma once

#include "EvalonStatus.h"

#include <cmath>

namespace realfn {

// Degree conversion constants as the engine stores them (the nearest doubles).
inline constexpr double Pi = 3.141592653589793;
inline constexpr double InverseOf180 = 0.005555555555555556;
inline constexpr double InverseOfPi = 0.3183098861837907;

// The argument refusals of the functions (status 20), written as plain
// comparisons. A NaN is refused by none of them; the function then gives NaN.
inline constexpr auto Never = [](double) { return false; };
inline constexpr auto NotPositive = [](double x) { return x <= 0.0; };
inline constexpr auto Negative = [](double x) { return x < 0.0; };
inline constexpr auto OutsideUnit = [](double x) { return x < -1.0 || x > 1.0; };

// Degrees to radians: (x * pi) rounded to a double, then * (1/180).
// The volatile intermediate keeps the compiler from folding the two constants
// into one, which would round differently (cosd(90) must stay the cosine
// of 1.5707963267948966).
inline double toRadians(double degrees) {
  const volatile double t = degrees * Pi;
  return t * InverseOf180;
}

// Radians to degrees: (x * 180) rounded to a double, then * (1/pi); not folded
// either.
inline double toDegrees(double radians) {
  const volatile double t = radians * 180.0;
  return t * InverseOfPi;
}

// The functions of the formula language on a double.
inline constexpr auto Sin = [](double x) { return std::sin(x); };
inline constexpr auto Cos = [](double x) { return std::cos(x); };
inline constexpr auto Tan = [](double x) { return std::tan(x); };
inline constexpr auto Exp = [](double x) { return std::exp(x); };
inline constexpr auto Log10 = [](double x) { return std::log10(x); };
inline constexpr auto Log = [](double x) { return std::log(x); };
inline constexpr auto Log2 = [](double x) { return std::log(x) / std::log(2.0); };
inline constexpr auto Asin = [](double x) { return std::asin(x); };
inline constexpr auto Acos = [](double x) { return std::acos(x); };
inline constexpr auto Atan = [](double x) { return std::atan(x); };
inline constexpr auto Sqrt = [](double x) { return std::sqrt(x); };
inline constexpr auto Sind = [](double x) { return std::sin(toRadians(x)); };
inline constexpr auto Cosd = [](double x) { return std::cos(toRadians(x)); };
inline constexpr auto Tand = [](double x) { return std::tan(toRadians(x)); };
inline constexpr auto Asind = [](double x) { return toDegrees(std::asin(x)); };
inline constexpr auto Acosd = [](double x) { return toDegrees(std::acos(x)); };
inline constexpr auto Atand = [](double x) { return toDegrees(std::atan(x)); };
inline constexpr auto Ceil = [](double x) { return std::ceil(x); };
inline constexpr auto Floor = [](double x) { return std::floor(x); };
inline constexpr auto Int = [](double x) { return std::floor(x + 0.5); };

// Abs as gValue's execABS does it on a double.
inline constexpr auto Abs = [](double x) { return !(x >= 0.0) ? -x : x; };

// Function number n (0 sin, 1 cos, ... in the order of the operator codes from sin to atand)
// on a double: the refusal first, leaving x unchanged (status 20), then the function.
inline int apply(int function, double& x) {
  auto with = [&x](auto f, auto refuses) {
    if (refuses(x)) return static_cast<int>(ev::DomainError);
    x = f(x);
    return static_cast<int>(ev::Ok);
  };
  switch (function) {
  case 0:
    return with(Sin, Never);
  case 1:
    return with(Cos, Never);
  case 2:
    return with(Tan, Never);
  case 3:
    return with(Exp, Never);
  case 4:
    return with(Log10, NotPositive);
  case 5:
    return with(Log, NotPositive);
  case 6:
    return with(Log2, NotPositive);
  case 7:
    return with(Asin, OutsideUnit);
  case 8:
    return with(Acos, OutsideUnit);
  case 9:
    return with(Atan, Never);
  case 10:
    return with(Sqrt, Negative);
  case 11:
    return with(Abs, Never);
  case 12:
    return with(Ceil, Never);
  case 13:
    return with(Floor, Never);
  case 14:
    return with(Int, Never);
  case 15:
    return with(Sind, Never);
  case 16:
    return with(Cosd, Never);
  case 17:
    return with(Tand, Never);
  case 18:
    return with(Asind, OutsideUnit);
  case 19:
    return with(Acosd, OutsideUnit);
  default:
    return with(Atand, Never);
  }
}

} // namespace realfn
