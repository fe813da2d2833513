// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the generator panel. The panel collects the changes (the update button blinks
// while they are pending) and sends them with the update button or by itself after six quiet
// ticks of TimerGBF; Generator computes and plays the table.
//
// The preview's paint computes the table from the panel; the update also computes it itself
// before sending, so what is sent never depends on whether a paint has happened (a hidden or
// off-screen window paints nothing).
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <exception>

#include "ansi.h"
#include "gbf.h"
#include "graphe_osc.h"
#include "hints.h"
#include "icons.h"
#include "lcd99.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "paintbox.h"
#include "panel_rules.h"
#include "qvt2.h"
#include "radiogroup.h"

#include "globals.h"

namespace qvt {

using texts::T;

namespace {

constexpr int kArbitrary = 3;

// Scroll-bar keys whose release ends a scroll, as the end of a drag does.
bool IsScrollKey(int key) {
  switch (key) {
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Up:
  case Qt::Key_Down:
  case Qt::Key_PageUp:
  case Qt::Key_PageDown:
  case Qt::Key_Home:
  case Qt::Key_End:
    return true;
  default:
    return false;
  }
}

// Ends of scrolls on the three scroll bars, Enter and other keys in the formula box. The
// window is reached only for input events: the filter also sees the events of the window's
// own destruction, when it is no longer a TMainForm.
class TGeneratorEvents : public QObject {
public:
  TGeneratorEvents(TMainForm* form) : QObject(form), form_(form), edit_(form->ExpressionEdit) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
      form_->ExpressionEditKeyDown(static_cast<QKeyEvent*>(event)->key());
      return false;
    }
    const bool endOfScroll =
        event->type() == QEvent::MouseButtonRelease ||
        (event->type() == QEvent::KeyRelease &&
         !static_cast<QKeyEvent*>(event)->isAutoRepeat() &&
         IsScrollKey(static_cast<QKeyEvent*>(event)->key()));
    if (endOfScroll)
      QTimer::singleShot(0, form_, [f = form_] { f->OffsetScrollScroll(); });
    return false;
  }

private:
  TMainForm* form_;
  QObject* edit_;
};

} // namespace

void TMainForm::ConnectGeneratorHandlers() {
  for (QToolButton* b : FrequencyBtns)
    connect(b, &QToolButton::clicked, this, [this, b] { SpeedButton5Click(b); });
  connect(MajBtn, &QToolButton::clicked, this, &TMainForm::MajBtnClick);
  connect(signalRG, &TRadioGroup::Click, this, &TMainForm::signalRGClick);
  auto* events = new TGeneratorEvents(this);
  for (QScrollBar* bar : {OffsetScroll, AmplitudeScroll, DutyScroll}) {
    connect(bar, &QScrollBar::valueChanged, this, [this] {
      if (!Loading)
        RefreshGeneratorPanel();
    });
    bar->installEventFilter(events);
  }
  connect(OffsetNulBtn, &QPushButton::clicked, this, &TMainForm::OffsetNulBtnClick);
  connect(Duty50Btn, &QPushButton::clicked, this, &TMainForm::Duty50BtnClick);
  connect(ExpressionEdit, &QLineEdit::textChanged, this, &TMainForm::ExpressionEditChange);
  ExpressionEdit->installEventFilter(events);
  connect(ExpressionEdit, &QLineEdit::editingFinished, this, [this] {
    // Enter is handled with the key itself; here only leaving the box counts.
    if (!ExpressionEdit->hasFocus())
      ExpressionEditExit();
  });
  connect(GBFbtn, &QToolButton::clicked, this, &TMainForm::GBFbtnClick);
  connect(TimerGBF, &QTimer::timeout, this, &TMainForm::TimerGBFTimer);
  GbfPB->SetPaintHandler([this](TCanvas&) { GbfPBPaint(); });
}

