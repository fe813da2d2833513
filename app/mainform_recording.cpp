// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: continuous recording. With "Enregistrer en continu" checked, every point
// recorded in point mode, and every sample of a slow sweep as it arrives, goes to the chosen
// measurement file at once (one write per row, see TMeasureAppender), so that a night's
// recording survives a crash or a power cut up to its last rows.
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <vector>

#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "measure_append.h"
#include "measure_file.h"
#include "message_box.h"
#include "oscillo_rules.h"
#include "qvt2.h"
#include "timebases.h"

namespace qvt {

using texts::T;

namespace {

// The disk sync of the last rows when none come for a while (the appender syncs at most
// once a second as rows arrive).
constexpr int kSyncIntervalMs = 1000;

bool AllFinite(const std::vector<double>& row) {
  for (double v : row)
    if (!std::isfinite(v))
      return false;
  return true;
}

} // namespace

bool TMainForm::Recording() const {
  return Recorder && Recorder->IsOpen();
}

namespace {
// "1 s": the first time base whose sweep lasts long enough to be worth recording as it comes.
constexpr int kFirstRecordedTimeBase = 15;
} // namespace

bool TMainForm::RecordsSweepSamples() const {
  return Recording() && !PointMode && Device != nullptr &&
         Device->TimeBaseIndex() >= kFirstRecordedTimeBase;
}

void TMainForm::ShowRecordingControl() {
  const bool slow =
      !PointMode && Device != nullptr && Device->TimeBaseIndex() >= kFirstRecordedTimeBase;
  const bool offered = PointMode || slow;
  // A fast sweep cannot be written sample by sample: the recording ends with the slow time
  // base.
  if (!offered && Recording())
    StopRecording();
  EnregContinuCB->setVisible(offered);
  EnregContinuCB->setChecked(Recording());
}

void TMainForm::EnregContinuCBClick() {
  if (!EnregContinuCB->isChecked()) {
    StopRecording();
    return;
  }
  EnregContinuCB->setChecked(false);
  QFileDialog dialog(this, T(texts::kRecordContinuous));
  dialog.setObjectName("EnregContinuDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(T(texts::kMeasureFilter));
  dialog.setDefaultSuffix(QStringLiteral("qvtm"));
  dialog.setDirectory(QSettings(QStringLiteral("QVT2"))
                          .value(QStringLiteral("Fichiers/Dossier"), QDir::homePath())
                          .toString());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    StartRecording(dialog.selectedFiles().first());
}

bool TMainForm::StartRecording(const QString& path) {
  StopRecording();
  if (!ShownFile.isEmpty())
    EnregistreBtnClick(); // the recording is of live data
  TMeasurement m;
  CurrentMeasurement(m, true);
  RecordedChannels.clear();
  for (const TMeasureChannel& c : m.Channels)
    RecordedChannels.push_back(c.Channel);
  RecordedComputed = m.Computed.size();
  // Points measured without a value cannot be written; they stay out of the file.
  std::string error;
  if (!CheckMeasurement(m, error)) {
    m.Time.clear();
    for (TMeasureChannel& c : m.Channels)
      c.Values.clear();
    for (TMeasureComputed& c : m.Computed)
      c.Values.clear();
  }
  auto recorder = std::make_shared<TMeasureAppender>();
  if (!recorder->Open(QFile::encodeName(path).toStdString(), m, error)) {
    ShowMessage(TMessageKind::Error, QString::fromStdString(error));
    EnregContinuCB->setChecked(false);
    return false;
  }
  Recorder = std::move(recorder);
  RecordedSamples = 0;
  RecordedSweepStart = 0;
  RecordedAnySweep = false;
  auto* sync = findChild<QTimer*>(QStringLiteral("RecordSyncTimer"));
  if (sync == nullptr) {
    sync = new QTimer(this);
    sync->setObjectName("RecordSyncTimer");
    sync->setInterval(kSyncIntervalMs);
    connect(sync, &QTimer::timeout, this, [this] {
      if (Recording())
        Recorder->SyncIfDue();
    });
  }
  sync->start();
  EnregContinuCB->setChecked(true);
  RememberFile(path);
  return true;
}

void TMainForm::StopRecording(const QString& error) {
  if (Recorder) {
    std::string closing;
    Recorder->Close(closing);
    Recorder.reset();
  }
  if (auto* sync = findChild<QTimer*>(QStringLiteral("RecordSyncTimer")))
    sync->stop();
  if (EnregContinuCB != nullptr)
    EnregContinuCB->setChecked(false);
  if (!error.isEmpty())
    ShowMessage(TMessageKind::Error, error);
}

void TMainForm::RecordPointRow(int index) {
  if (!Recording() || !PointMode)
    return;
  std::vector<double> row{static_cast<double>(index + 1)};
  for (int channel : RecordedChannels)
    row.push_back(PointGraph->Curves[channel].Value[index]);
  AppendComputedValues(row, index);
  if (!AllFinite(row))
    return;
  std::string error;
  if (!Recorder->Append(row.data(), row.size(), error))
    StopRecording(QString::fromStdString(error));
}

void TMainForm::RecordSweepStart() {
  if (!Recording() || PointMode)
    return;
  // Sweeps follow one another in the file, each starting where the last one ended (a
  // recording holds one time base: it ends with it).
  if (RecordedAnySweep)
    RecordedSweepStart += TimeBases()[Device->TimeBaseIndex()].SweepPoints;
  RecordedSamples = 0;
  RecordedAnySweep = false;
}

void TMainForm::RecordSweepSamples(int from, int to) {
  if (!Recording() || PointMode)
    return;
  std::vector<double> row;
  std::string error;
  // Times as a sample count divided by the rate, so that they read as the decimals they are
  // ("0.035984", not the sum of two rounded times); a sample's time in the sweep is a whole
  // number of periods from its start or its trigger.
  const double rate = Device->SampleRate();
  for (int k = std::max(from, RecordedSamples); k < to; ++k) {
    const double samples = std::round(OscGraph->TimeCurve.Value[k] * rate);
    row.assign(1, (static_cast<double>(RecordedSweepStart) + samples) / rate);
    for (int channel : RecordedChannels)
      row.push_back(OscGraph->Curves[channel].Value[k]);
    AppendComputedValues(row, k);
    if (!AllFinite(row))
      continue;
    if (!Recorder->Append(row.data(), row.size(), error)) {
      StopRecording(QString::fromStdString(error));
      return;
    }
    RecordedAnySweep = true;
  }
  RecordedSamples = std::max(RecordedSamples, to);
}

} // namespace qvt
