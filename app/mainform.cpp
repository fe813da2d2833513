// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: creation, activation, the panel of the absent interface, closing.
#include "mainform.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QStatusBar>
#include <QGuiApplication>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "about_box.h"
#include "computed_curves.h"
#include "gbf.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform_texts.h"
#include "paintbox.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "shape.h"
#include "spinbuttons.h"

TQVT2* Device = nullptr;
bool DemoOnFirstRun = false;
qvt::TgrapheOsc* OscGraph = nullptr;
qvt::TgraphePoint* PointGraph = nullptr;

namespace qvt {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainForm");
  BuildWindow();
  ConnectHandlers();
  // Activation as the window framework meant it: the window becomes active again after one
  // of the program's own dialogs, not when the user merely comes back from another program.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
    const QWindow* before = LastFocusWindow;
    LastFocusWindow = now;
    if (now == nullptr || now != windowHandle())
      return;
    const bool fromDialog =
        before != nullptr && before != now && (before->flags() & Qt::WindowType_Mask) == Qt::Dialog;
    if (FirstActivation || fromDialog)
      FormActivate();
  });
  FormCreate();
}

TMainForm::~TMainForm() {
  FormDestroy();
}

void TMainForm::ConnectHandlers() {
  connect(StopBtn, &QToolButton::clicked, this, &TMainForm::StopBtnClick);
  connect(EnregistreBtn, &QToolButton::clicked, this, &TMainForm::EnregistreBtnClick);
  connect(ExitBtn, &QToolButton::clicked, this, &TMainForm::FileExit);
  connect(PlusBtn, &QToolButton::clicked, this, &TMainForm::HelpAbout);
  connect(OptionsBtn, &QToolButton::clicked, this, &TMainForm::OptionsBtnClick);
  connect(MatlabBtn, &QToolButton::clicked, this, &TMainForm::MatlabBtnClick);
  connect(RegSaveBtn, &QToolButton::clicked, this, &TMainForm::RegSaveBtnClick);
  connect(EtalonneSeuilBtn, &QToolButton::clicked, this, &TMainForm::EtalonneSeuil);
  connect(ComBtn, &QToolButton::clicked, this, &TMainForm::ComBtnClick);
  connect(EscapeBtn, &QToolButton::clicked, this, &TMainForm::EscapeBtnClick);

  connect(SynchroRG, &TRadioGroup::Click, this, &TMainForm::SynchroRGClick);
  connect(SensRG, &TRadioGroup::Click, this, &TMainForm::SensRGClick);
  connect(MonocoupCB, &QCheckBox::clicked, this, &TMainForm::MonocoupCBClick);
  connect(PreAcqCB, &QCheckBox::clicked, this, &TMainForm::PreAcqCBClick);
  // Enter or leaving the box; a text the user did not touch changes nothing.
  connect(SeuilEdit, &QLineEdit::editingFinished, this, [this] {
    if (SeuilEdit->isModified())
      SeuilEditExit();
  });
  connect(SpinButton1, &TSpinButton::UpClick, this, &TMainForm::SpinButton1UpClick);
  connect(SpinButton1, &TSpinButton::DownClick, this, &TMainForm::SpinButton1DownClick);
  connect(DureeUpDown, &TUpDown::ChangingEx, this, &TMainForm::DureeUpDownChangingEx);
  connect(NbreSpin, &TSpinButton::UpClick, this, &TMainForm::NbreSpinUpClick);
  connect(NbreSpin, &TSpinButton::DownClick, this, &TMainForm::NbreSpinDownClick);

  for (TChannelControls& c : Channels) {
    connect(c.Active, &QCheckBox::clicked, this, [this, &c] { Label1Click(c.Active); });
    connect(c.Range, &QComboBox::activated, this, [this, &c] { ComboBox0Change(c.Range); });
    connect(c.Positive, &QCheckBox::clicked, this, [this, &c] { CheckBox10Click(c.Positive); });
    connect(c.Input, &TRadioGroup::Click, this, [this, &c] { RadioGroup1Click(c.Input); });
    connect(c.Swatch, &TShape::MouseDown, this, [this, &c] { Shape1MouseDown(c.Swatch); });
    // A click on the group's frame or caption (its controls take their own clicks).
    c.Group->installEventFilter(this);
  }

  connect(Timer, &QTimer::timeout, this, &TMainForm::TimerTimer);
  TempsPaintBox->SetPaintHandler([this](TCanvas&) { TempsPaintBoxPaint(); });
  TempsPaintBox->SetMouseMoveHandler([this](const TMouseInfo& m) { TempsPaintBoxMouseMove(m); });
  TempsPaintBox->SetMouseDownHandler([this](const TMouseInfo& m) { TempsPaintBoxMouseDown(m); });
  TempsPaintBox->SetMouseUpHandler([this](const TMouseInfo& m) { TempsPaintBoxMouseUp(m); });
  TempsPaintBox->SetWheelHandler([this](const TMouseInfo& m) { TempsPaintBoxWheel(m); });
  TempsPaintBox->SetDoubleClickHandler(
      [this](const TMouseInfo& m) { TempsPaintBoxDoubleClick(m); });

  connect(TimerPoint, &QTimer::timeout, this, &TMainForm::TimerPointTimer);
  connect(UndoBtn, &QToolButton::clicked, this, &TMainForm::UndoBtnClick);
  connect(ResetBtn, &QToolButton::clicked, this, &TMainForm::ResetBtnClick);
  connect(PointAutoCB, &QCheckBox::clicked, this, &TMainForm::PointAutoCBClick);
  ConnectGeneratorHandlers();
}

