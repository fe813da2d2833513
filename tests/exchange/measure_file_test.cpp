// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement file: a round trip bit for bit, what numpy and Python's csv module make of
// the files, the refused files and failed writes, and a recording killed while it appends.
#include "measure_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "measure_append.h"
#include "measure_csv.h"

namespace qvt {
namespace {

namespace fs = std::filesystem;

// A "1 ms" sweep of `rows` samples on channels 0 and 2 with awkward names and values: commas,
// '#', quotes and line breaks in texts, non-ASCII units, -0, subnormals, the no-value marker.
TMeasurement Sweep(std::size_t rows) {
  TMeasurement m;
  m.DateTime = "2026-12-08T19:30:05+0100";
  m.Comment = "Décharge, R = 1 kΩ # essai \"2\"\nsalle 12\\B";
  m.TimeBase = "1 ms";
  m.SampleRate = 2.5e6;
  m.TriggerSource = 2;
  m.TriggerEdge = TMeasureEdge::Falling;
  m.TriggerLevel = -0.35;
  m.PreTrigger = true;
  m.Channels = {
      {0, "U,C", "V", "tension du condensateur\r\n# 1", 0x0000FF, "5 V", TMeasureInput::Bnc, {}},
      {2, "θ", "°C", "", 0xFF00FF, "50 mV", TMeasureInput::Yd, {}}};
  m.Channels[1].ClippedHigh = true;
  const double awkward[] = {-0.0,
                            4.9e-324,
                            1e-26,
                            0.1 + 0.2,
                            std::numeric_limits<double>::max(),
                            -std::numeric_limits<double>::min(),
                            1.0 / 3};
  for (std::size_t i = 0; i < rows; ++i) {
    m.Time.push_back((static_cast<double>(i) - 500) * 4e-7);
    m.Channels[0].Values.push_back(awkward[i % 7]);
    m.Channels[1].Values.push_back(std::sin(0.001 * static_cast<double>(i)) * 1e-3);
  }
  return m;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The standard output of /usr/bin/python3 running `script` with `arg`.
std::string Python(const std::string& script, const fs::path& arg) {
  const std::string command = PYTHON3 " -c '" + script + "' '" + arg.string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.append(buffer, n);
  if (pipe)
    ::pclose(pipe);
  return out;
}

// The values Python printed with repr(), one per line.
std::vector<double> Numbers(const std::string& text) {
  std::vector<double> out;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    double v = 0;
    if (std::from_chars(line.data(), line.data() + line.size(), v).ec != std::errc())
      ADD_FAILURE() << "not a number: " << line;
    out.push_back(v);
  }
  return out;
}

// Those values, row by row, are the measurement's time and channels bit for bit.
void ExpectRows(const std::vector<double>& values, const TMeasurement& m) {
  const std::size_t columns = 1 + m.Channels.size();
  ASSERT_EQ(values.size(), columns * m.Time.size());
  for (std::size_t i = 0; i < m.Time.size(); ++i) {
    EXPECT_EQ(values[columns * i], m.Time[i]) << "row " << i;
    for (std::size_t c = 0; c < m.Channels.size(); ++c)
      EXPECT_EQ(values[columns * i + 1 + c], m.Channels[c].Values[i]) << "row " << i;
  }
}

class MeasureFile : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qvtm_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(MeasureFile, ReadsBackBitForBitWithNamesUnitsAndColours) {
  const char* locales[] = {"C", "fr_FR.UTF-8"};
  for (const char* locale : locales) {
    if (std::setlocale(LC_ALL, locale) == nullptr)
      continue; // the decimal-comma locale is not installed everywhere
    for (TMeasureMode mode : {TMeasureMode::Oscilloscope, TMeasureMode::Point}) {
      TMeasurement saved = Sweep(700);
      saved.Mode = mode;
      const std::string path = (dir_ / "mesure.qvtm").string();
      std::string error;
      ASSERT_TRUE(WriteMeasureFile(path, saved, error)) << error;
      TMeasurement read;
      ASSERT_TRUE(ReadMeasureFile(path, read, error)) << error;
      EXPECT_EQ(read.FormatVersion, kMeasureFormatVersion);
      EXPECT_EQ(read.ProgramVersion, MeasureProgramVersion());
      saved.ProgramVersion = read.ProgramVersion;
      EXPECT_EQ(read, saved) << locale;
      EXPECT_TRUE(SameBits(read.Time, saved.Time));
      for (std::size_t k = 0; k < saved.Channels.size(); ++k)
        EXPECT_TRUE(SameBits(read.Channels[k].Values, saved.Channels[k].Values)) << k;
      EXPECT_TRUE(Slurp(path).starts_with(mode == TMeasureMode::Point
                                              ? "num,U_C (V),θ (°C)\n# format: qvtm 1\n"
                                              : "t (s),U_C (V),θ (°C)\n# format: qvtm 1\n"));
    }
  }
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(fs::directory_iterator(dir_)->path().filename(), "mesure.qvtm"); // no temporary left
}

// numpy always; pandas too where it is installed (its default number parser may be off in the
// last digits, by up to about 1e-12 relative; its "round_trip" one is exact).
TEST_F(MeasureFile, NumpyGenfromtxtReadsTheFileAsItStands) {
  TMeasurement saved = Sweep(300);
  saved.Channels.push_back({1, "V#2", "", "", 0xFF0000, "15 V", TMeasureInput::Bnc, saved.Time});
  const fs::path path = dir_ / "mesure.qvtm";
  std::string error;
  ASSERT_TRUE(WriteMeasureFile(path.string(), saved, error)) << error;
  const std::string out = Python(
      "import sys, numpy\n"
      "d = numpy.genfromtxt(sys.argv[1], delimiter=\",\", names=True, comments=\"#\")\n"
      "print(len(d.dtype.names), len(d))\n"
      "try:\n"
      "  import pandas\n"
      "except ImportError:\n"
      "  pandas = None\n"
      "if pandas:\n"
      "  p = pandas.read_csv(sys.argv[1], comment=\"#\")\n"
      "  assert list(p.columns) == [\"t (s)\", \"U_C (V)\", \"θ (°C)\", \"V_2\"], p.columns\n"
      "  values = numpy.array(d.tolist())\n"
      "  assert numpy.allclose(p.to_numpy(), values, rtol=1e-12, atol=0)\n"
      "  exact = pandas.read_csv(sys.argv[1], comment=\"#\", float_precision=\"round_trip\")\n"
      "  assert (exact.to_numpy() == values).all()\n"
      "for row in d: print(*(repr(float(v)) for v in row), sep=\"\\n\")\n",
      path);
  const std::size_t first = out.find('\n');
  ASSERT_EQ(out.substr(0, first), "4 300") << out.substr(0, 2000);
  ExpectRows(Numbers(out.substr(first + 1)), saved);
}

TEST_F(MeasureFile, FrenchSpreadsheetExportReadByPythonCsv) {
  EXPECT_EQ(CsvFormatForLocale("fr_FR.UTF-8"), (TCsvFormat{';', ',', false}));
  EXPECT_EQ(CsvFormatForLocale("fr_CA"), (TCsvFormat{';', ',', false}));
  EXPECT_EQ(CsvFormatForLocale("fr"), (TCsvFormat{';', ',', false}));
  EXPECT_EQ(CsvFormatForLocale("fy_NL.UTF-8"), (TCsvFormat{',', '.', false}));
  EXPECT_EQ(CsvFormatForLocale("en_GB.UTF-8"), (TCsvFormat{',', '.', false}));
  EXPECT_EQ(CsvFormatForLocale("C"), (TCsvFormat{',', '.', false}));

  const TMeasurement saved = Sweep(50);
  TCsvFormat format = CsvFormatForLocale("fr_FR.UTF-8");
  format.ByteOrderMark = true;
  const fs::path path = dir_ / "mesure.csv";
  std::string error;
  ASSERT_TRUE(WriteMeasureCsv(path.string(), saved, format, error)) << error;
  EXPECT_TRUE(Slurp(path).starts_with("\xEF\xBB\xBFt (s);U_C (V);θ (°C)\r\n"));
  const std::string out = Python("import csv, sys\n"
                                 "rows = list(csv.reader(open(sys.argv[1], encoding=\"utf-8-sig\", "
                                 "newline=\"\"), delimiter=\";\"))\n"
                                 "print(\"|\".join(rows[0]), len(rows) - 1)\n"
                                 "for row in rows[1:]: print(*(repr(float(v.replace(\",\", "
                                 "\".\"))) for v in row), sep=\"\\n\")\n",
                                 path);
  const std::size_t first = out.find('\n');
  ASSERT_EQ(out.substr(0, first), "t (s)|U_C (V)|θ (°C) 50") << out.substr(0, 2000);
  ExpectRows(Numbers(out.substr(first + 1)), saved);
  ASSERT_TRUE(WriteMeasureCsv(path.string(), saved, TCsvFormat{}, error)) << error;
  EXPECT_TRUE(Slurp(path).starts_with("t (s),U_C (V),θ (°C)\r\n-0.00019999999999999998,-0,0\r\n"));
}

TEST_F(MeasureFile, RefusedFilesGiveAMessageNamingTheFile) {
  const std::string whole = MeasureFileText(Sweep(20));
  std::string newer = whole;
  newer.replace(newer.find("qvtm 1"), 6, "qvtm 2");
  std::string nonNumeric = whole;
  nonNumeric.replace(nonNumeric.rfind('\n', nonNumeric.size() - 2) + 1, 1, "x");
  const struct {
    const char* name;
    std::string content;
    const char* message;
  } cases[] = {
      {"empty", "", "Fichier vide"},
      {"cut in a row", whole.substr(0, whole.size() - 5),
       "Fichier tronqué (19 lignes de données sur 20)"},
      {"cut at a line end", whole.substr(0, whole.rfind('\n', whole.size() - 2) + 1),
       "Fichier tronqué (19 lignes de données sur 20)"},
      {"cut in the column row", whole.substr(0, 4), "Fichier tronqué"},
      {"foreign csv", "a,b\n1,2\n", "Ce fichier n'est pas une mesure qvt2"},
      {"header first", "# format: qvtm 1\nt (s)\n1\n", "Ce fichier n'est pas une mesure qvt2"},
      {"newer version", newer, "Fichier d'une version plus récente de qvt2 (format 2"},
      {"non-numeric", nonNumeric, "Valeur non numérique « x"},
      {"infinite", "t (s)\n# format: qvtm 1\n1\ninf\n", "Valeur non finie ligne 4, colonne 1"},
      {"not a number", "t (s),V\n# format: qvtm 1\n1,nan\n", "Valeur non finie ligne 3, colonne 2"},
      {"decimal comma", "t (s),V\n# format: qvtm 1\n1,0,5\n", "Ligne 3 : 3 valeurs au lieu de 2"},
      {"bad header value", "t (s)\n# format: qvtm 1\n# mode: scope\n",
       "Valeur « scope » invalide pour « mode », ligne 3"},
  };
  for (const auto& c : cases) {
    const fs::path path = dir_ / c.name;
    Spit(path, c.content);
    TMeasurement m;
    std::string error;
    EXPECT_FALSE(ReadMeasureFile(path.string(), m, error)) << c.name;
    EXPECT_TRUE(error.starts_with(c.message)) << c.name << ": " << error;
    EXPECT_TRUE(error.ends_with(" : " + path.string())) << c.name << ": " << error;
  }

  // Too large: refused from its size, before a byte is read (the file is sparse).
  const fs::path huge = dir_ / "huge.qvtm";
  Spit(huge, whole);
  fs::resize_file(huge, kMaxMeasureFileBytes + 1);
  TMeasurement m;
  std::string error;
  EXPECT_FALSE(ReadMeasureFile(huge.string(), m, error));
  EXPECT_TRUE(error.starts_with("Fichier trop volumineux (67108865 octets, 64 Mo au plus)"))
      << error;
  EXPECT_FALSE(ReadMeasureFile((dir_ / "absent.qvtm").string(), m, error));
  EXPECT_EQ(error,
            "Lecture impossible (No such file or directory) : " + (dir_ / "absent.qvtm").string());

  // A recording's last line without its line end is ignored.
  Spit(dir_ / "recording", "num,V\n# format: qvtm 1\n1,2\n2,3\n3,");
  ASSERT_TRUE(ReadMeasureFile((dir_ / "recording").string(), m, error)) << error;
  EXPECT_EQ(m.Time, (std::vector<double>{1, 2}));
}

// Writes beyond a file size limit fail with EFBIG (the signal that would stop the process is
// ignored), as on a full disk.
class SizeLimit {
public:
  explicit SizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~SizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, old_handler_);
  }

private:
  rlimit old_{};
  sighandler_t old_handler_;
};

