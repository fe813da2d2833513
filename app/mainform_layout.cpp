// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the toolbar and the panels. Each panel is built in its own function with Qt
// layouts; the design widths of the side panels are fixed widths, the graph takes the rest,
// and the side panels scroll when the window is too short for them.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QFontMetrics>
#include <QToolButton>
#include <QVBoxLayout>

#include "ansi.h"
#include "hints.h"
#include "icons.h"
#include "labelededit.h"
#include "labelfont.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "paintbox.h"
#include "radiogroup.h"
#include "shape.h"
#include "spinbuttons.h"

namespace qvt {
namespace {

using texts::T;
using texts::U8;

constexpr int kPanelVoiesWidth = 146;
constexpr int kPanelTempsWidth = 110;
constexpr int kGbfPanelHeight = 112;
constexpr int kProgressBarHeight = 12;

QToolButton* ToolButton(QWidget* parent, const char* name, const char* caption, const char* icon,
                        const char* hint = nullptr) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(T(caption));
  if (icon != nullptr)
    b->setIcon(ToolIcon(icon));
  b->setIconSize(QSize(20, 20));
  b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  b->setAutoRaise(true);
  // Toolbar buttons never take the keyboard focus: the space bar belongs to the cycle.
  b->setFocusPolicy(Qt::NoFocus);
  if (hint != nullptr)
    SetHint(b, T(hint));
  return b;
}

void Tag(QObject* o, int channel) {
  o->setProperty("Tag", channel);
}

// Group boxes with a tight frame: the panels are narrow, the trigger and time-base panel
// most of all.
void Tighten(QLayout* layout, int side = 3) {
  layout->setContentsMargins(side, 2, side - 1, 3);
  layout->setSpacing(2);
}

// The side panels, scrolled vertically when the window is too short for them; the scroll
// bar then widens the area instead of covering the panels.
class TSideScroll : public QScrollArea {
public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override {
    const int bar = NeedsBar() ? verticalScrollBar()->sizeHint().width() : 0;
    return {widget()->sizeHint().width() + bar + 2 * frameWidth(), QScrollArea::sizeHint().height()};
  }

protected:
  // A panel shown or hidden (the trigger panel in point mode) changes the width asked for.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
      updateGeometry();
    return QScrollArea::eventFilter(watched, event);
  }

  void resizeEvent(QResizeEvent* event) override {
    QScrollArea::resizeEvent(event);
    if (NeedsBar() != barShown_) {
      barShown_ = NeedsBar();
      updateGeometry();
    }
  }

private:
  bool NeedsBar() const { return widget()->sizeHint().height() > height() - 2 * frameWidth(); }
  bool barShown_ = false;
};

} // namespace

void TMainForm::BuildWindow() {
  setWindowTitle(T(texts::kCaption));
  setWindowIcon(ProgramIcon());
  // The window font is the label font; the model's symbols (µ, Ω, the edge arrows) are in it.
  QFont font(LabelFontFamily());
  font.setPointSize(8);
  setFont(font);
  // No minimum of its own: the layout's is the window's, made of the toolbar's icons, the side
  // panels and a graph of a usable size, and it follows the panels shown.

  auto* central = new QWidget(this);
  central->setObjectName("Central");
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(BuildToolBar());

  auto* body = new QWidget(central);
  body->setObjectName("Body");
  auto* row = new QHBoxLayout(body);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(BuildPanelCourbe(), 1);

  auto* side = new QWidget;
  side->setObjectName("SidePanels");
  auto* sideRow = new QHBoxLayout(side);
  sideRow->setContentsMargins(0, 0, 0, 0);
  sideRow->setSpacing(0);
  sideRow->addWidget(BuildPanelTemps(), 0, Qt::AlignTop);
  sideRow->addWidget(BuildPanelVoies(), 0, Qt::AlignTop);
  auto* scroll = new TSideScroll(body);
  scroll->setObjectName("SideScroll");
  scroll->setWidget(side);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  row->addWidget(scroll);
  column->addWidget(body, 1);
  setCentralWidget(central);
  // The design widths, or a little more where the label font needs it to keep every caption
  // whole (measured now that the panels have the window's font).
  PanelTemps->setFixedWidth(std::max(kPanelTempsWidth, PanelTemps->minimumSizeHint().width()));
  PanelVoies->setFixedWidth(std::max(kPanelVoiesWidth, PanelVoies->minimumSizeHint().width()));

  VexorAbsent = BuildVexorAbsent();
  VexorAbsent->setParent(body);
  VexorAbsent->hide();

  Header = new QStatusBar(this);
  Header->setObjectName("Header");
  Header->setSizeGripEnabled(true);
  setStatusBar(Header);
  // Any other message (a hint included) replaces the wait for the trigger.
  connect(Header, &QStatusBar::messageChanged, this, [this] { WaitMessageShown = false; });

  Timer = new QTimer(this);
  Timer->setObjectName("Timer");
  Timer->setInterval(110);
  // Sweeps follow each other at this pace: a coarse timer would add up to 5 % to each.
  Timer->setTimerType(Qt::PreciseTimer);
  TimerPoint = new QTimer(this);
  TimerPoint->setObjectName("TimerPoint");
  TimerPoint->setInterval(110);
  TimerGBF = new QTimer(this);
  TimerGBF->setObjectName("TimerGBF");
  TimerGBF->setInterval(200);
  TimerGBF->start();

  resize(kDesignWidth, kDesignHeight);
}