void TMainForm::UpdateGeneratorStatus(int state) {
  GeneratorState = static_cast<std::uint8_t>(state);
  MajBtn->setVisible(state != 2);
  if (state != 2 && !GBFPanel->isHidden())
    TimerGBF->start();
  else
    TimerGBF->stop();
  MajBtn->setIcon(ToolIcon(state == 0   ? "update_pending_a"
                           : state == 1 ? "update_pending_b"
                                        : "update_ok"));
  SetHint(MajBtn, T(state == 2 ? texts::kMajOkHint : texts::kMajPendingHint));
  MajBtn->update();
}

void TMainForm::RefreshGeneratorPanel() {
  UpdateGeneratorStatus(0);
  const bool arbitrary = signalRG->ItemIndex() == kArbitrary;
  for (QWidget* g : {static_cast<QWidget*>(AmplitudeGB), static_cast<QWidget*>(DutyGB),
                     static_cast<QWidget*>(OffsetGB)})
    g->setVisible(!arbitrary);
  ExpressionPanel->setVisible(arbitrary);
  OffsetEdit->setText(AnsiToQString(VoltUnit().FormatValue(ScrollVolts(OffsetScroll->value()))));
  DutyEdit->setText(QString::number(DutyScroll->value()) + QStringLiteral("%"));
  AmplitudeEdit->setText(
      AnsiToQString(VoltUnit().FormatValue(ScrollVolts(AmplitudeScroll->value()))));
  GeneratorIdleTicks = 0;
  GbfPB->Invalidate();
}

bool TMainForm::ApplyGeneratorPanel(QString* error) {
  if (Generator == nullptr || Device == nullptr)
    return false;
  Generator->Frequency = std::clamp(std::atoi(LCD10k->Value().c_str()), 1, 9999);
  Generator->Waveform = static_cast<std::uint8_t>(std::clamp(signalRG->ItemIndex(), 0, 3));
  Generator->Amplitude = ScrollVolts(AmplitudeScroll->value());
  Generator->Offset = ScrollVolts(OffsetScroll->value());
  Generator->DutyCycle = DutyScroll->value() / 100.0;
  const bool arbitrary = Generator->Waveform == kArbitrary;
  try {
    const std::string formula = AnsiFromQString(ExpressionEdit->text());
    // A formula is compiled once; a refused one stays refused until it is changed.
    if (formula != Generator->GetExpression() || Generator->Parser.ParseError()) {
      try {
        Generator->SetExpression(formula);
      } catch (const std::exception&) {
        if (arbitrary)
          throw;
      }
    }
    Generator->Compute();
  } catch (const std::exception& e) {
    if (error != nullptr)
      *error = AnsiToQString(e.what()).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return false;
  }
  LCD10k->SetValue(std::to_string(Generator->Frequency));
  return true;
}

