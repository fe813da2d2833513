// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the generator panel above the graph. From left to right: the frequency (the
// eight step buttons around the seven-segment display, "Hz" and the update button), the wave
// shape, the preview of two periods, then either the offset, amplitude and duty-cycle groups
// or, for the arbitrary wave, the formula.
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "hints.h"
#include "icons.h"
#include "lcd99.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "paintbox.h"
#include "radiogroup.h"

namespace qvt {
namespace {

using texts::T;

// The frequency panel's geometry: the display is 128 x 32, each step button stands over or
// under its digit. A button whose top lies below 16 pixels is a "-" button.
constexpr int kLcdLeft = 4;
constexpr int kLcdTop = 28;
constexpr int kLcdWidth = 128;
constexpr int kLcdHeight = 32;
constexpr int kStepWidth = kLcdWidth / 4;
constexpr int kStepHeight = 20;
constexpr int kPlusTop = 5;
constexpr int kMinusTop = kLcdTop + kLcdHeight + 3;
constexpr int kGroupWidth = 96;

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}

QScrollBar* Scroll(QWidget* parent, const char* name, int min, int max, int position, int page) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(min, max);
  bar->setValue(position);
  bar->setPageStep(page);
  bar->setSingleStep(1);
  return bar;
}

QPushButton* SmallButton(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(T(caption), parent);
  b->setObjectName(name);
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoDefault(false);
  b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 12);
  return b;
}

// A group of a read-only value, an optional button and a scroll bar under them.
QGroupBox* ValueGroup(QWidget* parent, const char* name, const char* caption, QLineEdit* edit,
                      QPushButton* button, QScrollBar* bar) {
  auto* group = new QGroupBox(T(caption), parent);
  group->setObjectName(name);
  group->setFixedWidth(kGroupWidth);
  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(4, 2, 4, 4);
  column->setSpacing(4);
  auto* row = new QHBoxLayout;
  row->setSpacing(3);
  edit->setParent(group);
  row->addWidget(edit, 1);
  if (button != nullptr) {
    button->setParent(group);
    row->addWidget(button);
  }
  column->addLayout(row);
  bar->setParent(group);
  column->addWidget(bar);
  column->addStretch();
  return group;
}

} // namespace

