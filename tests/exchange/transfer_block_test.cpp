// SPDX-License-Identifier: GPL-3.0-or-later
// The block a transfer hands Kalkio: decimation, the visible columns, the value texts, the
// constant block and the name blocks of both modes.
#include "transfer_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphe_osc.h"
#include "graphe_point.h"
#include "numtext.h"

namespace qvt {
namespace {

using Lines = std::vector<std::string>;

TTransferInfo Info() {
  TTransferInfo info;
  info.Title = "Vexor QVT 2";
  info.Comment = "pendule";
  return info;
}

// t = 1 ms per sample, channel i = i + sample / 1000.
void Fill(TgrapheOsc& g, int count) {
  g.FilledCount = static_cast<std::uint16_t>(count);
  for (int j = 0; j < count; ++j) {
    g.TimeCurve.Value[j] = j * 1e-3;
    for (int c = 0; c < 4; ++c)
      g.Curves[c].Value[j] = c + j / 1000.0;
  }
}

TEST(OscBlock, DecimatesToMaxPointsRows) {
  TgrapheOsc g;
  g.Curves[0].Visible = true;
  Fill(g, 2500);
  g.MaxPoints = 500;
  const Lines block = OscBlock(g, Info());
  // 3 header lines, 3 column lines, 500 rows, "&1 NOMX", "t", "&1 NOMY", "V0".
  ASSERT_EQ(block.size(), 3u + 3u + 500u + 4u);
  EXPECT_EQ(block[6], "0\t0");
  EXPECT_EQ(block[7], "0.005\t0.005");
  EXPECT_EQ(block[505], "2.495\t2.495");
  EXPECT_EQ(block[506], "&1 NOMX");
}

TEST(OscBlock, ColumnsFollowTheVisibleChannels) {
  TgrapheOsc g;
  Fill(g, 2);
  g.MaxPoints = 500;
  g.Curves[2].Meaning = "tension aux bornes de C";

  EXPECT_EQ(OscBlock(g, Info()), (Lines{"Vexor QVT 2", "Acquisition par Vexor QVT2", "pendule", "t",
                                        "s", "", "0", "0.001", "&0 NOMX", "&0 NOMY"}));

  g.Curves[0].Visible = true;
  g.Curves[2].Visible = true;
  TTransferInfo info = Info();
  info.NewPage = true;
  EXPECT_EQ(OscBlock(g, info),
            (Lines{"Vexor QVT 2", "", "pendule", "t\tV0\tV2", "s\tV\tV",
                   "\t\ttension aux bornes de C", "0\t0\t2", "0.001\t0.001\t2.001", "&2 NOMX", "t",
                   "t", "&2 NOMY", "V0", "V2"}));
}

TEST(OscBlock, ValuesInTheExportFormUnderEitherMark) {
  TgrapheOsc g;
  g.Curves[1].Visible = true;
  g.MaxPoints = 500;
  g.FilledCount = 2;
  g.TimeCurve.Value[0] = 0.000123456;
  g.Curves[1].Value[0] = 0.0000123;
  g.TimeCurve.Value[1] = 1234567;
  g.Curves[1].Value[1] = 2.5;
  for (char mark : {'.', ','}) {
    ForceDecimalSeparator(mark);
    const Lines block = OscBlock(g, Info());
    EXPECT_EQ(block[6], "0.00012346\t1.23E-05") << mark;
    EXPECT_EQ(block[7], "1.2346E06\t2.5") << mark;
  }
  ForceDecimalSeparator('\0');
}

TEST(OscBlock, ConstantBlockNeedsSymbolAndValue) {
  TgrapheOsc g;
  g.MaxPoints = 500;
  TTransferInfo info = Info();
  info.Symbol = "R";
  info.Unit = "k\x9D";
  info.Value = "4,7k"; // sent as typed
  EXPECT_EQ(OscBlock(g, info),
            (Lines{"Vexor QVT 2", "Acquisition par Vexor QVT2", "pendule", "t", "s", "", "", "R",
                   "k\x9D", "4,7k", "&0 NOMX", "&0 NOMY"}));
  info.Value.clear();
  EXPECT_EQ(OscBlock(g, info).size(), 8u);
}

TEST(PointBlock, NumbersThePointsAndNamesTheAbscissa) {
  TgraphePoint g;
  g.Abscissa = 1;
  for (int c : {0, 1, 3})
    g.Curves[c].Visible = true;
  g.Curves[3].QuantityName = "I";
  g.Curves[3].SetText("A");
  g.PointCount = 3;
  for (int j = 0; j < 3; ++j)
    for (int c = 0; c < 4; ++c)
      g.Curves[c].Value[j] = c * 10 + j;
  EXPECT_EQ(PointBlock(g, Info()),
            (Lines{"Vexor QVT 2", "Acquisition par Vexor QVT2", "pendule", "num\tV0\tV1\tI",
                   "\tV\tV\tA", "num\xE9ro d'ordre d'acquisition\t\t\t", "0\t0\t10\t30",
                   "1\t1\t11\t31", "2\t2\t12\t32", "&2 NOMX", "V1", "V1", "&2 NOMY", "V0", "I"}));
}

} // namespace
} // namespace qvt
