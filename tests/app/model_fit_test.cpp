// SPDX-License-Identifier: GPL-3.0-or-later
// The "Modélisation" panel's parts that need no display: a parameter's value with its
// uncertainty and unit, and the worker that fits one sweep after another (run under
// ThreadSanitizer too).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "model_fitter.h"
#include "model_text.h"
#include "numtext.h"

namespace qvt {
namespace {

using analysis::FitModel;

TEST(ModelText, ValuesWithTheirUncertaintiesAndUnits) {
  ForceDecimalSeparator(',');
  struct Case {
    const char* name;
    double value;
    std::optional<double> error;
    const char* unit;
    const char* text;
  };
  for (const Case& c : {
           Case{"tau", 0.012512, 0.000104, "s", "τ = 12,51 ms ± 0,10 ms"},
           // Rounding carries into a third digit: 0,0996 is 0,10.
           Case{"tau", 0.0125, 0.0000996, "s", "τ = 12,50 ms ± 0,10 ms"},
           Case{"A", 4.98765, 0.0123, "V", "A = 4,988 V ± 0,012 V"},
           // An uncertainty above ten units: both rounded to its tens.
           Case{"B", 456.7, 270.0, "V", "B = 460 V ± 270 V"},
           Case{"f", 9.99, 2.3, "Hz", "f = 10,0 Hz ± 2,3 Hz"},
           Case{"b", -0.0004, 0.0021, "V", "b = -0,4 mV ± 2,1 mV"},
           Case{"phi", 0.5, std::nullopt, "rad", "φ = 500,0 mrad"},
           Case{"k", 0.25, 0.031, "", "k = 0,250 ± 0,031"},
       })
    EXPECT_EQ(FitValueText(c.name, c.value, c.error, c.unit), c.text) << c.name << " " << c.value;
  ForceDecimalSeparator('\0');
}

TEST(ModelText, UnitsOfTheParametersFromTheAxes) {
  const analysis::FitModelSpec charge{FitModel::kCharge, 3, {}};
  EXPECT_EQ(FitParameterUnit(charge, "A", "s", "V"), "V");
  EXPECT_EQ(FitParameterUnit(charge, "tau", "s", "V"), "s");
  const analysis::FitModelSpec sine{FitModel::kDampedSine, 3, {}};
  EXPECT_EQ(FitParameterUnit(sine, "f", "s", "V"), "Hz");
  EXPECT_EQ(FitParameterUnit(sine, "phi", "s", "V"), "rad");
  const analysis::FitModelSpec affine{FitModel::kAffine, 3, {}};
  EXPECT_EQ(FitParameterUnit(affine, "a", "A", "V"), "\x9D") << "volts per ampere are ohms";
  ForceDecimalSeparator(',');
  EXPECT_EQ(FitValueText("a", 1000, 20, "\x9D"), "a = 1,000 k\xCE\xA9 \xC2\xB1 0,020 k\xCE\xA9");
  ForceDecimalSeparator('\0');
  EXPECT_EQ(FitParameterUnit(affine, "b", "A", "V"), "V");
  EXPECT_EQ(FitParameterUnit({FitModel::kExpression, 3, "E*t"}, "E", "s", "V"), "");
}

// Sweeps handed over faster than they are fitted: only the latest is sure to come back, no
// result comes for a cancelled job, and the worker stops cleanly with a fit under way.
TEST(ModelFitter, EachNewSweepCancelsTheFitUnderWayAndTheLastOneComesBack) {
  std::mutex mutex;
  std::vector<std::uint64_t> done;
  double lastTau = 0;
  std::uint64_t last = 0;
  {
    TModelFitter fitter([&](std::uint64_t job, analysis::FitResult r) {
      std::lock_guard lock(mutex);
      done.push_back(job);
      EXPECT_TRUE(r.Ok()) << r.message;
      for (const auto& p : r.parameters)
        if (p.name == "tau")
          lastTau = p.value;
    });
    for (int k = 0; k < 20; ++k) {
      TFitJob job;
      for (int i = 0; i < 4000; ++i) {
        const double t = i * 1e-4;
        job.x.push_back(t);
        job.y.push_back(5 * (1 - std::exp(-t / 0.05)) + 0.01 * std::sin(i * 1.3));
      }
      job.model.model = FitModel::kCharge;
      last = fitter.Submit(std::move(job));
    }
    for (int i = 0; i < 500; ++i) {
      {
        std::lock_guard lock(mutex);
        if (!done.empty() && done.back() == last)
          break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // A job left running when the fitter goes.
    TFitJob slow;
    slow.x.assign(100000, 0.0);
    slow.y.assign(100000, 1.0);
    for (std::size_t i = 0; i < slow.x.size(); ++i)
      slow.x[i] = static_cast<double>(i), slow.y[i] = std::sin(0.001 * static_cast<double>(i));
    slow.model.model = FitModel::kDampedSine;
    fitter.Submit(std::move(slow));
  }
  ASSERT_FALSE(done.empty());
  EXPECT_TRUE(std::find(done.begin(), done.end(), last) != done.end());
  EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
  EXPECT_NEAR(lastTau, 0.05, 1e-4);
}

} // namespace
} // namespace qvt