QWidget* TMainForm::BuildToolBar() {
  ToolBar1 = new QFrame;
  ToolBar1->setObjectName("ToolBar1");
  auto* rows = new QVBoxLayout(ToolBar1);
  rows->setContentsMargins(2, 1, 2, 1);
  rows->setSpacing(0);

  auto* first = new QHBoxLayout;
  first->setSpacing(0);
  OptionsBtn = ToolButton(ToolBar1, "OptionsBtn", texts::kOptions, "options", texts::kOptionsHint);
  GBFbtn = ToolButton(ToolBar1, "GBFbtn", texts::kGbf, "gbf");
  GBFbtn->setCheckable(true);
  AutoSetBtn = ToolButton(ToolBar1, "AutoSetBtn", texts::kAutoSet, "autoset");
  AutoSetBtn->hide();
  RegSaveBtn = ToolButton(ToolBar1, "RegSaveBtn", texts::kKalkio, "kalkio", texts::kKalkioHint);
  MatlabBtn = ToolButton(ToolBar1, "MatlabBtn", texts::kMatlab, "matlab");
  HelpBtn = ToolButton(ToolBar1, "HelpBtn", texts::kHelp, "help");
  ConnectHelp();
  PlusBtn = ToolButton(ToolBar1, "PlusBtn", texts::kAbout, "about", texts::kAboutHint);
  ExitBtn = ToolButton(ToolBar1, "ExitBtn", texts::kExit, "exit", texts::kExitHint);
  BuildFileButtons();
  for (QToolButton* b : {OptionsBtn, GBFbtn, AutoSetBtn, RegSaveBtn, MatlabBtn, OuvrirBtn,
                         SauverBtn, ImageBtn, ImprimerBtn})
    first->addWidget(b);
  MesuresBtn = ToolButton(ToolBar1, "MesuresBtn", texts::kMesures, "mesures", texts::kMesuresHint);
  SpectreBtn = ToolButton(ToolBar1, "SpectreBtn", texts::kSpectre, "frequences", texts::kSpectreHint);
  BuildAnalysisButtons(first);
  ModeleBtn = ToolButton(ToolBar1, "ModeleBtn", texts::kModele, "modele", texts::kModeleHint);
  BuildModelButton(first);
  CalculsBtn = ToolButton(ToolBar1, "CalculsBtn", texts::kCalculs, "calculs", texts::kCalculsHint);
  BuildCalculsButton(first);
  OutilsBtn = ToolButton(ToolBar1, "OutilsBtn", texts::kOutils, "outils", texts::kOutilsHint);
  BuildCalcToolsButton(first);
  // "Quitter" stays last.
  for (QToolButton* b : {HelpBtn, PlusBtn, ExitBtn})
    first->addWidget(b);
  first->addStretch();

  auto* second = new QHBoxLayout;
  second->setSpacing(0);
  StopBtn = ToolButton(ToolBar1, "StopBtn", texts::kStop, "stop");
  StopBtn->hide();
  // A one-pixel edit box: where the keyboard focus rests when nothing else should have it.
  Edit1 = new QLineEdit(ToolBar1);
  Edit1->setObjectName("Edit1");
  Edit1->setFixedSize(1, 20);
  Edit1->setFrame(false);
  Edit1->setAccessibleName(T(texts::kFocusRest));
  EnregistreBtn = ToolButton(ToolBar1, "EnregistreBtn", texts::kAcquire, "acquire");
  UndoBtn = ToolButton(ToolBar1, "UndoBtn", texts::kUndo, "undo");
  UndoBtn->hide();
  ResetBtn = ToolButton(ToolBar1, "ResetBtn", texts::kReset, "reset");
  ResetBtn->hide();
  second->addWidget(StopBtn);
  second->addWidget(Edit1);
  for (QToolButton* b : {EnregistreBtn, UndoBtn, ResetBtn})
    second->addWidget(b);
  second->addStretch();

  rows->addLayout(first);
  rows->addLayout(second);
  return ToolBar1;
}

