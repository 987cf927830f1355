// The evalon command as a user runs it: the built program with arguments and an input,
// checked by its standard output, standard error and exit status.
#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

const char* const toolPath = EVALON_TOOL; // the built program, from CMake

// A folder of its own for one test, removed with its files afterwards.
class TempDir {
public:
  TempDir() {
    std::string pattern = ::testing::TempDir() + "evalon-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
  }
  ~TempDir() {
    for (const std::string& file : files)
      std::remove(file.c_str());
    rmdir(path.c_str());
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string file(const std::string& name, const std::string& content) {
    const std::string full = path + "/" + name;
    std::ofstream(full, std::ios::binary) << content;
    files.push_back(full);
    return full;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  const std::string& dir() const { return path; }

private:
  std::string path;
  std::vector<std::string> files;
};

struct Outcome {
  std::string out;
  std::string err;
  int status; // the exit status, or -1 if the program did not exit normally
};

// Runs evalon with the arguments, the given text as its standard input.
Outcome evalon(std::initializer_list<std::string> args, const std::string& input = "") {
  TempDir temp;
  const std::string in = temp.file("stdin", input);
  const std::string out = temp.file("stdout", "");
  const std::string err = temp.file("stderr", "");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_TRUNC, 0);
  std::vector<std::string> words = {toolPath};
  words.insert(words.end(), args);
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, toolPath, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start evalon");
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  return {temp.read("stdout"), temp.read("stderr"), WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1};
}

TEST(EvalonTool, TheReadmeExample) {
  const Outcome run = evalon({}, "i = 2\na[i+1] = 7\na[3]:4\nr# = 7.0/2\nr#\n1/0\n");
  EXPECT_EQ(run.out, "   7\n3.500000\n"); // no prompt: standard input is not a terminal
  EXPECT_EQ(run.err, "evalon: line 6: ０で割りました (code 6)\n");
  EXPECT_EQ(run.status, 1);
}

TEST(EvalonTool, ExpressionLinesRunInOrder) {
  const Outcome run = evalon({"-e", "n = 7/2", "-e", "n:5", "-e", "n = n*10", "-en"});
  EXPECT_EQ(run.out, "    3\n30\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
}

TEST(EvalonTool, ExpressionLinesIgnoreStandardInput) {
  const Outcome run = evalon({"-e", "1+1"}, "2+2\n");
  EXPECT_EQ(run.out, "2\n");
  EXPECT_EQ(run.status, 0);
}

TEST(EvalonTool, TextWidthCutsAndPads) {
  const Outcome run =
      evalon({"-e", "s$ = \"abcdef\"", "-e", "s$:3", "-e", "s$ = \"a\"", "-e", "s$:3", "-e", "s$"});
  EXPECT_EQ(run.out, "abc\na  \na\n");
  EXPECT_EQ(run.status, 0);
}

TEST(EvalonTool, ComparisonsAreNotAssignments) {
  const Outcome run =
      evalon({"-e", "x = 3", "-e", "x == 3", "-e", "x != 3", "-e", "x <= 2", "-e", "x >= 2", "-e",
              "s$ = \"a=b\"", "-e", "s$ + \"=\"", "-e", "y = x == 3", "-e", "y"});
  EXPECT_EQ(run.out, "1\n0\n0\n1\na=b=\n1\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
}

TEST(EvalonTool, ReadsTheLinesOfAFile) {
  TempDir temp;
  // CR LF line ends, a blank line and a last line without its line end.
  const std::string script = temp.file("script.ev", "x# = 1.5\r\n\r\n   \nx# * 2\r\nx#:10");
  const Outcome run = evalon({script}, "9\n");
  EXPECT_EQ(run.out, "3.000000\n  1.500000\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
}

TEST(EvalonTool, FailuresAreReportedWithTheirLineAndTheRunGoesOn) {
  TempDir temp;
  const std::string script =
      temp.file("script.ev", "\nq = 1 +\n\nq\n2x = 1\nlog(0.0)\nx = 1 2\n\"open\n5\n");
  const Outcome run = evalon({script});
  EXPECT_EQ(run.out, "0\n5\n");
  EXPECT_EQ(run.err, "evalon: line 2: 数値がありません (code 9)\n"
                     "evalon: line 5: 変数名が不正です (code 2)\n"
                     "evalon: line 6: 関数の値エラー (code 20)\n"
                     "evalon: line 7: 演算子が見つかりません (code 8)\n"
                     "evalon: line 8: 文字列が閉じていません (code 16)\n");
  EXPECT_EQ(run.status, 1);
}

TEST(EvalonTool, ALineTooLongForTheEngineIsRefusedByIt) {
  const std::string longLine(300, '1');
  const Outcome run = evalon({"-e", longLine, "-e", "1"});
  EXPECT_EQ(run.out, "1\n");
  EXPECT_EQ(run.err, "evalon: line 1: 文字列が長すぎます (code 4)\n");
  EXPECT_EQ(run.status, 1);
}

TEST(EvalonTool, AnUnreadableFileIsAnError) {
  TempDir temp;
  const Outcome missing = evalon({temp.dir() + "/no-such-file"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("evalon: cannot open"), std::string::npos) << missing.err;

  const Outcome folder = evalon({temp.dir()});
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("evalon: cannot read"), std::string::npos) << folder.err;
}

TEST(EvalonTool, UsageErrors) {
  for (const Outcome& run : {evalon({"-x"}), evalon({"--nonsense"}), evalon({"-e"}),
                             evalon({"a.ev", "b.ev"}), evalon({"-e", "1", "a.ev"})}) {
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: evalon [-e LINE]... [FILE]"), std::string::npos) << run.err;
  }
}

TEST(EvalonTool, HelpFitsOneScreen) {
  const Outcome run = evalon({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  int lines = 0;
  for (const char c : run.out)
    lines += c == '\n';
  EXPECT_LE(lines, 60);
  for (const char* topic : {"Usage: evalon", "sind", "atand", "log10", "floor", "a[i+1]", "7/2",
                            "7.0/2", "s$:3", ":width", "==", "^"})
    EXPECT_NE(run.out.find(topic), std::string::npos) << topic;
}

// With a terminal as standard input, each read is preceded by the prompt on stdout.
TEST(EvalonTool, PromptsOnlyOnATerminal) {
  int master = -1;
  int slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  TempDir temp;
  const std::string out = temp.file("stdout", "");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, slave, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addclose(&actions, master);
  posix_spawn_file_actions_addclose(&actions, slave);
  std::string program = toolPath;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, toolPath, &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(slave);

  // One line, then end of input (Ctrl-D at the start of a line).
  const std::string typed = "6*7\n\x04";
  ASSERT_EQ(write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  close(master);
  EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0);
  EXPECT_EQ(temp.read("stdout"), "evalon> 42\nevalon> \n");
}

} // namespace
