// SPDX-License-Identifier: GPL-3.0-or-later
// TEtalonSeuilDlg: the calibration run, in the order the interface needs its settings.
//
// Why the first sample: the record starts 500 samples before the trigger sample, that is
// 10 ms at time base 11 (50 kHz), exactly ten periods of the 1 kHz triangle; so its first
// sample shows the level the comparator fired at, read without searching the record.
#include "etalon_seuil_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include <array>
#include <thread>

#include "gbf.h"
#include "placement.h"
#include "qvt2.h"
#include "threshold_correction.h"

namespace qvt {
namespace {

constexpr auto kAcquisitionWait = std::chrono::milliseconds(100);

// An interface that keeps sending, or answers each poll slowly, must not hold the program
// in the loop: one acquisition's reading ends after this many polls or this long, whichever
// comes first. A sweep of 3,000 samples takes about 100 polls on a full-speed bus.
constexpr int kMaxPolls = 4096;
constexpr auto kPollTimeLimit = std::chrono::seconds(1);

constexpr int kTriggerOnChannel0 = 1;
constexpr int kTimeBase50ms = 11;

} // namespace

TEtalonSeuilDlg::TEtalonSeuilDlg(TQVT2& device, TGBF& generator, QWidget* parent)
    : QDialog(parent), Wait([](std::chrono::milliseconds t) { std::this_thread::sleep_for(t); }),
      device_(device), generator_(generator) {
  setObjectName("EtalonSeuilDlg");
  setWindowTitle(tr("Etalonnage du seuil de synchronisation"));

  BitBtn1 = new QPushButton(tr("Connecter les prises BNC G0 et Y0, puis cliquer ici"), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  BitBtn1->setDefault(true);
  // A big target: it is the one thing to do in this window.
  BitBtn1->setMinimumSize(BitBtn1->sizeHint() + QSize(32, BitBtn1->sizeHint().height() / 2));
  BitBtn3 = new QPushButton(tr("&Annuler"), this);
  BitBtn3->setObjectName("BitBtn3");
  BitBtn3->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  BitBtn3->setAutoDefault(false);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, kCalibrationLevels);
  ProgressBar1->setValue(0);
  ProgressBar1->setFormat(QStringLiteral("%v / %m"));
  connect(BitBtn1, &QPushButton::clicked, this, &TEtalonSeuilDlg::BitBtn1Click);
  connect(BitBtn3, &QPushButton::clicked, this, &TEtalonSeuilDlg::reject);

  auto* cancel = new QHBoxLayout;
  cancel->addStretch();
  cancel->addWidget(BitBtn3);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addWidget(BitBtn1);
  layout->addSpacing(4);
  layout->addWidget(ProgressBar1);
  layout->addSpacing(4);
  layout->addLayout(cancel);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TEtalonSeuilDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous())
    CentreOnWindow(*this, parentWidget());
}

void TEtalonSeuilDlg::reject() {
  CancelRequested = true;
  QDialog::reject();
}

void TEtalonSeuilDlg::BitBtn1Click() {
  // The loop below lets messages run; a second click must not start a second loop.
  BitBtn1->setEnabled(false);

  generator_.Frequency = 1000;
  generator_.Waveform = 1; // triangle
  generator_.SetExpression("");
  generator_.Amplitude = 10;
  generator_.Offset = 0;
  generator_.DutyCycle = 0.5;
  generator_.Compute();
  generator_.LoadOnly = false;
  generator_.Start();

  device_.StopAcquisition();
  device_.SetTriggerSource(kTriggerOnChannel0);
  device_.SetTriggerEnable(0);
  device_.ThresholdOffset = 0;
  device_.SetThreshold(0);
  device_.SetInputYD(0, 0);
  device_.SetChannelEnabled(0, 1);
  device_.SetHighRange(0, true);
  for (int k = 1; k < TQVT2::kChannels; ++k)
    device_.SetChannelEnabled(k, 0);
  device_.SetTimeBase(kTimeBase50ms);
  device_.SetRisingEdge(1);

  // A sweep that brought nothing (no trigger within the wait, an interface that stopped
  // answering) leaves the store as an earlier sweep filled it: its first sample would be
  // a stale level. Such a run stores no correction, ThresholdOffset staying 0.
  std::array<double, kCalibrationLevels> levels{};
  bool everySweepArrived = true;
  for (int k = 0; k <= kCalibrationLevels; ++k) {
    ProgressBar1->setValue(k);
    const bool arrived = Acquire();
    if (k > 0) {
      everySweepArrived = everySweepArrived && arrived;
      levels[static_cast<std::size_t>(k - 1)] = device_.FirstSampleValue(0);
    }
    device_.StopAcquisition();
    QApplication::processEvents();
    if (CancelRequested)
      return;
  }
  if (everySweepArrived)
    device_.ThresholdOffset = ThresholdCorrection(levels);
  accept();
}

bool TEtalonSeuilDlg::Acquire() {
  if (!device_.StartAcquisition())
    return false;
  Wait(kAcquisitionWait);
  const auto deadline = std::chrono::steady_clock::now() + kPollTimeLimit;
  for (int i = 0; i < kMaxPolls && device_.Poll(); ++i) {
    if (std::chrono::steady_clock::now() >= deadline)
      break;
  }
  return device_.ReceivedCount > 0;
}

} // namespace qvt
