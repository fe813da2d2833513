// SPDX-License-Identifier: GPL-3.0-or-later
// TgrapheOsc: the oscilloscope display. It owns the time curve and the four channel curves and
// draws them against time: plot layout, axes, zero lines, the trigger-level marker and the
// decimated traces; it also aligns a sweep on its trigger crossing and finds the sample
// nearest to a mouse position.
#pragma once

#include <QPoint>

#include <array>
#include <cstdint>
#include <vector>

#include "courbe.h"
#include "graphe_base.h"
#include "trigger_crossing.h"

namespace qvt {

// Units the main window formats values with, parsed from "V", "Hz" and "s" when the first
// oscilloscope graph is created. They live for the whole process.
Tunite& VoltUnit();
Tunite& HertzUnit();
Tunite& SecondUnit();

class TgrapheOsc : public TGrapheBase {
public:
  // TriggerChannel value for a manual start: no channel triggers.
  static constexpr std::uint8_t kNoTrigger = 4;
  // The trigger crossing is first looked for among the samples 0 to kTriggerSearchLast.
  static constexpr int kTriggerSearchLast = qvt::kTriggerSearchLast;

  // Time curve "t" in "s" and the channel curves "V0" to "V3" in "V", channel i with index
  // and Channel i; MaxPoints and SampleCount 2500, Step 1.
  explicit TgrapheOsc(TCanvas* canvas = nullptr, TPaintBox* paintBox = nullptr);

  // Lays out, draws the axes, the trigger marker (with a trigger channel) and, when samples
  // are held, the traces of the visible channels, then those of the visible computed curves.
  // Nothing without a canvas. Throws std::out_of_range for a TriggerChannel above 4.
  //
  // Computed curves: each visible one has its own vertical transform, its Mini..Maxi over the
  // plot's height (in Separate mode a band of its own, below the channels' bands), and is
  // drawn in its colour with the channels' decimation and clipping; a gap (kNoValue, or a
  // value not finite or off any pixel) breaks its line. The first visible one has its
  // vertical axis right of the plot (in Separate mode every visible one, in its band), for
  // which the plot leaves room only while one is shown: without visible computed curves the
  // picture is the one drawn without them.
  void Paint();

  // The wanted number of drawn points, held within 32..SampleCount (SampleCount alone when it
  // is below 32); Step := SampleCount div MaxPoints, then MaxPoints := SampleCount div Step.
  void SetMaxPoints(std::int32_t n);
  // SampleCount := n (at least 1), MaxPoints lowered to it when above, then Step and
  // MaxPoints as in SetMaxPoints.
  void SetSampleCount(std::int32_t n);

  // The visible channel with a sample less than 32 pixels (city-block) from (x, y) nearest to
  // it, the earlier channel and sample winning ties; x and y are moved onto that sample's
  // pixel. 4, with x and y unchanged, when there is none. Uses the transforms of the last
  // Paint.
  std::uint8_t NearestPoint(int& x, int& y) const;
  // The same over the visible channels and then the visible computed curves (their gaps
  // left out): -1 when there is none, 0..3 a channel, 4 + k computed curve k.
  int NearestCurve(int& x, int& y) const;

  // Re-times the time curve at `rate` samples a second (<= 0: that of the step t[1] - t[0])
  // so that the trigger of the held samples of the trigger channel is at t = 0: the sample just
  // before the crossing of TriggerLevel in the TriggerRising direction nearest the interface's
  // trigger at sample 500, or that sample itself when the level is not crossed near it
  // (qvt::AlignOnTrigger). TriggerConfirmed := the sweep is the edge that was asked for. Without a
  // trigger found (fewer than 501 samples and no crossing) the times stay as they were. With
  // TriggerChannel 4 nothing is re-timed and TriggerConfirmed is true.
  void AlignOnTrigger(double rate = 0);

  // Moves the time axis (its Mini and Maxi together) by as little as needed for it to lie
  // within the times of the held samples, so that an aligned sweep fills the plot
  // (qvt::SweepWindowStart).
  void KeepTimeAxisOnSamples();

  // The level line from x = 0 to PlotRect.Right at `row` with the edge sign at its left, in
  // the trigger channel's colour and in not-xor mode: drawing it again at the same row gives
  // back the picture. Clipped to the plot's rows (PlotRect.Top to PlotRect.Bottom). Leaves
  // the pen solid and in copy mode. Nothing with TriggerChannel 4.
  void DrawTriggerMarker(int row);

  // The traces of the visible channels and computed curves from sample start - 1 on (0 when
  // start <= 0), as Paint draws them: clipped to the plot (PlotClip), with pen width LineWidth
  // (back to 1 afterwards); FirstDrawn and LastDrawn are kept. For drawing newly arrived samples
  // without a repaint.
  void DrawTracesFrom(int start);

  // The pixels the trace of `curve` passes through from sample `start` on, by the drawing
  // rules of the traces: samples left of the vertical axes skipped, then every stride-th
  // sample until the samples end or a point reaches the right edge of the canvas's clip box.
  // Sets Step. `first` receives the index just before the first point, `last` the index just
  // before the next sample the stride would reach.
  std::vector<QPoint> TracePath(const TCourbe& curve, int start, int& first, int& last);

  std::int32_t MaxPoints = 2500;
  std::int32_t Step = 1;
  std::int32_t SampleCount = 2500;
  bool Separate = false; // each visible channel in its own horizontal band
  std::array<TCourbeOsc, 4> Curves;
  // The computed quantities' curves, drawn against TimeCurve (not owned: the window's
  // TComputedCurves::Curves), or null. Their transforms are set by Paint.
  std::vector<TCourbe>* Computed = nullptr;
  TCourbe TimeCurve;
  double TriggerLevel = 0;   // SI units of the trigger channel
  bool TriggerRising = true; // crossing direction
  bool PreTrigger = false;   // read by the main window only
  std::int32_t TriggerPixel = 0;
  std::uint8_t TriggerChannel = kNoTrigger; // 0..3, or 4 for none
  std::uint16_t FilledCount = 0;            // samples held in the curves
  std::int32_t FirstDrawn = 0;
  std::int32_t LastDrawn = 0;
  bool TriggerConfirmed = false;

private:
  void Layout();
  void DrawAxes();
  void DrawTraces(int start, bool record);
  // The samples TracePath draws from `start` on, by the same rules.
  std::vector<int> TraceSamples(int start, int& first, int& last);
  // The trace of a computed curve through `samples`, a polyline per run between gaps.
  void DrawComputedTrace(const TCourbe& curve, const std::vector<int>& samples);
  // Visible computed curves.
  int ComputedShown() const;
  TCourbe& TriggerCurve();
  // Samples the curves hold, within the sample array.
  int HeldCount() const;
};

} // namespace qvt