TEST_F(MeasureFile, FailedWritesKeepWhatWasThere) {
  const std::string path = (dir_ / "mesure.qvtm").string();
  Spit(path, "earlier");
  std::string error;
  {
    SizeLimit limit(4096);
    EXPECT_FALSE(WriteMeasureFile(path, Sweep(1000), error));
    EXPECT_EQ(error, "Écriture impossible (File too large) : " + path);
    EXPECT_FALSE(WriteMeasureCsv(path, Sweep(1000), TCsvFormat{}, error));
  }
  EXPECT_EQ(Slurp(path), "earlier");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  EXPECT_FALSE(WriteMeasureFile((dir_ / "absent" / "m.qvtm").string(), Sweep(1), error));
  EXPECT_TRUE(error.starts_with("Écriture impossible (No such file or directory) : ")) << error;
  TMeasurement ragged = Sweep(3);
  ragged.Channels[1].Values.pop_back();
  EXPECT_FALSE(WriteMeasureFile(path, ragged, error));
  TMeasurement infinite = Sweep(3);
  infinite.Time[1] = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(WriteMeasureFile(path, infinite, error));
  EXPECT_EQ(Slurp(path), "earlier");

  // A recording that meets the limit stops, keeps its whole rows and reports why.
  TMeasureAppender appender;
  TMeasurement header = Sweep(0);
  ASSERT_TRUE(appender.Open(path, header, error)) << error;
  {
    SizeLimit limit(8192);
    bool ok = true;
    for (int i = 0; ok && i < 10000; ++i) {
      const double row[] = {i * 0.5, 1.0 / (i + 1), -i * 1e-3};
      ok = appender.Append(row, 3, error);
    }
    EXPECT_FALSE(ok);
  }
  EXPECT_EQ(error, "Enregistrement arrêté, écriture impossible (File too large) : " + path);
  const double row[] = {1, 2, 3};
  EXPECT_FALSE(appender.Append(row, 3, error));
  TMeasurement read;
  ASSERT_TRUE(ReadMeasureFile(path, read, error)) << error;
  EXPECT_EQ(read.Time.size(), appender.RowCount());
  EXPECT_GT(read.Time.size(), 50u);
  EXPECT_EQ(read.Channels[1].Values.back(), -(read.Time.size() - 1.0) * 1e-3);
}

