// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2ctl log: point-by-point logging with the device's point-measure thread, one CSV line a
// point. Each line goes to the file with one write(2) of its own as soon as it is taken, so a
// kill or a crash loses nothing that was logged; the file is appended to, so a logging
// stopped and started again continues the same file.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "commands.h"
#include "measure_file.h"
#include "qvt2.h"
#include "sweep_setup.h"
#include "values.h"
#include "whole_file.h"

namespace qvt::cli {

namespace {

using TClock = std::chrono::steady_clock;

// The point-measure thread keeps its newest values up to date after a few of its 10 ms ticks.
constexpr auto kSettle = std::chrono::milliseconds(100);
// The longest sleep between two looks at the cancel flag.
constexpr auto kWakeUp = std::chrono::milliseconds(20);
// Lines reach the disk itself at least this often (they reach the system at once).
constexpr auto kSyncEvery = std::chrono::seconds(10);

std::string Header(const std::vector<int>& channels) {
  std::string out = "date,t (s)";
  for (int c : channels)
    out += ",V" + std::to_string(c) + " (V)";
  return out + "\n";
}

void AddNumber(std::string& out, double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

// The first line of the file at `path`, empty when it has none or does not exist.
std::string FirstLine(int fd) {
  std::string line;
  char c = 0;
  while (::pread(fd, &c, 1, static_cast<off_t>(line.size())) == 1 && c != '\n')
    line += c;
  return line.empty() ? line : line + "\n";
}

[[noreturn]] void FileFailure(const std::string& path, int error) {
  throw std::runtime_error(
      (French() ? "écriture de « " + path + " » impossible (" : "cannot write '" + path + "' (") +
      SystemReason(error) + ")");
}

} // namespace

int RunLog(const TWords& args, const TGlobalOptions& global) {
  const TArguments a = ReadArguments(
      args, {"--force"}, {"--interval", "--duration", "--channels", "--range", "--input", "-o"});
  if (!a.Words.empty())
    throw TUsageError(
        Refused("log", a.Words.front(), "--interval, --duration, --channels, -o", true));
  const char* durations = Say("une durée positive : 500ms, 1s, 10 min, 2h",
                              "a positive duration: 500ms, 1s, 10 min, 2h");
  double interval = 1;
  if (const auto* text = a.Last("--interval")) {
    const auto seconds = ParseDuration(*text);
    if (!seconds || *seconds < 0.01)
      throw TUsageError(
          Refused("--interval", *text,
                  std::string(durations) + Say(" (10 ms au moins)", " (10 ms at least)")));
    interval = *seconds;
  }
  std::optional<double> duration;
  if (const auto* text = a.Last("--duration")) {
    duration = ParseDuration(*text);
    if (!duration)
      throw TUsageError(Refused("--duration", *text, durations));
  }
  TSweepSetup setup;
  std::vector<int> channels{0};
  if (const auto* text = a.Last("--channels")) {
    const auto list = ParseChannels(*text);
    if (!list)
      throw TUsageError(
          Refused("--channels", *text,
                  Say("des voies distinctes de 0 à 3 séparées par des virgules (0,1,3)",
                      "distinct channels 0 to 3 separated by commas (0,1,3)")));
    channels = *list;
  }
  setup.Channels.fill(false);
  for (int c : channels)
    setup.Channels[static_cast<size_t>(c)] = true;
  ReadRangesAndInputs(a, setup);
  const std::string* pathArg = a.Last("-o");
  if (pathArg == nullptr || pathArg->empty())
    throw TUsageError(
        Say("-o : fichier CSV à remplir manquant", "-o: the CSV file to fill is missing"));
  const std::string path = *pathArg;
  const std::string header = Header(channels);

  // The file is checked before the interface is opened: a wrong file must not cost a start-up.
  const int flags = O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | (a.Has("--force") ? O_TRUNC : 0);
  const int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0)
    FileFailure(path, errno);
  struct TCloser {
    int fd;
    ~TCloser() { ::close(fd); }
  } closer{fd};
  const std::string first = FirstLine(fd);
  if (!first.empty() && first != header)
    throw TUsageError(French() ? "-o : « " + path + " » a d'autres colonnes (" +
                                     first.substr(0, first.size() - 1) + ") ; --force le remplace"
                               : "-o: '" + path + "' has other columns (" +
                                     first.substr(0, first.size() - 1) + "); --force replaces it");
  if (first.empty() &&
      ::write(fd, header.data(), header.size()) != static_cast<ssize_t>(header.size()))
    FileFailure(path, errno);

  TQVT2 device;
  OpenInterface(device, global);
  ApplySetup(device, setup);
  device.StartPointMeasure();
  std::this_thread::sleep_for(kSettle);

  const auto start = TClock::now();
  auto lastSync = start;
  std::string line;
  for (long k = 0; !CancelRequested.load(); ++k) {
    // Whole microseconds, so that 3 x 0.1 s reads "0.3" and not "0.30000000000000004".
    const double t = std::round(k * interval * 1e6) / 1e6;
    if (duration && t > *duration + 1e-9)
      break;
    const auto due =
        start + std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(t));
    for (auto now = TClock::now(); now < due && !CancelRequested.load(); now = TClock::now())
      std::this_thread::sleep_for(std::min<TClock::duration>(due - now, kWakeUp));
    if (CancelRequested.load())
      break;
    if (!device.PointMeasureRunning())
      throw TDeviceError(Say("interface perdue pendant l'enregistrement",
                             "the interface was lost during the logging"));
    line = MeasureDateNow() + ",";
    AddNumber(line, t);
    for (int c : channels) {
      line += ',';
      AddNumber(line, device.LatestValue[static_cast<size_t>(c)].load());
    }
    line += '\n';
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
      FileFailure(path, errno);
    if (TClock::now() - lastSync >= kSyncEvery) {
      ::fdatasync(fd);
      lastSync = TClock::now();
    }
  }
  device.StopPointMeasure();
  if (::fdatasync(fd) != 0)
    FileFailure(path, errno);
  return kExitDone;
}

} // namespace qvt::cli