QWidget* TMainForm::BuildPanelVoies() {
  PanelVoies = new QWidget;
  PanelVoies->setObjectName("PanelVoies");

  auto* column = new QVBoxLayout(PanelVoies);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(2);

  PointGB = new QGroupBox(T(texts::kPointGroup), PanelVoies);
  PointGB->setObjectName("PointGB");
  // The box and the threshold one above the other: side by side they do not fit the column.
  auto* point = new QVBoxLayout(PointGB);
  Tighten(point);
  PointAutoCB = new QCheckBox(T(texts::kPointAuto), PointGB);
  PointAutoCB->setObjectName("PointAutoCB");
  DeltaPointSE = new QSpinBox(PointGB);
  DeltaPointSE->setObjectName("DeltaPointSE");
  DeltaPointSE->setRange(1, 9);
  DeltaPointSE->setValue(1);
  DeltaPointSE->setSuffix(QStringLiteral(" %"));
  // Changed by its arrows only, never typed.
  DeltaPointSE->findChild<QLineEdit*>()->setReadOnly(true);
  SetHint(DeltaPointSE, T(texts::kDeltaPointHint));
  point->addWidget(PointAutoCB);
  point->addWidget(DeltaPointSE, 0, Qt::AlignLeft);
  PointGB->hide();
  column->addWidget(PointGB);
  column->addWidget(EnregContinuCB);

  for (int i = 0; i < 4; ++i)
    column->addWidget(BuildChannelGroup(i));
  column->addStretch();
  return PanelVoies;
}

