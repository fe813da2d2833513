// SPDX-License-Identifier: GPL-3.0-or-later
// The text block of a transfer to Kalkio.
#include "transfer_block.h"

#include <algorithm>

#include "graphe_osc.h"
#include "graphe_point.h"
#include "numtext.h"

namespace qvt {
namespace {

constexpr char kMarker = '&';

// The three header lines of the columns: first column's texts, then each curve's.
template <typename Curves>
void AddColumnLines(std::vector<std::string>& lines, const std::string& name,
                    const std::string& unit, const std::string& meaning, const Curves& curves) {
  std::string names = name, units = unit, meanings = meaning;
  for (const auto* curve : curves) {
    names += '\t' + curve->QuantityName;
    units += '\t' + curve->Text;
    meanings += '\t' + curve->Meaning;
  }
  lines.push_back(std::move(names));
  lines.push_back(std::move(units));
  lines.push_back(std::move(meanings));
}

void AddNameBlock(std::vector<std::string>& lines, int count, const char* tag) {
  lines.push_back(kMarker + std::to_string(count) + tag);
}

void AddHeader(std::vector<std::string>& lines, const TTransferInfo& info) {
  lines.push_back(info.Title);
  lines.push_back(info.NewPage ? std::string() : std::string("Acquisition par Vexor QVT2"));
  lines.push_back(info.Comment);
}

} // namespace

void AddConstantLines(std::vector<std::string>& lines, const TTransferInfo& info) {
  if (info.Symbol.empty() || info.Value.empty())
    return;
  lines.emplace_back();
  lines.push_back(info.Symbol);
  lines.push_back(info.Unit);
  lines.push_back(info.Value);
}

std::vector<std::string> OscBlock(const TgrapheOsc& graph, const TTransferInfo& info) {
  std::vector<const TCourbe*> visible;
  for (const auto& curve : graph.Curves)
    if (curve.Visible)
      visible.push_back(&curve);
  const int filled = graph.FilledCount;
  const int step = graph.MaxPoints > 0 ? std::max(1, filled / graph.MaxPoints) : 1;

  std::vector<std::string> lines;
  AddHeader(lines, info);
  const TCourbe& time = graph.TimeCurve;
  AddColumnLines(lines, time.QuantityName, time.Text, time.Meaning, visible);
  for (int i = 0; i < filled; i += step) {
    std::string row = FormatExportValue(time.Value[i]);
    for (const TCourbe* curve : visible)
      row += '\t' + FormatExportValue(curve->Value[i]);
    lines.push_back(std::move(row));
  }
  AddConstantLines(lines, info);
  const int n = static_cast<int>(visible.size());
  AddNameBlock(lines, n, " NOMX");
  for (int k = 0; k < n; ++k)
    lines.push_back(time.QuantityName);
  AddNameBlock(lines, n, " NOMY");
  for (const TCourbe* curve : visible)
    lines.push_back(curve->QuantityName);
  return lines;
}

std::vector<std::string> PointBlock(const TgraphePoint& graph, const TTransferInfo& info) {
  std::vector<const TCourbe*> visible;
  for (const auto& curve : graph.Curves)
    if (curve.Visible)
      visible.push_back(&curve);

  std::vector<std::string> lines;
  AddHeader(lines, info);
  AddColumnLines(lines, "num", "", "num\xE9ro d'ordre d'acquisition", visible);
  for (int i = 0; i < graph.PointCount; ++i) {
    std::string row = std::to_string(i);
    for (const TCourbe* curve : visible)
      row += '\t' + FormatExportValue(curve->Value[i]);
    lines.push_back(std::move(row));
  }
  AddConstantLines(lines, info);
  // Every visible curve but the abscissa's is drawn against the abscissa's.
  const int others = static_cast<int>(visible.size()) - 1;
  const TCourbe& abscissa = graph.Curves.at(graph.Abscissa);
  AddNameBlock(lines, others, " NOMX");
  for (int k = 0; k < others; ++k)
    lines.push_back(abscissa.QuantityName);
  AddNameBlock(lines, others, " NOMY");
  for (const TCourbe* curve : visible)
    if (curve != &abscissa)
      lines.push_back(curve->QuantityName);
  return lines;
}

} // namespace qvt