void TMainForm::FormCreate() {
  Loading = true;
  FirstActivation = true;
  GeneratorState = 0;
  // ShowHint runs from event() (status tips); AppMessage from this application-wide filter.
  qApp->installEventFilter(this);
  DureeUpDown->SetRange(0, 25);

  OscGraph = new TgrapheOsc(&TempsPaintBox->Canvas(), TempsPaintBox);
  Device = new TQVT2;
  if (Generator != nullptr)
    Generator->SetDevice(Device);
  if (!Device->OpenPort())
    ShowVexorAbsent(true);
  for (int i = 0; i < 4; ++i)
    OscGraph->Curves[i].ChannelControls = &Channels[i];
  PointGraph = new TgraphePoint(&TempsPaintBox->Canvas(), TempsPaintBox);
  for (int i = 0; i < 4; ++i)
    PointGraph->Curves[i].ChannelControls = &Channels[i];
  Computed = std::make_unique<TComputedCurves>();
  OscGraph->Computed = &Computed->Curves;
  PointGraph->Computed = &Computed->Curves;

  LoadSettings();
  // The time-base boxes and the time axis show the chosen time base even before the
  // interface answers (Loading keeps the handler from starting anything).
  DureeUpDownChangingEx(DureeUpDown->Position());
  SetTimeAxis();
  // The generator panel's boxes show the values read (or the design ones).
  RefreshGeneratorPanel();
  Loading = false;
}

void TMainForm::FormActivate() {
  if (FirstActivation)
    LoadPlacement();
  FirstActivation = false;
  if (Device->IsOpen())
    Reconfigure();
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The first activation does not wait for the window manager to give the window the focus
  // (some never do for a window started from a terminal).
  if (FirstActivation)
    QTimer::singleShot(0, this, [this] {
      if (FirstActivation)
        FormActivate();
    });
}

void TMainForm::Reconfigure() {
  Timer->stop();
  if (PointMode)
    ConfigurePointMode();
  else
    ConfigureOscilloscope();
}

void TMainForm::ComBtnClick() {
  const bool open = Device->OpenPort();
  ShowVexorAbsent(!open);
  if (open)
    Reconfigure();
}

void TMainForm::EscapeBtnClick() {
  // Ends the program at once: the window is not closed, so nothing is saved; the main
  // program still destroys the window and with it the device object.
  QCoreApplication::exit(0);
}

void TMainForm::FileExit() {
  close();
}

void TMainForm::HelpAbout() {
  if (AboutBox != nullptr)
    AboutBox->exec();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!Closing)
    FormClose();
  event->accept();
}

void TMainForm::FormClose() {
  Closing = true;
  TimerPoint->stop();
  SavePlacement();
  if (Device != nullptr && Device->IsOpen()) {
    if (PointMode)
      Device->StopPointMeasure();
    else
      StopBtnClick();
    SaveSettings();
  }
}

void TMainForm::FormDestroy() {
  qApp->removeEventFilter(this);
  Timer->stop();
  TimerPoint->stop();
  TimerGBF->stop();
  if (Generator != nullptr)
    Generator->SetDevice(nullptr);
  delete Device; // stops any acquisition and closes the port
  Device = nullptr;
  delete OscGraph;
  OscGraph = nullptr;
  Computed.reset();
  delete PointGraph;
  PointGraph = nullptr;
}

QString TMainForm::StatusText() const {
  return Header->currentMessage();
}

void TMainForm::SetStatusText(const QString& text) {
  Header->showMessage(text);
}

} // namespace qvt
