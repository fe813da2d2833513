// SPDX-License-Identifier: GPL-3.0-or-later
// bench_oscillo: the oscilloscope window as a whole, on the virtual interface and Qt's
// offscreen platform (unless QT_QPA_PLATFORM names another).
//
//   bench_oscillo sweeps [seconds]   continuous sweeps at "1 ms" triggered on Y2 (a 1 kHz
//                                    square), with the written display (the baseline) and then
//                                    with "Affichage rapide" (paced on the screen's frames):
//                                    sweeps per second, their ratio, and the process's CPU share
//                                    of a core for each
//   bench_oscillo analysis [seconds] the same sweeps on the four channels without (the
//                                    baseline) and with the "Mesures" panel and the "Spectre"
//                                    mode, with the written display and with "Affichage rapide"
//   bench_oscillo model [seconds]    sweeps at "20 ms" without (the baseline) and with the
//                                    "Modélisation" panel fitting "Sinus" to Y2 live, with the
//                                    written display and with "Affichage rapide"
//   bench_oscillo calculs [seconds]  sweeps at "1 ms" on four channels without (the baseline)
//                                    and with four computed quantities (a formula, a
//                                    derivative, an integral and a smoothing), with the
//                                    written display and with "Affichage rapide"
//   bench_oscillo startup [runs]     time from the start of the process to the first painted
//                                    window, and resident memory then, for the oscilloscope and
//                                    for a bare Qt window (the baseline), in alternate runs
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "gbf.h"
#include "globals.h"
#include "graph_settings.h"
#include "graphe_osc.h"
#include "computed_curves.h"
#include "mainform.h"
#include "paintbox.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "spinbuttons.h"

namespace {

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Seconds since the kernel started this process (10 ms resolution: the start time is kept in
// clock ticks).
double SinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  const double started = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return now.tv_sec + now.tv_nsec * 1e-9 - started;
}

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0)
      return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

double Median(std::vector<double> v);

struct TSweepRate {
  double PerSecond = 0;
  double CpuShare = 0; // of one core
};

// What a run of sweeps turns on beside the channel Y2 that triggers it.
struct TSweepSetUp {
  bool FourChannels = false;
  bool Analysis = false; // the "Mesures" panel and the "Spectre" mode
  bool Model = false;    // "Modélisation" fitting "Sinus" to Y2 live
  bool Computed = false; // four computed quantities drawn with the channels
  int TimeBase = 6;      // "1 ms"
};

TSweepRate Sweeps(double seconds, bool fast, const TSweepSetUp& setUp = {}) {
  qvt::FastDisplay = fast;
  qvt::TMainForm form;
  form.show();
  QApplication::processEvents();
  form.Channels[2].Active->click();
  if (setUp.FourChannels) {
    form.Channels[1].Active->click();
    form.Channels[3].Active->click();
  }
  if (setUp.Analysis) {
    form.MesuresBtn->click();
    form.SpectreBtn->click();
  }
  form.SynchroRG->Button(3)->click();
  while (form.DureeUpDown->Position() < setUp.TimeBase)
    form.DureeUpDown->UpButton()->click();
  if (setUp.Model) {
    form.ModeleBtn->click();
    auto* channel = form.findChild<QComboBox*>("ModelChannelCB");
    auto* model = form.findChild<QComboBox*>("ModelCB");
    channel->setCurrentIndex(channel->findText("Voie 2", Qt::MatchStartsWith));
    model->setCurrentIndex(model->findText("Sinus"));
  }
  if (setUp.Computed) {
    using qvt::analysis::ComputedDefinition;
    using qvt::analysis::ComputedKind;
    std::vector<ComputedDefinition> set(4);
    const char* names[] = {"P", "dU", "Q", "Ul"};
    const ComputedKind kinds[] = {ComputedKind::kFormula, ComputedKind::kDerivative,
                                  ComputedKind::kIntegral, ComputedKind::kSmoothing};
    for (std::size_t k = 0; k < set.size(); ++k)
      set[k].name = names[k], set[k].kind = kinds[k];
    set[0].formula = "V0*V1/R";
    set[1].source = "V2";
    set[2].source = "P";
    set[3].source = "V3";
    const std::vector<qvt::analysis::ComputedConstant> constants = {{"R", 100, "\x9D"}};
    if (form.ComputedQuantities().Define(form.ComputedChannels(), constants, set, {}))
      std::abort();
  }
  // A sweep is counted when its times are filled again; the first value is marked after each.
  int sweeps = -1;
  QTimer watch;
  watch.setInterval(1);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (OscGraph->TimeCurve.Value[0] != 1e9) {
      ++sweeps;
      OscGraph->TimeCurve.Value[0] = 1e9;
    }
  });
  QTimer warm;
  warm.setSingleShot(true);
  double cpu0 = 0, wall0 = 0;
  QObject::connect(&warm, &QTimer::timeout, [&] {
    sweeps = 0;
    cpu0 = CpuSeconds();
    wall0 = WallSeconds();
  });
  watch.start();
  warm.start(1000);
  QTimer::singleShot(static_cast<int>((seconds + 1) * 1000), [] { QApplication::quit(); });
  QApplication::exec();
  const double wall = WallSeconds() - wall0;
  const double cpu = CpuSeconds() - cpu0;
  form.close();
  return {sweeps / wall, cpu / wall};
}

