// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the settings file. It is read once while the window is created (Loading set,
// so no handler acts on the values as they are put into the controls) and written when the
// window closes with the interface open. The file is rewritten in place: sections and keys
// this window does not know (the transfer's "Constante", a teacher's comments) stay as
// they were.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QtDebug>

#include <algorithm>
#include <string>

#include "ansi.h"
#include "config_file_name.h"
#include "globals.h"
#include "graph_settings.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "inifile.h"
#include "lcd99.h"
#include "mainform.h"
#include "program_language.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "spinbuttons.h"

namespace qvt {
namespace {

constexpr char kDisplay[] = "Affichage";
constexpr char kPoint[] = "Point";
constexpr char kOscillo[] = "Oscillo";
constexpr char kSynchro[] = "Synchro";
constexpr char kTime[] = "Temps";
constexpr char kGbf[] = "GBF";

std::string ChannelSection(int channel) {
  return "Voie" + std::to_string(channel);
}

// The six keys of a channel into curve `curve` and the channel's controls.
void ReadChannel(const TIniFile& ini, int i, TCourbe& curve, TChannelControls& c) {
  const std::string section = ChannelSection(i);
  curve.Visible = ini.ReadBool(section, "Active", i == 0);
  c.Input->SetItemIndex(std::clamp(ini.ReadInteger(section, "Diff", 0), 0, 1));
  curve.Mini = ini.ReadFloat(section, "Mini", -15);
  curve.Maxi = ini.ReadFloat(section, "Maxi", 15);
  // A position off the list would leave no range chosen: it is brought into the list.
  c.Range->setCurrentIndex(std::clamp(ini.ReadInteger(section, "Calibre", 4), 0, c.Range->count() - 1));
  c.Positive->setChecked(ini.ReadBool(section, "Positif", false));
  c.Active->setChecked(curve.Visible);
}

// The "Langue" option as the file holds it; a value the program does not know is automatic,
// as at start.
int ReadLanguage(const TIniFile& ini) {
  const int value = ini.ReadInteger(kDisplay, "Langue", 0);
  return value == static_cast<int>(TLanguageChoice::French) ||
                 value == static_cast<int>(TLanguageChoice::English)
             ? value
             : static_cast<int>(TLanguageChoice::Automatic);
}

} // namespace

void TMainForm::LoadSettings() {
  if (ConfigFileName.empty() || !QFileInfo::exists(QString::fromStdString(ConfigFileName))) {
    // First run: the design values stand, except on the virtual interface, where a newcomer
    // would see a flat line.
    if (DemoOnFirstRun)
      ApplyDemoSetUp();
    return;
  }
  TIniFile ini(ConfigFileName);
  if (!ini.ErrorString().isEmpty()) {
    qWarning().noquote() << ConfigFileName.c_str() << ":" << ini.ErrorString();
    return;
  }

  ShowGrid = ini.ReadBool(kDisplay, "Grille", false);
  FastDisplay = ini.ReadBool(kDisplay, "Rapide", false);
  LanguageChoice = ReadLanguage(ini);
  PointAutoCB->setChecked(ini.ReadBool(kPoint, "Auto", true));
  DeltaPointSE->setValue(ini.ReadInteger(kPoint, "PourCent", 1));
  const int abscissa = ini.ReadInteger(kDisplay, "Abscisse", 0);
  PointGraph->Abscissa = static_cast<std::uint8_t>(abscissa >= 0 && abscissa <= 3 ? abscissa : 0);
  PointGraph->PointCount = 0;
  for (int i = 0; i < 4; ++i)
    ReadChannel(ini, i, PointGraph->Curves[i], Channels[i]);
  // Sizes that would make the graph unreadable are brought back to what the options offer.
  PointSize = std::clamp(ini.ReadInteger(kDisplay, "DimPoint", PointSize), 1, 10);
  LineWidth = std::clamp(ini.ReadInteger(kDisplay, "PenWidth", 1), 1, 5);
  ShowGrid = ini.ReadBool(kDisplay, "Grille", false);
  OscGraph->Separate = ini.ReadBool(kOscillo, "AnalLog", false);
  OscGraph->SetMaxPoints(ini.ReadInteger(kOscillo, "Nbre", 1000));
  OscGraph->FilledCount = 0;
  for (int i = 0; i < 4; ++i)
    ReadChannel(ini, i, OscGraph->Curves[i], Channels[i]);

  // "Mode" and "Duree" outside their lists are brought to the nearest item.
  const int mode = std::clamp(ini.ReadInteger(kSynchro, "Mode", 0), 0, 4);
  SynchroRG->SetItemIndex(mode);
  OscGraph->TriggerChannel = static_cast<std::uint8_t>(mode == 0 ? TgrapheOsc::kNoTrigger : mode - 1);
  // The level is converted with the offset the device object holds now (0 at start-up).
  ApplyThreshold(ini.ReadFloat(kSynchro, "Seuil", 0));
  SensRG->SetItemIndex(std::clamp(ini.ReadInteger(kSynchro, "Sens", 0), 0, 1));
  PreAcqCB->setChecked(ini.ReadBool(kSynchro, "PreAcq", false));
  MonocoupCB->setChecked(ini.ReadBool(kSynchro, "Monocoup", false));
  const int duration = std::clamp(ini.ReadInteger(kTime, "Duree", 0), 0, 25);
  DureeUpDown->SetPosition(duration);
  Device->SetTimeBase(duration);
  Device->ThresholdOffset = ini.ReadFloat(kSynchro, "offset", 0);

  signalRG->SetItemIndex(std::clamp(ini.ReadInteger(kGbf, "Signal", 0), 0, 3));
  AmplitudeScroll->setValue(ini.ReadInteger(kGbf, "Amplitude", 100));
  DutyScroll->setValue(ini.ReadInteger(kGbf, "Duty", 50));
  OffsetScroll->setValue(ini.ReadInteger(kGbf, "Offset", 0));
  // A frequency the display cannot show, or outside 1..9999, keeps the design value.
  const std::string hertz = ini.ReadString(kGbf, "Frequence", "1000");
  const int f = std::atoi(hertz.c_str());
  if (TLCD99::IsValidValue(hertz) && f >= 1 && f <= 9999)
    LCD10k->SetValue(std::to_string(f));
  ExpressionEdit->setText(AnsiToQString(ini.ReadString(kGbf, "Expression", "t*5")));
  GBFbtn->setChecked(ini.ReadBool(kGbf, "Actif", false));
  LoadAnalysisSettings(ini);
  LoadModelSettings(ini);
  LoadComputedQuantities(ini);
}

void TMainForm::ApplyDemoSetUp() {
  // The four channels on the 5 V range (the virtual interface's signals reach 2 V), the sine
  // of "Voie 1" triggering rising at 0 V, "20 ms", and the generator playing a 440 Hz sine,
  // which the virtual interface loops back to "Voie 0".
  constexpr int k5Volts = 6;
  for (int i = 0; i < 4; ++i) {
    OscGraph->Curves[i].Visible = true;
    Channels[i].Active->setChecked(true);
    Channels[i].Range->setCurrentIndex(k5Volts);
  }
  SynchroRG->SetItemIndex(2);
  OscGraph->TriggerChannel = 1;
  SensRG->SetItemIndex(1);
  ApplyThreshold(0);
  constexpr int k20ms = 10;
  DureeUpDown->SetPosition(k20ms);
  Device->SetTimeBase(k20ms);
  constexpr int kSineWave = 2; // "Sinus"
  signalRG->SetItemIndex(kSineWave);
  LCD10k->SetValue("440");
  GBFbtn->setChecked(true);
}

void TMainForm::SaveSettings() {
  if (ConfigFileName.empty())
    return;
  TIniFile ini(ConfigFileName);
  if (!ini.ErrorString().isEmpty()) {
    // A file that cannot be read is not overwritten with what little this window knows.
    qWarning().noquote() << ConfigFileName.c_str() << ":" << ini.ErrorString();
    return;
  }
  // An opened file's curves are not the user's settings: the live ones are written.
  SwapShownCurves();
  ini.WriteInteger(kDisplay, "DimPoint", PointSize);
  ini.WriteInteger(kDisplay, "PenWidth", LineWidth);
  ini.WriteBool(kDisplay, "Grille", ShowGrid);
  // A file written before the option existed keeps its bytes while the option stays off.
  if (FastDisplay || ini.ValueExists(kDisplay, "Rapide"))
    ini.WriteBool(kDisplay, "Rapide", FastDisplay);
  // Written only once the user chose another language: a file without the key keeps its bytes.
  if (LanguageChoice != ReadLanguage(ini))
    ini.WriteInteger(kDisplay, "Langue", LanguageChoice);
  ini.WriteBool(kPoint, "Auto", PointAutoCB->isChecked());
  ini.WriteInteger(kPoint, "PourCent", DeltaPointSE->value());
  ini.WriteInteger(kDisplay, "Abscisse", PointGraph->Abscissa);
  ini.WriteBool(kOscillo, "AnalLog", OscGraph->Separate);
  ini.WriteInteger(kOscillo, "Nbre", OscGraph->MaxPoints);
  for (int i = 0; i < 4; ++i) {
    const std::string section = ChannelSection(i);
    const TCourbeOsc& curve = OscGraph->Curves[i];
    ini.WriteBool(section, "Active", curve.Visible);
    ini.WriteInteger(section, "Diff", Channels[i].Input->ItemIndex());
    ini.WriteInteger(section, "Calibre", Channels[i].Range->currentIndex());
    ini.WriteBool(section, "Positif", Channels[i].Positive->isChecked());
    ini.WriteFloat(section, "Mini", curve.Mini);
    ini.WriteFloat(section, "Maxi", curve.Maxi);
  }
  ini.WriteInteger(kTime, "Duree", DureeUpDown->Position());
  ini.WriteInteger(kSynchro, "Mode", SynchroRG->ItemIndex());
  ini.WriteInteger(kSynchro, "Sens", SensRG->ItemIndex());
  ini.WriteFloat(kSynchro, "Seuil", Device->Threshold());
  ini.WriteBool(kSynchro, "PreAcq", PreAcqCB->isChecked());
  ini.WriteBool(kSynchro, "Monocoup", MonocoupCB->isChecked());
  ini.WriteFloat(kSynchro, "offset", Device->ThresholdOffset);
  ini.WriteInteger(kGbf, "Amplitude", AmplitudeScroll->value());
  ini.WriteInteger(kGbf, "Signal", signalRG->ItemIndex());
  ini.WriteInteger(kGbf, "Duty", DutyScroll->value());
  ini.WriteInteger(kGbf, "Offset", OffsetScroll->value());
  ini.WriteString(kGbf, "Frequence", LCD10k->Value());
  // The formula the panel shows: the generator holds it only once the panel has computed a
  // wave, and a formula read from the file must not be lost for want of that.
  ini.WriteString(kGbf, "Expression", AnsiFromQString(ExpressionEdit->text()));
  ini.WriteBool(kGbf, "Actif", GBFbtn->isChecked());
  SaveAnalysisSettings(ini);
  SaveModelSettings(ini);
  SaveComputedQuantities(ini);
  SwapShownCurves();
  // Written once, whole or not at all: a failure leaves the old file as it was.
  if (!ini.Save())
    qWarning().noquote() << ConfigFileName.c_str() << ":" << ini.ErrorString();
}

} // namespace qvt
