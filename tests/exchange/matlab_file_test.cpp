// SPDX-License-Identifier: GPL-3.0-or-later
// The Matlab file of a sweep: its name, its lines, its numbers, and a failed write.
#include "matlab_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

#include "graphe_osc.h"
#include "numtext.h"

namespace qvt {
namespace {

class MatlabFile : public ::testing::Test {
protected:
  // A "1 ms" sweep: 2500 points and 500 before the trigger, 1/2.5 µs apart; channels 0 and 2.
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    g_.FilledCount = 3000;
    for (int j = 0; j < 3000; ++j) {
      g_.TimeCurve.Value[j] = (j - 500) * 4e-7;
      g_.Curves[0].Value[j] = 0.25;
      g_.Curves[2].Value[j] = -1.5;
    }
    g_.Curves[0].Visible = true;
    g_.Curves[2].Visible = true;
  }
  static std::string ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
  }

  QTemporaryDir dir_;
  TgrapheOsc g_;
};

TEST_F(MatlabFile, NameAlwaysEndsInM) {
  EXPECT_EQ(MatlabFileName("/home/eleve/mesure.txt"), "/home/eleve/mesure.M");
  EXPECT_EQ(MatlabFileName("/home/tp.2/mesure"), "/home/tp.2/mesure.M");
}

TEST_F(MatlabFile, OneLinePerVisibleChannelWithPointsUnderEitherMark) {
  for (char mark : {'.', ','}) {
    ForceDecimalSeparator(mark);
    QString reason;
    ASSERT_TRUE(WriteMatlabFile(dir_.filePath("sweep.txt"), g_, reason)) << reason.toStdString();
    EXPECT_FALSE(QFile::exists(dir_.filePath("sweep.txt")));
    const std::string text = ReadAll(dir_.filePath("sweep.M"));

    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2)
      lines.push_back(text.substr(start, end - start));
    ASSERT_EQ(lines.size(), 4u) << mark;
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1].rfind("t=[-0.0002,-0.0001996,", 0), 0u) << mark;
    EXPECT_EQ(lines[2].rfind("V0=[0.25,0.25,", 0), 0u);
    EXPECT_EQ(lines[3].rfind("V2=[-1.5,-1.5,", 0), 0u);
    for (const std::string& line : {lines[1], lines[2], lines[3]}) {
      EXPECT_EQ(line.back(), ']');
      EXPECT_EQ(std::count(line.begin(), line.end(), ','), 2999);
      EXPECT_EQ(line.find_first_of(" \t;"), std::string::npos);
    }
    EXPECT_EQ(text.size(), 2 + lines[1].size() + lines[2].size() + lines[3].size() + 6);
  }
  ForceDecimalSeparator('\0');
}

TEST_F(MatlabFile, UnwritableFolderGivesTheReasonAndNoFile) {
  QString reason;
  EXPECT_FALSE(WriteMatlabFile(dir_.filePath("absent/sweep.txt"), g_, reason));
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
} // namespace qvt