// The refresh rate the fast display is paced on (the offscreen platform's screen says 60 Hz).
double ScreenHz() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double hz = screen != nullptr ? screen->refreshRate() : 60.0;
  return hz >= 30 && hz <= 240 ? hz : 60.0;
}

int CompareSweeps(double seconds) {
  const TSweepRate written = Sweeps(seconds, false);
  const TSweepRate fast = Sweeps(seconds, true);
  std::printf(
      "continuous sweeps at 1 ms over %.1f s each:\n"
      "  written display: %.2f per second (%.3f of the 9.09 the 110 ms timer allows), "
      "CPU %.1f %% of a core\n"
      "  Affichage rapide: %.2f per second (%.3f of the screen's %.0f Hz), CPU %.1f %% of a "
      "core; %.2f times the written display's rate\n",
      seconds, written.PerSecond, written.PerSecond / (1000.0 / 110.0), 100.0 * written.CpuShare,
      fast.PerSecond, fast.PerSecond / ScreenHz(), ScreenHz(), 100.0 * fast.CpuShare,
      written.PerSecond > 0 ? fast.PerSecond / written.PerSecond : 0.0);
  return 0;
}

// Runs alternate, baseline first, and the median of the pairs' ratios is given: the machine's
// load drifts over a run more than the feature costs.
int CompareWith(double seconds, const char* what, const char* feature, const TSweepSetUp& bare,
                const TSweepSetUp& with) {
  constexpr int kPairs = 3;
  std::printf("continuous sweeps %s, %d alternate pairs of %.1f s:\n", what, kPairs, seconds);
  for (const bool fast : {false, true}) {
    std::vector<double> plain, featured, plainCpu, featuredCpu, ratio;
    for (int i = 0; i < kPairs; ++i) {
      const TSweepRate b = Sweeps(seconds, fast, bare);
      const TSweepRate m = Sweeps(seconds, fast, with);
      plain.push_back(b.PerSecond);
      featured.push_back(m.PerSecond);
      plainCpu.push_back(100.0 * b.CpuShare);
      featuredCpu.push_back(100.0 * m.CpuShare);
      ratio.push_back(b.PerSecond > 0 ? m.PerSecond / b.PerSecond : 0.0);
    }
    std::printf("  %s: %.2f per second (CPU %.1f %% of a core); with %s %.2f per second (CPU "
                "%.1f %%); median rate ratio %.3f (%.3f-%.3f)\n",
                fast ? "Affichage rapide" : "written display", Median(plain), Median(plainCpu),
                feature, Median(featured), Median(featuredCpu), Median(ratio),
                *std::min_element(ratio.begin(), ratio.end()),
                *std::max_element(ratio.begin(), ratio.end()));
  }
  return 0;
}

