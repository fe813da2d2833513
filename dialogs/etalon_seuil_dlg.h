// SPDX-License-Identifier: GPL-3.0-or-later
// TEtalonSeuilDlg: the dialog of the calibration of the trigger comparator's offset. With
// the generator output G0 looped back to input Y0, it plays a triangle, triggers on Y0 at
// 0 V seven times and stores in the device object's ThresholdOffset the correction that
// puts the trigger back at the level asked for.
#pragma once

#include <QDialog>

#include <chrono>
#include <functional>

class QProgressBar;
class QPushButton;
class TGBF;
class TQVT2;

namespace qvt {

// Use: create it for one calibration (owned by the main window), exec(), delete it. The
// device object and the generator must outlive it.
//
// BitBtn1 runs the calibration: the generator plays a 1 kHz triangle of 10 V; the device is
// set to trigger on channel 0 (BNC input, wide range, alone) at 0 V rising, time base 11,
// with ThresholdOffset cleared; then seven acquisitions, the last six counted. Afterwards
// ThresholdOffset holds ThresholdCorrection of the six levels (threshold_correction.h), or 0
// when the correction was refused or an acquisition brought no sample; the dialog closes
// with Accepted. The generator keeps playing the triangle, and the device keeps the
// calibration's settings: the caller puts back its own.
//
// BitBtn3, Escape and the close box set CancelRequested and close the dialog (Rejected);
// during a calibration the loop stops after the acquisition in progress and stores nothing,
// ThresholdOffset staying 0.
class TEtalonSeuilDlg : public QDialog {
  Q_OBJECT

public:
  TEtalonSeuilDlg(TQVT2& device, TGBF& generator, QWidget* parent = nullptr);

  QPushButton* BitBtn1 = nullptr;       // "Connecter les prises BNC G0 et Y0, puis cliquer ici"
  QPushButton* BitBtn3 = nullptr;       // "&Annuler"
  QProgressBar* ProgressBar1 = nullptr; // 0 to 6: the acquisition in progress
  bool CancelRequested = false;

  // The wait between the start of an acquisition and the reading of its samples, 100 ms.
  // A real sleep; tests that run the interface on a manual clock move the clock instead.
  std::function<void(std::chrono::milliseconds)> Wait;

  void reject() override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void BitBtn1Click();
  bool Acquire();

  TQVT2& device_;
  TGBF& generator_;
};

} // namespace qvt