TEST_F(MeasureFile, RecordingKilledMidWayLeavesEveryAppendedRow) {
  const std::string path = (dir_ / "nuit.qvtm").string();
  int reported[2];
  ASSERT_EQ(::pipe(reported), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Appends rows without end, telling the parent after each one that it is in the file.
    ::close(reported[0]);
    TMeasurement header = Sweep(0);
    header.Mode = TMeasureMode::Point;
    TMeasureAppender appender;
    std::string error;
    if (!appender.Open(path, header, error))
      ::_exit(1);
    for (std::uint32_t i = 0;; ++i) {
      const double row[] = {static_cast<double>(i), i * 0.1, std::sqrt(i)};
      if (!appender.Append(row, 3, error) || ::write(reported[1], &i, sizeof i) != sizeof i)
        ::_exit(2);
    }
  }
  ::close(reported[1]);
  std::uint32_t last = 0;
  while (last < 2000 && ::read(reported[0], &last, sizeof last) == sizeof last) {
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(reported[0]);
  ASSERT_TRUE(WIFSIGNALED(status));

  TMeasurement read;
  std::string error;
  ASSERT_TRUE(ReadMeasureFile(path, read, error)) << error;
  EXPECT_EQ(read.Mode, TMeasureMode::Point);
  ASSERT_GT(read.Time.size(), last);
  for (std::size_t i = 0; i < read.Time.size(); ++i) {
    ASSERT_EQ(read.Time[i], static_cast<double>(i));
    ASSERT_EQ(read.Channels[0].Values[i], i * 0.1);
    ASSERT_EQ(read.Channels[1].Values[i], std::sqrt(i));
  }
}

} // namespace
} // namespace qvt
