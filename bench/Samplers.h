// The plotting benchmark's formulas and sample points, and the ways of computing a formula
// at a point that it compares: the Evalon engine, muparser parsing at every sample or once,
// and the formula compiled as C++.
#pragma once

#include "EvalonLibrary.h"
#include "EvalonStatus.h"
#include "TCalcSystem.h"

#include <muParser.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

// One sample per pixel column of a plot 1920 pixels wide.
inline constexpr std::size_t SampleCount = 1920;

// Evenly spaced over [-3, 3], both ends included.
inline const std::array<double, SampleCount> samplePoints = [] {
  std::array<double, SampleCount> points{};
  for (std::size_t i = 0; i < SampleCount; ++i)
    points[i] = -3.0 + 6.0 * static_cast<double>(i) / static_cast<double>(SampleCount - 1);
  return points;
}();

struct Formula {
  const char* text;             // as Evalon and muparser read it
  double (*compiled)(double x); // the same formula written in C++
};

inline const std::array<Formula, 6> formulas{{
    {"x", [](double x) { return x; }},
    {"sin(x)*2^3", [](double x) { return std::sin(x) * std::pow(2.0, 3.0); }},
    {"x*x*x-2*x+1", [](double x) { return x * x * x - 2 * x + 1; }},
    {"sqrt(abs(x))+cos(x)/(1+x*x)",
     [](double x) { return std::sqrt(std::abs(x)) + std::cos(x) / (1 + x * x); }},
    {"exp(-x*x/2)*sin(10*x)", [](double x) { return std::exp(-x * x / 2) * std::sin(10 * x); }},
    {"log(abs(x)+1)*atan(x)-tan(x/4)",
     [](double x) { return std::log(std::abs(x) + 1) * std::atan(x) - std::tan(x / 4); }},
}};

enum class Peer { Evalon, MuparserReparse, MuparserCompiled, Cpp };

struct PeerInfo {
  Peer peer;
  const char* id;    // in benchmark names
  const char* title; // in the summary
};

inline constexpr std::array<PeerInfo, 4> peers{{
    {Peer::Evalon, "evalon", "Evalon"},
    {Peer::MuparserReparse, "muparser_reparse", "muparser re-parse"},
    {Peer::MuparserCompiled, "muparser_compiled", "muparser compiled"},
    {Peer::Cpp, "cpp", "C++"},
}};

// The one engine object of the run. It is called through its table of virtual operations,
// as a client of the library calls it, and lives until the program ends.
inline TCalcSystem* calcSystem() {
  static TCalcSystem* const calc = InitCalcSystem();
  return calc;
}

// The plotting path: the sample point goes into the variable x, then the formula is
// evaluated in double mode. A failure gives NaN, and lastStatus() tells which.
class EvalonSampler {
public:
  EvalonSampler(TCalcSystem* calc, const char* formula) : calc(calc), formula(formula) {}

  double operator()(double x) {
    status = static_cast<std::uint32_t>(calc->SetFloatValue("x", x));
    if (status != ev::Ok) return std::numeric_limits<double>::quiet_NaN();
    const double value = calc->calcDoubleFormulaAs(formula, status);
    return status == ev::Ok ? value : std::numeric_limits<double>::quiet_NaN();
  }

  std::uint32_t lastStatus() const { return status; }

private:
  TCalcSystem* calc;
  const char* formula;
  std::uint32_t status = ev::Ok;
};

// muparser with x bound to its own variable. Re-parsing hands it the text again at every
// sample, so that it parses every time, as Evalon does; otherwise it parses once and
// evaluates its compiled form. Not copyable: the parser keeps the address of x.
class MuparserSampler {
public:
  enum Mode { Reparse, Compiled };

  MuparserSampler(const char* formula, Mode mode) : text(formula), mode(mode) {
    parser.DefineVar("x", &x);
    parser.SetExpr(text);
  }
  MuparserSampler(const MuparserSampler&) = delete;
  MuparserSampler& operator=(const MuparserSampler&) = delete;

  double operator()(double value) {
    x = value;
    if (mode == Reparse) parser.SetExpr(text);
    return parser.Eval();
  }

private:
  double x = 0.0;
  std::string text;
  Mode mode;
  mu::Parser parser;
};

// Calls visit with a sampler of the peer for the formula; muparser may throw
// mu::Parser::exception_type.
template <class Visit> void withSampler(Peer peer, const Formula& formula, Visit&& visit) {
  switch (peer) {
  case Peer::Evalon: {
    EvalonSampler sample(calcSystem(), formula.text);
    return visit(sample);
  }
  case Peer::MuparserReparse: {
    MuparserSampler sample(formula.text, MuparserSampler::Reparse);
    return visit(sample);
  }
  case Peer::MuparserCompiled: {
    MuparserSampler sample(formula.text, MuparserSampler::Compiled);
    return visit(sample);
  }
  case Peer::Cpp:
    return visit(formula.compiled);
  }
}