QGroupBox* TMainForm::BuildChannelGroup(int channel) {
  // The design's names of the seven controls of each channel.
  struct Names {
    const char *group, *swatch, *digits, *input, *active, *range, *positive;
  };
  static constexpr Names kNames[4] = {
      {"GroupBox6", "Shape1", "Label2", "RadioGroup1", "CheckBox1", "ComboBox0", "CheckBox10"},
      {"GroupBox7", "Shape2", "Label1", "RadioGroup2", "CheckBox2", "ComboBox1", "CheckBox5"},
      {"GroupBox2", "Shape3", "Label4", "RadioGroup3", "CheckBox3", "ComboBox2", "CheckBox6"},
      {"GroupBox1", "Shape4", "Label5", "RadioGroup4", "CheckBox4", "ComboBox3", "CheckBox7"},
  };
  const Names& n = kNames[channel];
  TChannelControls& c = Channels[channel];
  const QString number = QString::number(channel);

  c.Group = new QGroupBox(T(texts::kChannel) + number);
  c.Group->setObjectName(n.group);
  c.Group->setCursor(Qt::PointingHandCursor);
  auto* grid = new QGridLayout(c.Group);
  Tighten(grid);

  c.Swatch = new TShape(c.Group);
  c.Swatch->setObjectName(n.swatch);
  c.Swatch->setFixedSize(18, 18);
  c.Swatch->setCursor(Qt::PointingHandCursor);
  c.Range = new QComboBox(c.Group);
  c.Range->setObjectName(n.range);
  for (const char* label : texts::kRanges)
    c.Range->addItem(T(label));
  c.Range->setCurrentIndex(7);
  SetHint(c.Range, T(texts::kRangeHint));
  c.Input = new TRadioGroup(T(texts::kInput), c.Group);
  c.Input->setObjectName(n.input);
  c.Input->SetItems({QStringLiteral("Y%1 BNC").arg(channel), QStringLiteral("YD%1").arg(channel)});
  c.Input->SetColumns(2);
  c.Input->SetItemIndex(0);
  c.Active = new QCheckBox(T(texts::kActive), c.Group);
  c.Active->setObjectName(n.active);
  c.Positive = new QCheckBox(T(texts::kPositive), c.Group);
  c.Positive->setObjectName(n.positive);
  SetHint(c.Positive, T(texts::kPositiveHint));
  c.Digits = new QLabel(number, c.Group);
  c.Digits->setObjectName(n.digits);
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setStyleHint(QFont::Monospace);
  mono.setPointSize(12);
  mono.setBold(true);
  c.Digits->setFont(mono);
  c.Digits->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  c.Digits->hide();

  grid->addWidget(c.Swatch, 0, 0);
  grid->addWidget(c.Range, 0, 1);
  grid->addWidget(c.Input, 1, 0, 1, 2);
  auto* boxes = new QHBoxLayout;
  boxes->setSpacing(6);
  boxes->addWidget(c.Active);
  boxes->addWidget(c.Positive);
  boxes->addStretch();
  grid->addLayout(boxes, 2, 0, 1, 2);
  grid->addWidget(c.Digits, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  for (QObject* o : std::initializer_list<QObject*>{c.Group, c.Swatch, c.Digits, c.Input, c.Active,
                                                    c.Range, c.Positive})
    Tag(o, channel);
  return c.Group;
}

QWidget* TMainForm::BuildPanelTemps() {
  PanelTemps = new QWidget;
  PanelTemps->setObjectName("PanelTemps");
  auto* column = new QVBoxLayout(PanelTemps);
  column->setContentsMargins(1, 2, 1, 2);
  column->setSpacing(2);

  SynchroGB = new QGroupBox(T(texts::kSynchro), PanelTemps);
  SynchroGB->setObjectName("SynchroGB");
  auto* synchro = new QVBoxLayout(SynchroGB);
  Tighten(synchro, 2);
  SynchroRG = new TRadioGroup(T(texts::kSynchroSource), SynchroGB);
  SynchroRG->setObjectName("SynchroRG");
  QStringList sources{T(texts::kKeyboard)};
  for (int channel = 0; channel < 4; ++channel)
    sources << T(texts::kChannel) + QString::number(channel);
  SynchroRG->SetItems(sources);
  SynchroRG->SetItemIndex(0);
  MonocoupCB = new QCheckBox(T(texts::kSingleShot), SynchroGB);
  MonocoupCB->setObjectName("MonocoupCB");
  PreAcqCB = new QCheckBox(T(texts::kPreTrigger), SynchroGB);
  PreAcqCB->setObjectName("PreAcqCB");
  EtalonneSeuilBtn = new QToolButton(SynchroGB);
  EtalonneSeuilBtn->setObjectName("EtalonneSeuilBtn");
  EtalonneSeuilBtn->setText(T(texts::kCalibrate));
  EtalonneSeuilBtn->setFocusPolicy(Qt::NoFocus);
  SetHint(EtalonneSeuilBtn, T(texts::kCalibrateHint));
  SensRG = new TRadioGroup(T(texts::kEdge), SynchroGB);
  SensRG->setObjectName("SensRG");
  SensRG->SetItems({AnsiToQString(std::string(1, kAnsiFallingEdge)),
                    AnsiToQString(std::string(1, kAnsiRisingEdge))});
  SensRG->SetColumns(2);
  SensRG->SetItemIndex(0);
  SeuilGB = new QGroupBox(T(texts::kThresholdGroup), SynchroGB);
  SeuilGB->setObjectName("SeuilGB");
  auto* seuil = new QHBoxLayout(SeuilGB);
  Tighten(seuil);
  SeuilEdit = new QLineEdit(SeuilGB);
  SeuilEdit->setObjectName("SeuilEdit");
  SpinButton1 = new TSpinButton(SeuilGB);
  SpinButton1->setObjectName("SpinButton1");
  SpinButton1->SetAccessibleNames(T(texts::kRaiseThreshold), T(texts::kLowerThreshold));
  seuil->addWidget(SeuilEdit, 1);
  seuil->addWidget(SpinButton1);
  for (QWidget* w : {static_cast<QWidget*>(SynchroRG), static_cast<QWidget*>(MonocoupCB),
                     static_cast<QWidget*>(PreAcqCB), static_cast<QWidget*>(EtalonneSeuilBtn),
                     static_cast<QWidget*>(SensRG), static_cast<QWidget*>(SeuilGB)})
    synchro->addWidget(w);
  MonocoupCB->hide();
  PreAcqCB->hide();
  SensRG->hide();
  SeuilGB->hide();
  column->addWidget(SynchroGB);

  PanelDuree = new QLabel(U8(texts::kClockDesign), PanelTemps);
  PanelDuree->setObjectName("PanelDuree");
  PanelDuree->setAlignment(Qt::AlignCenter);
  PanelDuree->setAutoFillBackground(true);
  QPalette clock = PanelDuree->palette();
  clock.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
  clock.setColor(QPalette::WindowText, Qt::white);
  PanelDuree->setPalette(clock);
  QFont clockFont = LabelFont(20, true);
  clockFont.setPointSize(15);
  PanelDuree->setFont(clockFont);
  PanelDuree->hide();
  column->addWidget(PanelDuree);

  BaseDeTempsGB = new QGroupBox(T(texts::kTimeBase), PanelTemps);
  BaseDeTempsGB->setObjectName("BaseDeTempsGB");
  auto* base = new QVBoxLayout(BaseDeTempsGB);
  Tighten(base, 2);
  DureeEdit = new TLabeledEdit(T(texts::kDuration), BaseDeTempsGB);
  DureeEdit->setObjectName("DureeEdit");
  DureeEdit->SetReadOnly(true);
  DureeUpDown = new TUpDown(BaseDeTempsGB);
  DureeUpDown->setObjectName("DureeUpDown");
  DureeUpDown->SetRange(0, 17);
  DureeUpDown->SetAccessibleNames(T(texts::kLongerDuration), T(texts::kShorterDuration));
  FechEdit = new TLabeledEdit(T(texts::kSampleRate), BaseDeTempsGB);
  FechEdit->setObjectName("FechEdit");
  FechEdit->SetReadOnly(true);
  NbreEdit = new TLabeledEdit(T(texts::kPoints), BaseDeTempsGB);
  NbreEdit->setObjectName("NbreEdit");
  NbreEdit->SetReadOnly(true);
  NbreSpin = new TSpinButton(BaseDeTempsGB);
  NbreSpin->setObjectName("NbreSpin");
  NbreSpin->SetAccessibleNames(T(texts::kMorePoints), T(texts::kFewerPoints));
  DureeEdit->SetBeside(DureeUpDown);
  NbreEdit->SetBeside(NbreSpin);
  base->addWidget(DureeEdit);
  base->addWidget(FechEdit);
  base->addWidget(NbreEdit);
  for (TLabeledEdit* e : {DureeEdit, FechEdit, NbreEdit})
    e->Edit()->setFocusPolicy(Qt::ClickFocus);
  column->addWidget(BaseDeTempsGB);
  column->addStretch();
  return PanelTemps;
}

QWidget* TMainForm::BuildPanelCourbe() {
  PanelCourbe = new QWidget;
  PanelCourbe->setObjectName("PanelCourbe");
  PanelCourbe->setAutoFillBackground(true);
  QPalette white = PanelCourbe->palette();
  white.setColor(QPalette::Window, Qt::white);
  PanelCourbe->setPalette(white);
  auto* column = new QVBoxLayout(PanelCourbe);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  GBFPanel = new QFrame(PanelCourbe);
  GBFPanel->setObjectName("GBFPanel");
  GBFPanel->setFixedHeight(kGbfPanelHeight);
  GBFPanel->setFrameShape(QFrame::StyledPanel);
  GBFPanel->setAutoFillBackground(true);
  GBFPanel->setPalette(QApplication::palette());
  BuildGBFPanel();
  GBFPanel->hide();
  ProgressBar = new QProgressBar(PanelCourbe);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setFixedHeight(kProgressBarHeight);
  ProgressBar->setTextVisible(false);
  ProgressBar->setValue(0);
  TempsPaintBox = new TPaintBox(PanelCourbe);
  TempsPaintBox->setObjectName("TempsPaintBox");
  TempsPaintBox->setMinimumSize(kGraphMinimumWidth, kGraphMinimumHeight);
  // Its description, the set-up it shows, is kept by DescribeGraph.
  TempsPaintBox->setAccessibleName(T(texts::kGraphName));
  column->addWidget(GBFPanel);
  column->addWidget(ProgressBar);
  column->addWidget(TempsPaintBox, 1);
  BuildAnalysisPanels(column);
  BuildModelPanel(column);

  // The readout floats over the graph.
  for (QLabel** label : {&LabelX, &LabelY}) {
    *label = new QLabel(PanelCourbe);
    (*label)->setAttribute(Qt::WA_TransparentForMouseEvents);
    (*label)->hide();
  }
  LabelX->setObjectName("LabelX");
  LabelY->setObjectName("LabelY");
  ShapeCurseur = new TShape(PanelCourbe);
  ShapeCurseur->setObjectName("ShapeCurseur");
  ShapeCurseur->SetKind(TShape::RoundSquare);
  ShapeCurseur->SetBrushColour(Qt::red);
  ShapeCurseur->SetPenColour(Qt::yellow);
  ShapeCurseur->setFixedSize(8, 8);
  ShapeCurseur->setAttribute(Qt::WA_TransparentForMouseEvents);
  ShapeCurseur->hide();
  return PanelCourbe;
}

QFrame* TMainForm::BuildVexorAbsent() {
  auto* panel = new QFrame;
  panel->setObjectName("VexorAbsent");
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setAutoFillBackground(true);
  QPalette red = panel->palette();
  red.setColor(QPalette::Window, QColor(200, 0, 0));
  red.setColor(QPalette::WindowText, Qt::white);
  panel->setPalette(red);
  panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);

  auto* title = new QLabel(T(texts::kAbsent), panel);
  title->setObjectName("AbsentTitle");
  QFont big = font();
  big.setPointSize(14);
  big.setBold(true);
  title->setFont(big);
  title->setAlignment(Qt::AlignCenter);
  title->setWordWrap(true);
  ComBtn = new QToolButton(panel);
  ComBtn->setObjectName("ComBtn");
  ComBtn->setText(T(texts::kRetry));
  SetHint(ComBtn, U8(texts::kRetryHint));
  EscapeBtn = new QToolButton(panel);
  EscapeBtn->setObjectName("EscapeBtn");
  EscapeBtn->setText(T(texts::kGiveUp));
  for (QToolButton* b : {ComBtn, EscapeBtn}) {
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setPalette(QApplication::palette());
    b->setAutoRaise(false);
  }
  auto* line = new QLabel(T(texts::kPowerCycle), panel);
  line->setObjectName("AbsentAdvice");
  line->setAlignment(Qt::AlignCenter);
  line->setWordWrap(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ComBtn);
  buttons->addWidget(EscapeBtn);
  buttons->addStretch();
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(12, 10, 12, 10);
  column->setSpacing(8);
  column->addWidget(title);
  column->addLayout(buttons);
  column->addWidget(line);
  return panel;
}

