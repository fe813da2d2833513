// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file through the main window: the first run, a file with one key, a level
// under a comma locale, closing without the interface, and what the window does not know.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "config_file_name.h"
#include "graph_settings.h"
#include "lcd99.h"
#include "mainform_fixture.h"
#include "options_dlg.h"
#include "program_language.h"

namespace qvt {
namespace {

class SettingsTest : public MainFormFileTest {
protected:
  void TearDown() override {
    MainFormFileTest::TearDown();
    DemoOnFirstRun = false;
    FastDisplay = false;
    ForceDecimalSeparator('\0');
  }
  void WriteFile(const std::string& content) { std::ofstream(ConfigFileName, std::ios::binary) << content; }
};

TEST_F(SettingsTest, FirstRunKeepsTheDesignValuesAndClosingWritesThem) {
  Start();
  EXPECT_EQ(form->Channels[0].Range->currentText(), "15 V");
  EXPECT_TRUE(OscGraph->Curves[0].Visible);
  EXPECT_FALSE(OscGraph->Curves[1].Visible);
  EXPECT_EQ(form->SynchroRG->ItemIndex(), 0);
  Close();
  const std::string file = ReadFile();
  EXPECT_EQ(file.rfind("[Affichage]\r\nDimPoint=2\r\n", 0), 0u) << file;
  EXPECT_EQ(file.find("Rapide"), std::string::npos) << "an option left off adds no key";
  EXPECT_NE(file.find("[Voie3]\r\nActive=0\r\nDiff=0\r\nCalibre=7\r\n"), std::string::npos);
  EXPECT_NE(file.find("Expression=t*5\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AFirstRunOnTheVirtualInterfaceShowsItsSignalsAndAFileKeepsItsOwnSetUp) {
  DemoOnFirstRun = true;
  Start();
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(OscGraph->Curves[i].Visible) << i;
  EXPECT_EQ(form->SynchroRG->ItemIndex(), 2) << "Voie 1";
  EXPECT_EQ(form->SensRG->ItemIndex(), 1) << "rising";
  EXPECT_EQ(form->DureeEdit->Text(), "20 ms");
  EXPECT_FALSE(form->GBFPanel->isHidden());
  EXPECT_EQ(form->LCD10k->Value(), "440");
  ASSERT_TRUE(WaitFor([] { return Generator->Running; }));
  // The generator's sine comes back on Voie 0: a live trace, not a flat line.
  ASSERT_TRUE(WaitFor([] {
    const TSamples& v = OscGraph->Curves[0].Value;
    const auto [lo, hi] = std::minmax_element(&v[0], &v[0] + OscGraph->FilledCount);
    return OscGraph->FilledCount > 0 && *hi - *lo > 0.5;
  }));
  Close();

  // A settings file, even of one key, keeps the design values for the rest.
  std::remove(ConfigFileName.c_str());
  WriteFile("[Voie1]\r\nActive=1\r\n");
  Start();
  EXPECT_FALSE(OscGraph->Curves[2].Visible);
  EXPECT_EQ(form->SynchroRG->ItemIndex(), 0);
  EXPECT_TRUE(form->GBFPanel->isHidden());
}

TEST_F(SettingsTest, TheFastDisplayQuickensContinuousFastSweepsOnlyAndIsKept) {
  Start();
  Activate(2);
  Trigger(3);
  TimeBase(k1ms);
  EXPECT_EQ(form->Timer->interval(), 110) << "off by default";
  WhenShown<TOptionsDlg>([](TOptionsDlg* d) {
    d->RapideCB->setChecked(true);
    d->BtnOK->click();
  });
  form->OptionsBtnClick();
  ASSERT_TRUE(FastDisplay);
  // Paced on the screen's frames: never longer than a frame of the slowest screen counted.
  EXPECT_TRUE(WaitFor([&] { return Running() && form->Timer->interval() <= 34; }));
  SingleShot(true);
  form->EnregistreBtn->click();
  EXPECT_EQ(form->Timer->interval(), 110) << "a single shot";
  SingleShot(false);
  TimeBase(k20s);
  EXPECT_TRUE(WaitFor([&] { return Running() && form->Timer->interval() == 110; })) << "slow";
  Close();
  EXPECT_NE(ReadFile().find("Rapide=1\r\n"), std::string::npos);
  FastDisplay = false;
  Start();
  EXPECT_TRUE(FastDisplay) << "read back";
}

TEST_F(SettingsTest, TheLanguageIsWrittenOnlyOnceChosenAndShownAgain) {
  const std::string teacher = "[Affichage]\r\nGrille=1\r\n";
  WriteFile(teacher);
  Start();
  // Options accepted without a change of language: the key stays out of the file.
  WhenShown<TOptionsDlg>([](TOptionsDlg* d) {
    EXPECT_EQ(d->LangueCombo->currentIndex(), 0) << "Automatique";
    d->BtnOK->click();
  });
  form->OptionsBtnClick();
  Close();
  EXPECT_EQ(ReadFile().find("Langue"), std::string::npos) << ReadFile();

  Start();
  WhenShown<TOptionsDlg>([](TOptionsDlg* d) {
    d->LangueCombo->setCurrentIndex(2);
    d->BtnOK->click();
  });
  form->OptionsBtnClick();
  Close();
  EXPECT_NE(ReadFile().find("Langue=2\r\n"), std::string::npos) << ReadFile();
  EXPECT_EQ(ReadLanguageChoice(ConfigFileName), TLanguageChoice::English) << "read at start";

  Start();
  int shown = -1;
  WhenShown<TOptionsDlg>([&shown](TOptionsDlg* d) {
    shown = d->LangueCombo->currentIndex();
    d->BtnCancel->click();
  });
  form->OptionsBtnClick();
  EXPECT_EQ(shown, 2);
}

TEST_F(SettingsTest, OneKeyActivatesChannelOneBesideTheDefaultChannelZero) {
  WriteFile("[Voie1]\r\nActive=1\r\n");
  Start();
  EXPECT_TRUE(OscGraph->Curves[0].Visible);
  EXPECT_TRUE(OscGraph->Curves[1].Visible);
  EXPECT_FALSE(OscGraph->Curves[2].Visible);
}

TEST_F(SettingsTest, ALevelWrittenUnderACommaLocaleReadsBackUnderIt) {
  ForceDecimalSeparator(',');
  WriteFile("[Synchro]\r\nMode=2\r\n[Voie1]\r\nActive=1\r\n");
  Start();
  form->SeuilEdit->setText("1,5");
  form->SeuilEdit->setModified(true);
  form->SeuilEditExit();
  const double level = Device->Threshold();
  EXPECT_NEAR(level, 1.5, 0.01);
  Close();
  EXPECT_NE(ReadFile().find("Seuil=1,5"), std::string::npos) << ReadFile();
  Start();
  EXPECT_DOUBLE_EQ(Device->Threshold(), level);
}

TEST_F(SettingsTest, WhatTheWindowDoesNotKnowSurvivesAndGarbageIsHarmless) {
  const std::string other = "; a teacher's note\r\n[Constante]\r\nNom=R\r\nUnit\xE9=k\x9D\r\n\r\n"
                            "[Salle 12]\r\nbanc=3\r\nthis line has no equals sign\r\n\x01\xff\r\n";
  WriteFile(other + "[Temps]\r\nDuree=99\r\n[Synchro]\r\nMode=-3\r\nSeuil=abc\r\n");
  Start();
  EXPECT_FALSE(form->Loading);
  EXPECT_EQ(form->DureeUpDown->Position(), 25) << "brought into the list";
  EXPECT_EQ(form->SynchroRG->ItemIndex(), 0);
  Close();
  EXPECT_EQ(ReadFile().rfind(other, 0), 0u) << "kept byte for byte, in place";
}

TEST_F(SettingsTest, ClosingWithoutTheInterfaceLeavesTheFileAlone) {
  const std::string content = "[Temps]\nDuree=3\n";
  WriteFile(content);
  Start("", false);
  QSettings("QVT2").remove("Window");
  Close();
  EXPECT_EQ(ReadFile(), content);
  EXPECT_TRUE(QSettings("QVT2").contains("Window/Left")) << "the placement is still written";
}

} // namespace
} // namespace qvt
