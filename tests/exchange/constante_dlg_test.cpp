// SPDX-License-Identifier: GPL-3.0-or-later
// TConstanteDlg: the check of the constant's value, and the keys it keeps in the settings file.
#include "constante_dlg.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <string>

#include "config_file_name.h"
#include "labelededit.h"
#include "message_box.h"
#include "numtext.h"
#include "../platform/qt_test_app.h"

namespace qvt {
namespace {

class ConstanteDlgTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("qvt2.qvt2");
    previous_ = SetMessageHook([this](TMessageKind, const QString& text) { boxes_ << text; });
  }
  void TearDown() override {
    SetMessageHook(previous_);
    ConfigFileName.clear();
    ForceDecimalSeparator('\0');
  }
  std::string ReadAll() const {
    QFile file(path_);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
  }
  void WriteAll(const std::string& bytes) const {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  QTemporaryDir dir_;
  QString path_;
  QStringList boxes_;
  TMessageHook previous_;
};

TEST_F(ConstanteDlgTest, OkChecksTheValueOnly) {
  struct Case {
    char mark;
    const char* value;
    bool accepted;
  };
  for (const Case& c : {Case{'.', "4,7k", true}, Case{',', "4,7k", true}, Case{',', "4.7k", true},
                        Case{'.', "", true}, Case{'.', "1e-3", true}, Case{'.', "4,7x", false},
                        Case{',', "quatre", false}}) {
    ForceDecimalSeparator(c.mark);
    boxes_.clear();
    TConstanteDlg dlg;
    dlg.ValeurConstEdit->SetText(c.value);
    dlg.show();
    dlg.OKBtnClick();
    EXPECT_EQ(dlg.isVisible(), !c.accepted) << c.value << " " << c.mark;
    EXPECT_EQ(dlg.result(), c.accepted ? QDialog::Accepted : QDialog::Rejected) << c.value;
    EXPECT_EQ(boxes_, c.accepted ? QStringList{} : QStringList{"Nombre mal écrit"}) << c.value;
    EXPECT_EQ(dlg.Info("").Value, c.value); // carried as typed
  }
}

TEST_F(ConstanteDlgTest, KeysReadAtCreationAndWrittenBackAtDestruction) {
  const std::string before = "[Affichage]\r\nGrille=1\r\n\r\n[Constante]\r\nNom=C\r\n"
                             "Unit\xE9=\xB5" "F\r\nComm=charge\r\n; fin\r\n[GBF]\r\nActif=0\r\n";
  WriteAll(before);
  ConfigFileName = path_.toStdString();
  {
    TConstanteDlg dlg;
    EXPECT_EQ(dlg.NomConstEdit->Text(), "C");
    EXPECT_EQ(dlg.UniteConstEdit->Text(), "µF");
    EXPECT_EQ(dlg.EditComm->text(), "charge");
  }
  EXPECT_EQ(ReadAll(), before);
  {
    TConstanteDlg dlg;
    dlg.UniteConstEdit->SetText("kΩ");
    dlg.EditComm->setText("décharge");
  }
  EXPECT_EQ(ReadAll(), "[Affichage]\r\nGrille=1\r\n\r\n[Constante]\r\nNom=C\r\n"
                       "Unit\xE9=k\x9D\r\nComm=d\xE9" "charge\r\n; fin\r\n[GBF]\r\nActif=0\r\n");
}

TEST_F(ConstanteDlgTest, NoFileUntilThereIsSomethingToKeep) {
  ConfigFileName = path_.toStdString();
  { TConstanteDlg dlg; }
  EXPECT_FALSE(QFile::exists(path_));
  {
    TConstanteDlg dlg;
    dlg.NomConstEdit->SetText("R");
  }
  EXPECT_EQ(ReadAll(), "[Constante]\r\nNom=R\r\n") << "empty keys the file lacks stay out";
}

} // namespace
} // namespace qvt