void TMainForm::BuildGBFPanel() {
  // In a window too narrow for the whole panel, it scrolls sideways rather than letting its
  // controls ride over each other.
  auto* frame = new QVBoxLayout(GBFPanel);
  frame->setContentsMargins(0, 0, 0, 0);
  auto* scroll = new QScrollArea(GBFPanel);
  scroll->setObjectName("GBFScroll");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidgetResizable(true);
  frame->addWidget(scroll);
  auto* content = new QWidget;
  auto* row = new QHBoxLayout(content);
  row->setContentsMargins(2, 1, 2, 1);
  row->setSpacing(4);

  FrequencePanel = new QWidget(GBFPanel);
  FrequencePanel->setObjectName("FrequencePanel");
  FrequencePanel->setFixedSize(kLcdLeft + kLcdWidth + 30, kMinusTop + kStepHeight + 3);
  for (int i = 0; i < 8; ++i) {
    const bool minus = i >= 4;
    const int power = 3 - i % 4;
    auto* b = new QToolButton(FrequencePanel);
    b->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
    b->setText(minus ? QStringLiteral("-") : QStringLiteral("+"));
    b->setProperty("Tag", power);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(kLcdLeft + (i % 4) * kStepWidth + 1, minus ? kMinusTop : kPlusTop,
                   kStepWidth - 2, kStepHeight);
    FrequencyBtns[i] = b;
  }
  LCD10k = new TLCD99(FrequencePanel);
  LCD10k->setObjectName("LCD10k");
  LCD10k->setGeometry(kLcdLeft, kLcdTop, kLcdWidth, kLcdHeight);
  LCD10k->SetDigitSpacing(8);
  LCD10k->SetValue("1000");
  LCD10k->setAccessibleName(T(texts::kFrequencyDisplay));
  HzLabel = new QLabel(T(texts::kHz), FrequencePanel);
  HzLabel->setObjectName("HzLabel");
  HzLabel->setGeometry(kLcdLeft + kLcdWidth + 4, kLcdTop, 24, kLcdHeight);
  HzLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  MajBtn = new QToolButton(FrequencePanel);
  MajBtn->setObjectName("MajBtn");
  MajBtn->setIconSize(QSize(20, 20));
  MajBtn->setIcon(ToolIcon("update_pending_a"));
  MajBtn->setAutoRaise(true);
  MajBtn->setFocusPolicy(Qt::NoFocus);
  // The update button under "Hz", beside the "-" row: the panel stays narrow.
  MajBtn->setGeometry(kLcdLeft + kLcdWidth + 2, kMinusTop - 3, 26, 26);
  SetHint(MajBtn, T(texts::kMajHint));
  MajBtn->setAccessibleName(LongHint(T(texts::kMajHint)));
  row->addWidget(FrequencePanel);

  signalRG = new TRadioGroup(T(texts::kSignal), GBFPanel);
  signalRG->setObjectName("signalRG");
  QStringList shapes;
  for (const char* s : texts::kWaveforms)
    shapes << T(s);
  signalRG->SetItems(shapes);
  signalRG->SetColumns(2);
  signalRG->SetItemIndex(0);
  row->addWidget(signalRG);

  GbfPB = new TPaintBox(GBFPanel);
  GbfPB->setObjectName("GbfPB");
  GbfPB->setMinimumSize(120, 60);
  row->addWidget(GbfPB, 1);

  OffsetEdit = ReadOnlyEdit(GBFPanel, "OffsetEdit");
  OffsetScroll = Scroll(GBFPanel, "OffsetScroll", -1000, 1000, 0, 16);
  OffsetNulBtn = SmallButton(GBFPanel, "OffsetNulBtn", texts::kZero);
  OffsetGB = ValueGroup(GBFPanel, "OffsetGB", texts::kOffsetGroup, OffsetEdit, OffsetNulBtn,
                        OffsetScroll);
  AmplitudeEdit = ReadOnlyEdit(GBFPanel, "AmplitudeEdit");
  AmplitudeScroll = Scroll(GBFPanel, "AmplitudeScroll", 0, 1000, 100, 16);
  AmplitudeGB = ValueGroup(GBFPanel, "AmplitudeGB", texts::kAmplitudeGroup, AmplitudeEdit, nullptr,
                           AmplitudeScroll);
  DutyEdit = ReadOnlyEdit(GBFPanel, "DutyEdit");
  DutyScroll = Scroll(GBFPanel, "DutyScroll", 1, 99, 50, 10);
  Duty50Btn = SmallButton(GBFPanel, "Duty50Btn", texts::kDuty50);
  DutyGB = ValueGroup(GBFPanel, "DutyGB", texts::kDutyGroup, DutyEdit, Duty50Btn, DutyScroll);
  for (QWidget* g : {OffsetGB, AmplitudeGB, DutyGB})
    row->addWidget(g);

  ExpressionPanel = new QWidget(GBFPanel);
  ExpressionPanel->setObjectName("ExpressionPanel");
  auto* formula = new QVBoxLayout(ExpressionPanel);
  formula->setContentsMargins(4, 8, 4, 8);
  auto* label = new QLabel(T(texts::kExpressionLabel), ExpressionPanel);
  label->setWordWrap(true);
  ExpressionEdit = new QLineEdit(QStringLiteral("t*5"), ExpressionPanel);
  ExpressionEdit->setObjectName("ExpressionEdit");
  label->setBuddy(ExpressionEdit);
  formula->addWidget(label);
  formula->addWidget(ExpressionEdit);
  formula->addStretch();
  ExpressionPanel->setMinimumWidth(2 * kGroupWidth);
  ExpressionPanel->hide();
  row->addWidget(ExpressionPanel, 2);
  scroll->setWidget(content);
}

} // namespace qvt
