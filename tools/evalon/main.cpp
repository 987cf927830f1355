// evalon [-e LINE]... [FILE]: runs lines of the Evalon formula language on one engine
// object of libEvalon. See usage() and helpText below.
#include "EvalonLibrary.h"
#include "LineRunner.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int ExitFailedLine = 1;
constexpr int ExitUsage = 2; // also an unreadable FILE, or no engine object

const char* const helpText = R"HELP(Usage: evalon [-e LINE]... [FILE]
Runs lines of the Evalon formula language: the -e lines in order, else the lines of
FILE ("-" is standard input), else standard input (prompt "evalon> " on a terminal).
A line whose first "=" stands alone (not in == != <= >=, not in quotes) is an
assignment; any other line is a value to print; blank lines are skipped. A failing
line is reported to stderr as "evalon: line N: MESSAGE (code C)", N counting the -e
lines or the input lines, and the run goes on.
Exit status: 0 every line ran, 1 some line failed, 2 usage error or unreadable FILE.

Literals:  42 (long: signed 32-bit)   1.5 (double; no sign, no exponent)
           "text" (no escapes; at most 255 bytes)
Variables: a letter, then letters, digits and _; the sigil gives the kind:
           n  long      r#  double      s$  text
           up to two subscripts, each 1 or more: a[i+1], m[2][j]
           a variable read before it is written is created as 0 (or "")
Operators, loosest to tightest (equal ones group from the left):
  ( )                 grouping
  !                   not (longs only), takes all that follows: !a == b is !(a == b)
  |   &               or, and (longs only; give 1 or 0)
  ==  !=  <  <=  >  >= compare two numbers or two texts, give 1 or 0
  +   -               add, subtract; + also joins texts
  *   /   %           multiply, divide, remainder (% on longs only)
  ^                   power, from the left: 2^3^2 is 64
  functions           sin cos tan exp log10 log log2 asin acos atan sqrt abs
                      ceil floor int (doubles only; int rounds: int 2.5 is 3)
  degree functions    sind cosd tand asind acosd atand
  -                   negation (prefix): -2^2 is 4; on a text it reverses it
A function takes the operand after it: sin x is sin(x), sin x^2 is (sin x)^2;
nest calls with parentheses: sin(sin(x)), -(sin(x)).
Long and double: arithmetic on two longs stays long and is checked: 7/2 is 3,
7.0/2 is 3.5, 2147483647+1 fails (code 5); a long meets a double as a double.

Assignment   target = expression; the value is converted to the target's kind:
               n = 7/2          stores 3
               r# = 7.0/2       stores 3.5 (but r# = 7/2 stores 3.0)
               s$ = "ab" + "cd"
               a[i+1] = 7       m[1][2] = n*2
Print        expression or expression:width. The first # or $ in the leading name
             gives the kind: none long, # double (six decimals), $ text. Numbers are
             right-aligned in width columns; a text is cut or padded to exactly width.
               n:5  ->      3       r#  ->  3.500000     s$:3  ->  abc
               7.0/2  ->  3 (a long item: print a double through a # variable)

Example:
  $ printf 'i = 2\na[i+1] = 7\na[3]:4\nr# = 7.0/2\nr#\n1/0\n' | evalon
     7
  3.500000
  evalon: line 6: ０で割りました (code 6)
)HELP";

void usage(std::FILE* to) {
  std::fputs("usage: evalon [-e LINE]... [FILE]\nTry 'evalon --help' for more.\n", to);
}

int usageError(const std::string& problem) {
  std::fprintf(stderr, "evalon: %s\n", problem.c_str());
  usage(stderr);
  return ExitUsage;
}

struct Options {
  std::vector<std::string> lines; // the -e lines
  std::string file;               // empty: none
  bool help = false;
};

// Returns 0, or the exit status of a usage error (already reported).
int parse(int argc, char** argv, Options& options) {
  bool optionsEnded = false;
  for (int n = 1; n < argc; ++n) {
    const std::string_view arg = argv[n];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      options.help = true;
    } else if (!optionsEnded && arg == "-e") {
      if (n + 1 == argc) return usageError("option -e needs a LINE");
      options.lines.emplace_back(argv[++n]);
    } else if (!optionsEnded && arg.starts_with("-e")) {
      options.lines.emplace_back(arg.substr(2));
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      return usageError("unknown option '" + std::string(arg) + "'");
    } else if (!options.file.empty()) {
      return usageError("more than one FILE");
    } else {
      options.file = arg;
    }
  }
  if (!options.lines.empty() && !options.file.empty())
    return usageError("give -e lines or a FILE, not both");
  return 0;
}

// Runs every line of the stream; the prompt is written before each read when given.
// Returns 0, or the errno of a read error.
int runStream(std::FILE* in, LineRunner& runner, const char* prompt) {
  char* buffer = nullptr;
  std::size_t capacity = 0;
  long number = 0;
  int readError = 0;
  for (;;) {
    if (prompt) {
      std::fputs(prompt, stdout);
      std::fflush(stdout);
    }
    errno = 0;
    const ssize_t length = ::getline(&buffer, &capacity, in);
    if (length < 0) {
      if (std::ferror(in)) readError = errno != 0 ? errno : EIO;
      break;
    }
    ++number;
    runner.run(std::string(withoutLineEnd({buffer, static_cast<std::size_t>(length)})), number);
  }
  std::free(buffer);
  if (prompt) std::fputs("\n", stdout); // the shell's prompt starts on a line of its own
  return readError;
}

struct SystemDeleter {
  void operator()(TCalcSystem* system) const { DeleteCalcSystem(system); }
};

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int status = parse(argc, argv, options)) return status;
  if (options.help) {
    std::fputs(helpText, stdout);
    return 0;
  }

  const std::unique_ptr<TCalcSystem, SystemDeleter> system(InitCalcSystem());
  if (!system) {
    std::fputs("evalon: cannot create the engine object\n", stderr);
    return ExitUsage;
  }
  LineRunner runner(*system, stdout, stderr);

  if (!options.lines.empty()) {
    long number = 0;
    for (const std::string& line : options.lines)
      runner.run(line, ++number);
  } else {
    const bool fromFile = !options.file.empty() && options.file != "-";
    std::FILE* in = fromFile ? std::fopen(options.file.c_str(), "r") : stdin;
    if (!in) {
      std::fprintf(stderr, "evalon: cannot open %s: %s\n", options.file.c_str(),
                   std::strerror(errno));
      return ExitUsage;
    }
    const char* prompt = !fromFile && ::isatty(STDIN_FILENO) ? "evalon> " : nullptr;
    const int readError = runStream(in, runner, prompt);
    if (fromFile) std::fclose(in);
    if (readError) {
      std::fprintf(stderr, "evalon: cannot read %s: %s\n",
                   fromFile ? options.file.c_str() : "standard input", std::strerror(readError));
      return ExitUsage;
    }
  }
  return runner.anyFailed() ? ExitFailedLine : 0;
}
