// SPDX-License-Identifier: GPL-3.0-or-later
// Spectrum over FFTW. Plans are made with FFTW_ESTIMATE: planning takes microseconds instead of
// the hundreds of milliseconds FFTW_MEASURE spends timing candidates, and a power-of-two
// transform of a sweep runs well within a sweep's time either way.
#include "fourier.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace qvt::analysis {

namespace {

// FFTW's planner is not reentrant: every plan is made and destroyed under this lock.
std::mutex& PlannerLock() {
  static std::mutex lock;
  return lock;
}

constexpr double kFloorVolts = 1e-12;

} // namespace

double ToDbv(double volts) {
  return volts < kFloorVolts ? Spectrum::kFloorDbv : 20.0 * std::log10(volts);
}

struct Spectrum::Plan {
  std::size_t n = 0;
  double* in = nullptr;
  fftw_complex* out = nullptr;
  fftw_plan plan = nullptr;

  explicit Plan(std::size_t size) : n(size) {
    std::lock_guard lock(PlannerLock());
    in = fftw_alloc_real(n);
    out = fftw_alloc_complex(n / 2 + 1);
    plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), in, out, FFTW_ESTIMATE);
  }
  ~Plan() {
    std::lock_guard lock(PlannerLock());
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
  }
  Plan(const Plan&) = delete;
  Plan& operator=(const Plan&) = delete;
};

Spectrum::Spectrum() = default;
Spectrum::~Spectrum() = default;
Spectrum::Spectrum(Spectrum&&) noexcept = default;
Spectrum& Spectrum::operator=(Spectrum&&) noexcept = default;

void Spectrum::SetWindow(Window window) {
  if (window == window_)
    return;
  window_ = window;
  if (plan_) {
    FillWindow(window_, windowSamples_);
  }
  ResetAverage();
}

void Spectrum::SetScale(SpectrumScale scale) {
  scale_ = scale;
  RefreshOutput();
}

void Spectrum::SetAveraging(int sweeps) {
  averaging_ = std::clamp(sweeps, 1, kMaxAveraging);
}

void Spectrum::ResetAverage() {
  sweeps_ = 0;
}

void Spectrum::Resize(std::size_t n) {
  plan_ = std::make_unique<Plan>(n);
  windowSamples_.assign(n, 0.0);
  FillWindow(window_, windowSamples_);
  current_.assign(n / 2 + 1, 0.0);
  average_.assign(n / 2 + 1, 0.0);
  output_.assign(n / 2 + 1, 0.0);
  sweeps_ = 0;
}

bool Spectrum::Compute(std::span<const double> samples, double samplePeriod) {
  const std::size_t n = samples.size();
  if (n < 2 || !std::isfinite(samplePeriod) || !(samplePeriod > 0))
    return false;
  const double resolution = 1.0 / (static_cast<double>(n) * samplePeriod);
  if (!std::isfinite(resolution) || !(resolution > 0))
    return false;
  if (!std::all_of(samples.begin(), samples.end(), [](double x) { return std::isfinite(x); }))
    return false;
  if (!plan_ || plan_->n != n)
    Resize(n);
  if (samplePeriod != samplePeriod_) {
    samplePeriod_ = samplePeriod;
    sweeps_ = 0;
  }
  resolution_ = resolution;

  for (std::size_t i = 0; i < n; ++i)
    plan_->in[i] = samples[i] * windowSamples_[i];
  fftw_execute(plan_->plan);

  // A tone at bin k splits between +k and -k: twice the one-sided bin, divided by the window's
  // sum, reads its amplitude. The mean (bin 0) and the Nyquist bin have no twin.
  const double scale = 2.0 / (static_cast<double>(n) * CoherentGain(window_));
  const std::size_t bins = n / 2 + 1;
  for (std::size_t k = 0; k < bins; ++k)
    current_[k] = std::hypot(plan_->out[k][0], plan_->out[k][1]) * scale;
  current_[0] /= 2;
  if (n % 2 == 0)
    current_[bins - 1] /= 2;

  ++sweeps_;
  if (sweeps_ == 1) {
    std::copy(current_.begin(), current_.end(), average_.begin());
  } else {
    const double weight = 1.0 / std::min(sweeps_, averaging_);
    for (std::size_t k = 0; k < bins; ++k)
      average_[k] += (current_[k] - average_[k]) * weight;
  }
  sweeps_ = std::min(sweeps_, averaging_);
  RefreshOutput();
  return true;
}

void Spectrum::RefreshOutput() {
  if (scale_ == SpectrumScale::kLinear)
    std::copy(average_.begin(), average_.end(), output_.begin());
  else
    std::transform(average_.begin(), average_.end(), output_.begin(), ToDbv);
}

