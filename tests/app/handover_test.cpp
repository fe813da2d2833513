// SPDX-License-Identifier: GPL-3.0-or-later
// Handing the data on from the main window: the Matlab file of the last sweep and the transfer
// to Kalkio when no Kalkio can be reached (the block stays on the clipboard).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <vector>

#include "constante_dlg.h"
#include "graphe_point.h"
#include "mainform_fixture.h"
#include "message_box.h"

namespace qvt {
namespace {

class HandoverTest : public MainFormTest {
protected:
  void SetUp() override {
    SetMessageHook([this](TMessageKind, const QString& text) { boxes.push_back(text); });
  }
  void TearDown() override {
    SetMessageHook({});
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    MainFormTest::TearDown();
  }
  static void SaveAs(const QString& name, const QString& filter) {
    WhenShown<QFileDialog>([name, filter](QFileDialog* d) {
      d->selectNameFilter(filter);
      d->selectFile(name);
      QMetaObject::invokeMethod(d, "accept");
    });
  }
  std::vector<QString> boxes;
};

TEST_F(HandoverTest, MatlabFileOfTheLastSweepAlwaysEndsInDotM) {
  Start();
  form->MatlabBtnClick();
  ASSERT_EQ(boxes.size(), 1u) << "nothing to save before a sweep";

  Activate(2);
  TimeBase(k1ms);
  ASSERT_TRUE(WaitFor([&] { return Idle() && OscGraph->FilledCount == 1700; }));
  QTemporaryDir dir;
  SaveAs(dir.filePath("mesure.txt"), "texte (*.txt)");
  form->MatlabBtnClick();
  QFile file(dir.filePath("mesure.M"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_EQ(lines.size(), 5); // four lines ended by CR LF
  EXPECT_EQ(lines[0], "\r");
  EXPECT_TRUE(lines[1].startsWith("t=["));
  EXPECT_TRUE(lines[3].startsWith("V2=["));
  EXPECT_EQ(lines[3].count(',') + 1, 1700);
  EXPECT_FALSE(QFile::exists(dir.filePath("mesure.txt")));

  // A folder that cannot be made (a file stands where it should be, which stops root too):
  // the box names the file.
  QFile(dir.filePath("absent")).open(QIODevice::WriteOnly);
  SaveAs(dir.filePath("absent/sub/x.M"), "matlab (*.M)");
  form->MatlabBtnClick();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[1].contains("x.M"));
}

TEST_F(HandoverTest, PointsGoToTheClipboardWhenKalkioCannotBeReached) {
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
  Start();
  Activate(1);
  form->PointAutoCB->setChecked(false);
  form->PointMode = true;
  form->Reconfigure();
  for (int i = 0; i < 3; ++i)
    form->EnregistreBtn->click();
  ASSERT_TRUE(form->RegSaveBtn->isEnabled());
  WhenShown<TConstanteDlg>([](TConstanteDlg* d) { d->accept(); });
  form->RegSaveBtnClick();
  EXPECT_TRUE(form->TimerPoint->isActive());
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back(), "Impossible de lancer Kalkio");
  const QString block = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(block.contains("num\tV0\tV1\r\n")) << block.toStdString();
  EXPECT_TRUE(block.contains("&1 NOMX\r\nV0\r\n&1 NOMY\r\nV1\r\n"));
}

} // namespace
} // namespace qvt
