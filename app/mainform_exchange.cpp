// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: handing the data on: the Matlab file of the last sweep and the transfer to
// Kalkio (through the clipboard and a macro).
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

#include "constante_dlg.h"
#include "dde_form.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "matlab_file.h"
#include "message_box.h"

namespace qvt {

using texts::T;

void TMainForm::MatlabBtnClick() {
  if (Closing)
    return;
  StopBtnClick();
  if (OscGraph->FilledCount == 0) {
    ShowMessage(TMessageKind::Information, T(texts::kNothingToSave));
  } else {
    QFileDialog dialog(this, T(texts::kMatlab));
    dialog.setObjectName("SaveDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("M"));
    dialog.setNameFilters({QCoreApplication::translate("Exchange", "matlab (*.M)"),
                           QCoreApplication::translate("Exchange", "texte (*.txt)")});
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      const QString chosen = dialog.selectedFiles().first();
      QString reason;
      // A file that cannot be written is said so: the sweep is still there to save elsewhere.
      if (!WriteMatlabFile(chosen, *OscGraph, reason))
        ShowMessage(TMessageKind::Error,
                    T(texts::kCannotWrite).arg(MatlabFileName(chosen), reason));
    }
  }
  if (ContinuousTrigger())
    StartCycle();
}

void TMainForm::RegSaveBtnClick() {
  if (Closing || ConstanteDlg == nullptr || DDEForm == nullptr)
    return;
  if (PointMode)
    TimerPoint->stop();
  else
    StopBtnClick();
  if (ConstanteDlg->exec() == QDialog::Accepted) {
    if (PointMode) {
      DDEForm->SendPointData(*PointGraph);
    } else {
      DDEForm->SendOscData(*OscGraph);
      if (ContinuousTrigger())
        StartCycle();
    }
  }
  if (PointMode && !Closing)
    TimerPoint->start();
}

} // namespace qvt