std::span<const double> Spectrum::Magnitudes() const {
  return plan_ && sweeps_ > 0 ? std::span<const double>(output_) : std::span<const double>();
}

std::span<const double> Spectrum::LinearMagnitudes() const {
  return plan_ && sweeps_ > 0 ? std::span<const double>(average_) : std::span<const double>();
}

double Spectrum::BinFrequency(std::size_t k) const {
  return static_cast<double>(k) * resolution_;
}

// The tone's position is k + d with d in [-0.5, 0.5]. The neighbours read the window's
// response at -1 - d and 1 - d; d is where their ratio matches the measured one. The
// rectangle has its own closed form (its response has a zero at 1 bin); the others have
// main lobes wider than 1.5 bins, over which the matching is monotonic, so bisection finds d.
std::optional<Peak> Spectrum::PeakAt(std::size_t k, bool interpolate) const {
  const std::span<const double> m = LinearMagnitudes();
  const std::size_t n = plan_->n;
  double d = 0;
  if (interpolate && k > 0 && k + 1 < m.size()) {
    const double a = m[k - 1];
    const double b = m[k];
    const double c = m[k + 1];
    if (window_ == Window::kRectangular) {
      d = c > a ? c / (b + c) : -a / (a + b);
    } else {
      double lo = -0.5;
      double hi = 0.5;
      for (int i = 0; i < 32; ++i) {
        const double mid = (lo + hi) / 2;
        const double f =
            c * WindowResponse(window_, n, -1 - mid) - a * WindowResponse(window_, n, 1 - mid);
        (f > 0 ? lo : hi) = mid;
      }
      d = (lo + hi) / 2;
    }
  }
  const double response = WindowResponse(window_, n, d);
  if (!(response > 0))
    return std::nullopt;
  Peak p;
  p.frequency = (static_cast<double>(k) + d) * resolution_;
  p.amplitude = m[k] / response;
  return p;
}

std::optional<std::size_t> Spectrum::LargestBin(double lowFrequency, double highFrequency) const {
  const std::span<const double> m = LinearMagnitudes();
  if (m.empty() || std::isnan(lowFrequency) || std::isnan(highFrequency))
    return std::nullopt;
  const double top = static_cast<double>(m.size() - 1);
  const double first = std::max(std::ceil(std::min(lowFrequency / resolution_, top + 1)),
                                static_cast<double>(MainLobeHalfWidth(window_)));
  const double last = std::floor(std::min(highFrequency / resolution_, top));
  if (!(first <= last))
    return std::nullopt;
  const auto begin = static_cast<std::size_t>(first);
  const auto end = static_cast<std::size_t>(last) + 1;
  const auto it = std::max_element(m.begin() + static_cast<std::ptrdiff_t>(begin),
                                   m.begin() + static_cast<std::ptrdiff_t>(end));
  if (!(*it >= kFloorVolts))
    return std::nullopt;
  return static_cast<std::size_t>(it - m.begin());
}

std::optional<Peak> Spectrum::FindPeak(double lowFrequency, double highFrequency) const {
  const std::optional<std::size_t> k = LargestBin(lowFrequency, highFrequency);
  return k ? PeakAt(*k, true) : std::nullopt;
}

std::size_t Spectrum::Harmonics(std::span<Harmonic> out) const {
  if (out.empty())
    return 0;
  const std::optional<Peak> fundamental = FindPeak();
  if (!fundamental)
    return 0;
  const std::span<const double> m = LinearMagnitudes();
  // Each harmonic is looked for within half a fundamental of its place, so that a fundamental
  // a bin or two wide never passes for its neighbour.
  const double reach = std::min<double>(MainLobeHalfWidth(window_),
                                        0.5 * fundamental->frequency / resolution_);
  std::size_t count = 0;
  for (std::size_t h = 1; h <= out.size(); ++h) {
    const double centre = fundamental->frequency * static_cast<double>(h) / resolution_;
    if (centre > static_cast<double>(m.size() - 1))
      break;
    std::optional<Peak> p = fundamental;
    if (h > 1) {
      // Interpolated only at a local maximum: a bin on the slope of a neighbour's lobe is read
      // as it stands, not pulled over to that neighbour.
      const std::optional<std::size_t> k =
          LargestBin((centre - reach) * resolution_, (centre + reach) * resolution_);
      p = k ? PeakAt(*k, *k + 1 < m.size() && m[*k] >= m[*k - 1] && m[*k] >= m[*k + 1])
            : std::nullopt;
    }
    Harmonic& r = out[count];
    r.number = static_cast<int>(h);
    r.frequency = p ? p->frequency : centre * resolution_;
    r.amplitude = p ? p->amplitude : 0.0;
    r.relativeDb = ToDbv(r.amplitude) - ToDbv(fundamental->amplitude);
    ++count;
  }
  return count;
}

} // namespace qvt::analysis
