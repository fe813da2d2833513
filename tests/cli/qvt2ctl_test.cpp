// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2ctl run as a process on the virtual interface: a triggered sweep written as CSV, sample
// times as the decimals they are, the exit codes of a wrong command line and of an absent
// interface, a logging ended by SIGTERM then continued in the same file, and a fit to a
// measurement file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "measure_file.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// The environment of the tests' own process without the settings that change the tool's
// language or its interface, then `extra`.
std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view entry(*e);
    if (!entry.starts_with("LANG") && !entry.starts_with("LC_") && !entry.starts_with("QVTLINK_"))
      env.emplace_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
            int outFd, int errFd) {
  std::vector<std::string> argStore{QVT2CTL_PATH};
  argStore.insert(argStore.end(), args.begin(), args.end());
  const std::vector<std::string> envStore = Environment(extraEnv);
  std::vector<char*> argv, envp;
  for (auto& a : argStore)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto& e : const_cast<std::vector<std::string>&>(envStore))
    envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  if (errFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, QVT2CTL_PATH, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

std::string ReadAll(int fd) {
  std::string out;
  char buffer[65536];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
    out.append(buffer, static_cast<size_t>(n));
  return out;
}

int ExitCode(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

// Runs the tool to its end. Standard error goes to a file so that neither pipe can fill up.
TRun RunTool(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
  TRun run;
  int out[2];
  if (::pipe(out) != 0)
    return run;
  FILE* err = std::tmpfile();
  const pid_t pid = Spawn(args, env, out[1], ::fileno(err));
  ::close(out[1]);
  run.Out = ReadAll(out[0]);
  ::close(out[0]);
  run.Status = pid > 0 ? ExitCode(pid) : -1;
  ::lseek(::fileno(err), 0, SEEK_SET);
  run.Err = ReadAll(::fileno(err));
  std::fclose(err);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<double> Row(const std::string& line) {
  std::vector<double> values;
  std::istringstream in(line);
  for (std::string cell; std::getline(in, cell, ',');)
    values.push_back(std::strtod(cell.c_str(), nullptr));
  return values;
}

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Qvt2ctl : public ::testing::Test {
protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("qvt2ctl_test_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(Qvt2ctl, ATriggeredSweepGoesToCsvWithItsColumnsAndTimeZeroOnTheEdge) {
  const std::string path = (dir / "run.csv").string();
  const TRun run = RunTool({"--simulate", "sweep", "--timebase", "20 ms", "--channels", "0,1",
                            "--trigger", "1:rising:0.5 V", "--count", "2", "-o", path},
                           {"QVTLINK_SIM=noise=0;glitch=0;trigger_offset=0"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_TRUE(run.Out.empty());
  for (const char* name : {"run-1.csv", "run-2.csv"}) {
    const auto lines = Lines(FileText(dir / name));
    // The column row and 2,500 samples of 8 µs.
    ASSERT_EQ(lines.size(), 2501u) << name;
    EXPECT_EQ(lines[0], "t (s),V0 (V),V1 (V)");
    for (size_t i = 1; i < lines.size(); ++i)
      ASSERT_EQ(Row(lines[i]).size(), 3u) << name << " line " << i;
    const auto first = Row(lines[1]);
    EXPECT_EQ(first[0], 0) << "t = 0 on the trigger";
    EXPECT_NEAR(first[2], 0.5, 0.05) << "Y1 crosses the level there";
    EXPECT_GT(Row(lines[50])[2], first[2]) << "on a rising edge";
    EXPECT_NEAR(Row(lines[2])[0], 8e-6, 1e-12);
  }
  EXPECT_FALSE(fs::exists(path)) << "numbered files only";
}

TEST_F(Qvt2ctl, ComputedColumnsFollowTheChannelsWithTheirUnit) {
  const TRun run = RunTool({"--simulate", "sweep", "--timebase", "20 ms", "--channels", "1",
                            "--compute", "P=V1*V1/50:W", "--compute", "D=V1*t"},
                           {"QVTLINK_SIM=noise=0;glitch=0;trigger_offset=0"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  const auto lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 2501u);
  EXPECT_EQ(lines[0], "t (s),V1 (V),P (W),D (Wb)");
  for (size_t i : {1u, 700u, 2500u}) {
    const auto row = Row(lines[i]);
    ASSERT_EQ(row.size(), 4u) << i;
    EXPECT_DOUBLE_EQ(row[2], row[1] * row[1] / 50) << i;
    EXPECT_DOUBLE_EQ(row[3], row[1] * row[0]) << i;
  }
  // A measurement file keeps them too, with their definitions.
  const std::string path = (dir / "p.qvtm").string();
  ASSERT_EQ(RunTool({"--simulate", "sweep", "--timebase", "20 ms", "--channels", "1", "--compute",
                     "P=V1*V1/50:W", "-o", path},
                    {"QVTLINK_SIM=noise=0;glitch=0;trigger_offset=0"})
                .Status,
            0);
  qvt::TMeasurement m;
  std::string error;
  ASSERT_TRUE(qvt::ReadMeasureFile(path, m, error)) << error;
  ASSERT_EQ(m.Computed.size(), 1u);
  EXPECT_EQ(m.Computed[0].QuantityName, "P");
  EXPECT_NE(m.Computed[0].Definition.find("expr=V1*V1/50"), std::string::npos);
  EXPECT_DOUBLE_EQ(m.Computed[0].Values[700],
                   m.Channels[0].Values[700] * m.Channels[0].Values[700] / 50);
}

TEST_F(Qvt2ctl, SampleTimesAreWrittenAsTheirDecimalsAndReadBackBitForBit) {
  // 125 kHz: sample j is at j / 125,000 s, six decimals at most ("0.015984", not
  // "0.015983999999999998" as j times the period gives); on a triggered sweep at
  // (j - trigger) / 125,000 s.
  for (const bool triggered : {false, true}) {
    for (const char* name : {"run.qvtm", "run.csv"}) {
      const fs::path path = dir / name;
      std::vector<std::string> args = {"--simulate", "sweep", "--timebase",
                                       "20 ms",      "-o",    path.string()};
      if (triggered)
        args.insert(args.end(), {"--channels", "1", "--trigger", "1:rising:0"});
      const TRun run = RunTool(args, {"QVTLINK_SIM=noise=0;glitch=0"});
      ASSERT_EQ(run.Status, 0) << run.Err;
      std::vector<std::string> times;
      const auto lines = Lines(FileText(path));
      for (size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].starts_with("#"))
          times.push_back(lines[i].substr(0, lines[i].find(',')));
      ASSERT_EQ(times.size(), 2500u) << name;
      const double first = std::strtod(times[0].c_str(), nullptr);
      if (!triggered) {
        EXPECT_EQ(times[1998], "0.015984") << name;
      }
      for (size_t j = 0; j < times.size(); ++j) {
        ASSERT_LE(times[j].size(), 9u) << name << " sample " << j << ": " << times[j];
        ASSERT_EQ(std::strtod(times[j].c_str(), nullptr),
                  (std::round(first * 125e3) + static_cast<double>(j)) / 125e3)
            << name << " sample " << j;
      }
    }
  }
}

TEST_F(Qvt2ctl, AWrongCommandLineExitsTwoNamingTheOptionAndTheAcceptedValues) {
  struct TCase {
    std::vector<std::string> Args;
    std::vector<std::string> Env;
    std::vector<std::string> Said;
  };
  const TCase cases[] = {
      {{"sweep", "--timebase", "3 ms"}, {}, {"--timebase", "'3 ms'", "10 µs, 20 µs", "1 h"}},
      {{"sweep", "--timebase", "3 ms"},
       {"LANG=fr_FR.UTF-8"},
       {"--timebase: « 3 ms » inconnue ; valeurs admises : 10 µs, 20 µs"}},
      {{"sweep", "--timebase", "3 ms"}, {"LANGUAGE=de:fr_CA:en", "LANG=en_GB.UTF-8"}, {"« 3 ms »"}},
      {{"sweep", "--timebase", "3 ms"}, {"LANGUAGE=en", "LC_ALL=fr_FR.UTF-8"}, {"'3 ms'"}},
      {{"sweep", "--channels", "0,4"}, {}, {"--channels", "0 to 3"}},
      {{"sweep", "--range", "0:3 V"}, {}, {"--range", "500 mV", "15 V"}},
      {{"sweep", "--trigger", "0:rising:volts"}, {}, {"--trigger", "LEVEL"}},
      {{"sweep", "--trigger", "2:rising:0"}, {}, {"--trigger", "--channels"}},
      {{"sweep", "--speed", "2"}, {}, {"--speed", "--timebase"}},
      {{"sweep", "--compute", "P=V0*Z"}, {}, {"--compute", "« Z »"}},
      {{"sweep", "--compute", "P=P*2"}, {}, {"--compute", "elle-même"}},
      {{"log", "--interval", "fast", "-o", "x.csv"}, {}, {"--interval", "500ms"}},
      {{"gen", "formula", "5*SIN(2*PI*t", "--freq", "100"}, {}, {"formula", "brackets"}},
      {{"gen", "sine", "--freq", "20000"}, {}, {"--freq", "9999"}},
      {{"frobnicate"}, {}, {"frobnicate", "sweep"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"--simulate"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const TRun run = RunTool(args, c.Env);
    EXPECT_EQ(run.Status, 2) << c.Args[0] << " " << c.Args.back() << ": " << run.Err;
    for (const auto& text : c.Said)
      EXPECT_NE(run.Err.find(text), std::string::npos)
          << "missing \"" << text << "\" in " << run.Err;
  }
}

TEST_F(Qvt2ctl, AnAbsentInterfaceExitsOneAtOnce) {
  for (const char* command : {"sweep", "info", "measure"}) {
    const auto start = std::chrono::steady_clock::now();
    const TRun run = RunTool({"--simulate", command}, {"QVTLINK_SIM=unplug_after=0"});
    EXPECT_EQ(run.Status, 1) << command;
    EXPECT_NE(run.Err.find("absent"), std::string::npos) << run.Err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << command;
  }
  const TRun french =
      RunTool({"--simulate", "sweep"}, {"QVTLINK_SIM=unplug_after=0", "LC_ALL=fr_CA"});
  EXPECT_NE(french.Err.find("absente ou utilisée par un autre programme"), std::string::npos);
}

TEST_F(Qvt2ctl, ALoggingEndedBySigtermKeepsEveryLineAndTheNextOneAppends) {
  const fs::path path = dir / "night.csv";
  const pid_t pid =
      Spawn({"--simulate", "log", "--interval", "50ms", "--channels", "0,2", "-o", path.string()},
            {}, -1, -1);
  ASSERT_GT(pid, 0);
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (Lines(FileText(path)).size() < 5 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(10ms);
  ::kill(pid, SIGTERM);
  ASSERT_EQ(ExitCode(pid), 0);

  const std::string first = FileText(path);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.back(), '\n') << "no line cut short";
  const auto lines = Lines(first);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "date,t (s),V0 (V),V2 (V)");
  for (size_t i = 1; i < lines.size(); ++i) {
    ASSERT_EQ(Row(lines[i]).size(), 4u) << lines[i];
    EXPECT_NEAR(Row(lines[i])[1], 0.05 * static_cast<double>(i - 1), 1e-9) << lines[i];
  }

  const TRun again = RunTool({"--simulate", "log", "--interval", "50ms", "--duration", "100ms",
                              "--channels", "0,2", "-o", path.string()});
  ASSERT_EQ(again.Status, 0) << again.Err;
  const std::string both = FileText(path);
  ASSERT_TRUE(both.starts_with(first)) << "appended, not replaced";
  const auto added = Lines(both.substr(first.size()));
  ASSERT_EQ(added.size(), 3u) << "t = 0, 0.05 and 0.1 s, without a second column row";
  EXPECT_EQ(Row(added[2]).size(), 4u);

  const TRun other =
      RunTool({"--simulate", "log", "--duration", "1s", "--channels", "1", "-o", path.string()});
  EXPECT_EQ(other.Status, 2) << "other columns are not mixed in";
  EXPECT_EQ(FileText(path), both);
}

} // namespace

TEST_F(Qvt2ctl, FitReadsAFileAndExitsOneOnAFailedFitTwoOnABadModel) {
  // A charge of τ = 12.5 ms on channel 1, sampled every 40 µs.
  qvt::TMeasurement m;
  m.DateTime = "2026-12-08T19:30:05+0100";
  m.TimeBase = "100 ms";
  m.SampleRate = 25e3;
  m.Channels = {{1, "V1", "V", "", 0x0000FF, "15 V", qvt::TMeasureInput::Bnc, {}}};
  for (int i = 0; i < 2500; ++i) {
    m.Time.push_back(i * 4e-5);
    m.Channels[0].Values.push_back(4.5 * (1 - std::exp(-m.Time.back() / 0.0125)) + 0.5);
  }
  const std::string path = (dir / "charge.qvtm").string();
  std::string error;
  ASSERT_TRUE(qvt::WriteMeasureFile(path, m, error)) << error;
  struct TCase {
    std::vector<std::string> Args;
    int Status;
    std::string Said; // in the output, or in the error when the status is not 0
  };
  const TCase cases[] = {
      {{"--from", "2ms", "--to", "18ms", "--start", "tau=5ms", "--json"},
       0,
       "\"converged\":true,\"status\":\"converged\""},
      {{"--model", "E*(1-EXP(-t/tau))+u0", "--start", "tau=5ms"}, 0, "tau = 0.0125 ±"},
      {{"--from", "1ms", "--to", "1.01ms"}, 1, "1 point for 3 parameters"},
      {{"--model", "2*(t"}, 2, "Missing brackets"},
      {{"--channel", "3"}, 2, "accepted values: 1"},
      {{"--start", "k=2"}, 2, "no parameter named 'k'"},
      {{"--from", "5ms", "--to", "1ms"}, 2, "--from"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"fit", path, "--channel", "1", "--model", "charge"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const TRun run = RunTool(args);
    EXPECT_EQ(run.Status, c.Status) << c.Args[0] << " " << c.Args[1] << ": " << run.Err;
    const std::string& said = c.Status == 0 ? run.Out : run.Err;
    EXPECT_NE(said.find(c.Said), std::string::npos) << c.Said << " not in " << said;
  }
}