void TMainForm::PlaceVexorAbsent() {
  QWidget* body = VexorAbsent->parentWidget();
  if (body == nullptr)
    return;
  // Over the graph when it is wide enough, over the whole area below the toolbar otherwise,
  // so that its texts and buttons always read whole.
  const QSize want = VexorAbsent->sizeHint().expandedTo(QSize(360, 0));
  const QRect graph = PanelCourbe->geometry();
  const QRect area = graph.width() >= want.width() + 16 ? graph : body->rect();
  const int w = std::min(want.width(), area.width() - 8);
  const int h = std::min(std::max(want.height(), VexorAbsent->heightForWidth(w)), area.height() - 8);
  VexorAbsent->setGeometry(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2,
                           w, h);
  VexorAbsent->raise();
}

void TMainForm::ShowVexorAbsent(bool show) {
  VexorAbsent->setVisible(show);
  if (show)
    PlaceVexorAbsent();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FitToolBarCaptions();
  // Layouts settle on the next pass of the event loop; place the panel after them.
  QTimer::singleShot(0, this, [this] { PlaceVexorAbsent(); });
}

void TMainForm::FitToolBarCaptions() {
  if (ToolBar1 == nullptr)
    return;
  // In a window too narrow for the captions under the icons, the buttons show their icons
  // only (their hints still name them) rather than cut captions.
  QList<QToolButton*> buttons =
      ToolBar1->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
  // The second row (the acquisition buttons) has room enough.
  buttons.removeIf([this](QToolButton* b) {
    return b == StopBtn || b == EnregistreBtn || b == UndoBtn || b == ResetBtn;
  });
  int needed = 0;
  int icons = 0;
  QFontMetrics metrics(font());
  for (QToolButton* b : buttons) {
    if (!b->isHidden()) {
      needed += std::max(b->iconSize().width(), metrics.horizontalAdvance(b->text())) + 16;
      icons += b->iconSize().width() + 16;
    }
  }
  const Qt::ToolButtonStyle style =
      width() >= needed ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly;
  for (QToolButton* b : buttons)
    b->setToolButtonStyle(style);
  // The window may narrow down to the icons alone, not to what the captions need: the
  // toolbar's own minimum would follow its style and keep the captions' width.
  const QMargins margins = ToolBar1->contentsMargins() + ToolBar1->layout()->contentsMargins();
  ToolBar1->setMinimumWidth(icons + margins.left() + margins.right());
}

} // namespace qvt