// One start of a window; prints "<seconds since process start> <MB resident>" at its first
// paint. The oscilloscope is timed at the first paint of its graph.
int StartOnce(bool oscilloscope) {
  QWidget* watched = nullptr;
  std::unique_ptr<QMainWindow> window;
  if (oscilloscope) {
    auto* form = new qvt::TMainForm;
    watched = form->TempsPaintBox;
    window.reset(form);
  } else {
    window = std::make_unique<QMainWindow>();
    window->setCentralWidget(new QLabel(QStringLiteral("QVT2")));
    window->resize(qvt::TMainForm::kDesignWidth, qvt::TMainForm::kDesignHeight);
    watched = window->centralWidget();
  }
  struct FirstPaint : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint && !seen) {
        seen = true;
        // Measured once this paint has been carried out.
        QTimer::singleShot(0, [] {
          std::printf("%.4f %.1f\n", SinceProcessStart(), ResidentMegabytes());
          std::fflush(stdout);
          QApplication::quit();
        });
      }
      return false;
    }
    bool seen = false;
  } filter;
  watched->installEventFilter(&filter);
  window->show();
  QApplication::exec();
  window->close();
  return 0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

int Startup(const char* self, int runs) {
  std::vector<double> osc, bare, mem, ratio;
  for (int i = 0; i < runs + 1; ++i) {
    double t[2] = {0, 0}, m = 0;
    for (int k = 0; k < 2; ++k) {
      const std::string command =
          std::string(self) + (k == 0 ? " startup-window" : " startup-bare");
      FILE* p = popen(command.c_str(), "r");
      double seconds = 0, megabytes = 0;
      if (p == nullptr || std::fscanf(p, "%lf %lf", &seconds, &megabytes) != 2) {
        std::fprintf(stderr, "no figure from %s\n", command.c_str());
        return 1;
      }
      pclose(p);
      t[k] = seconds;
      if (k == 0)
        m = megabytes;
    }
    if (i == 0)
      continue; // warm-up: disk caches
    osc.push_back(t[0] * 1000);
    bare.push_back(t[1] * 1000);
    mem.push_back(m);
    ratio.push_back(t[0] / t[1]);
  }
  std::printf("start to first painted window, median of %d: oscilloscope %.0f ms (%.0f-%.0f), "
              "bare Qt window %.0f ms, ratio %.2f; resident memory then %.1f MB\n",
              runs, Median(osc), *std::min_element(osc.begin(), osc.end()),
              *std::max_element(osc.begin(), osc.end()), Median(bare), Median(ratio), Median(mem));
  return 0;
}

} // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  setenv("QVTLINK_DEVICE", "sim", 1);
  const std::string mode = argc > 1 ? argv[1] : "sweeps";
  if (mode == "startup")
    return Startup(argv[0], argc > 2 ? std::atoi(argv[2]) : 5);
  QApplication app(argc, argv);
  Generator = new TGBF;
  if (mode == "startup-window" || mode == "startup-bare")
    return StartOnce(mode == "startup-window");
  if (mode == "sweeps")
    return CompareSweeps(argc > 2 ? std::atof(argv[2]) : 10);
  const double seconds = argc > 2 ? std::atof(argv[2]) : 10;
  if (mode == "analysis")
    return CompareWith(seconds, "at 1 ms on four channels", "Mesures and Spectre",
                       {.FourChannels = true}, {.FourChannels = true, .Analysis = true});
  if (mode == "calculs")
    return CompareWith(seconds, "at 1 ms on four channels", "four computed quantities",
                       {.FourChannels = true}, {.FourChannels = true, .Computed = true});
  if (mode == "model")
    return CompareWith(seconds, "at 20 ms", "Modélisation", {.TimeBase = 10},
                       {.Model = true, .TimeBase = 10});
  std::fprintf(
      stderr,
      "usage: %s sweeps [seconds] | analysis [seconds] | model [seconds] | calculs [seconds] | startup [runs]\n",
      argv[0]);
  return 2;
}