void TMainForm::ShowGeneratorError(const QString& message) {
  // Not modal to the loop that runs: the panel keeps working behind the box, and a second
  // refusal replaces the text of the box already shown.
  static QPointer<QMessageBox> box;
  if (box == nullptr) {
    box = new QMessageBox(QMessageBox::Critical, T(texts::kFormulaRefused), message,
                          QMessageBox::Ok, this);
    box->setObjectName("GeneratorErrorBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
  }
  box->setText(message);
  box->show();
}

void TMainForm::GbfPBPaint() {
  QString error;
  const bool computed = ApplyGeneratorPanel(&error);
  if (computed) {
    RefusedFormula.clear();
  } else if (!error.isEmpty()) {
    // Each refused formula is reported once, not at every paint.
    const std::string formula = AnsiFromQString(ExpressionEdit->text());
    if (formula != RefusedFormula) {
      RefusedFormula = formula;
      QTimer::singleShot(0, this, [this, error] { ShowGeneratorError(error); });
    }
  }
  if (Generator != nullptr)
    Generator->DrawPreview(GbfPB->Canvas(), GbfPB->width(), GbfPB->height());
}

void TMainForm::MajBtnClick() {
  if (Closing || GeneratorBusy || Generator == nullptr || Device == nullptr)
    return;
  const QScopedValueRollback<bool> busy(GeneratorBusy, true);
  RefreshGeneratorPanel();
  QApplication::processEvents();
  if (Closing)
    return;
  QString error;
  if (!ApplyGeneratorPanel(&error)) {
    // The previous table keeps playing; the button goes on blinking.
    if (!error.isEmpty() && AnsiFromQString(ExpressionEdit->text()) != RefusedFormula) {
      RefusedFormula = AnsiFromQString(ExpressionEdit->text());
      ShowGeneratorError(error);
    }
    return;
  }
  RefusedFormula.clear();
  GeneratorIdleTicks = 0;
  if (!Device->IsOpen())
    return; // nothing to send to: the changes stay pending
  Generator->LoadOnly = false;
  Generator->Start();
  UpdateGeneratorStatus(2);
}

void TMainForm::SpeedButton5Click(QObject* sender) {
  if (Loading)
    return;
  auto* button = qobject_cast<QWidget*>(sender);
  if (button == nullptr)
    return;
  const int power = button->property("Tag").toInt();
  const bool minus = button->y() > 16;
  const int hertz = std::atoi(LCD10k->Value().c_str());
  LCD10k->SetValue(std::to_string(SteppedFrequency(hertz, power, minus)));
  GeneratorIdleTicks = 0;
  UpdateGeneratorStatus(0);
}

void TMainForm::signalRGClick() {
  if (Loading)
    return;
  if (signalRG->ItemIndex() == kArbitrary)
    RefreshGeneratorPanel();
  else
    MajBtnClick();
  GBFPanel->update();
}

void TMainForm::OffsetScrollScroll() {
  if (!Loading)
    MajBtnClick();
}

void TMainForm::OffsetNulBtnClick() {
  OffsetScroll->setValue(0);
  MajBtnClick();
}

void TMainForm::Duty50BtnClick() {
  DutyScroll->setValue(50);
  MajBtnClick();
}

void TMainForm::ExpressionEditChange() {
  MajBtn->setEnabled(true);
}

void TMainForm::ExpressionEditKeyDown(int key) {
  if (Loading)
    return;
  if (key == Qt::Key_Return || key == Qt::Key_Enter)
    MajBtnClick();
  else
    UpdateGeneratorStatus(0);
}

void TMainForm::ExpressionEditExit() {
  if (!Loading && !Closing && !GBFPanel->isHidden())
    MajBtnClick();
}

void TMainForm::GBFbtnClick() {
  if (Loading)
    return;
  const bool shown = GBFbtn->isChecked();
  GBFPanel->setVisible(shown);
  if (!shown && Generator != nullptr && Device != nullptr)
    Generator->Stop();
  if (shown)
    TimerGBF->start();
  else
    TimerGBF->stop();
  GeneratorIdleTicks = 0;
  GBFPanel->update();
  TempsPaintBox->Invalidate();
}

void TMainForm::TimerGBFTimer() {
  if (Closing)
    return;
  ++GeneratorIdleTicks;
  // A hidden panel sends nothing by itself: the user has switched the generator off.
  if (GeneratorIdleTicks > 5 && !MajBtn->isHidden() && !GBFPanel->isHidden() &&
      signalRG->ItemIndex() != kArbitrary)
    MajBtnClick();
  if (!GBFPanel->isHidden() && GeneratorState < 2)
    UpdateGeneratorStatus(GeneratorState == 0 ? 1 : 0);
}

void TMainForm::StartGeneratorStep() {
  if (!GBFbtn->isChecked() || Generator == nullptr || Generator->Running)
    return;
  // The table is computed from the panel first: the panel may never have been painted (the
  // generator switched on by the settings), and an empty table would put 10 V on the output.
  if (!ApplyGeneratorPanel(nullptr))
    return;
  Generator->LoadOnly = false;
  Generator->Start();
  UpdateGeneratorStatus(2);
}

} // namespace qvt
