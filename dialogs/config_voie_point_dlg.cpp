// SPDX-License-Identifier: GPL-3.0-or-later
// TConfigVoiePointDlg: the shared channel dialog bound to a point-mode curve, with the marker
// list.
#include "config_voie_point_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIcon>
#include <QImage>

#include <algorithm>
#include <array>

#include "canvas.h"
#include "courbe.h"
#include "graphe_point.h"
#include "translate.h"

qvt::TConfigVoiePointDlg* ConfigVoiePointDlg = nullptr;

namespace qvt {
namespace {

constexpr std::array<const char*, 5> kMarkerNames{
    QT_TRANSLATE_NOOP("qvt::TConfigVoiePointDlg", "Croix"),
    QT_TRANSLATE_NOOP("qvt::TConfigVoiePointDlg", "Croix diag."),
    QT_TRANSLATE_NOOP("qvt::TConfigVoiePointDlg", "Cercle"),
    QT_TRANSLATE_NOOP("qvt::TConfigVoiePointDlg", "Carré"),
    QT_TRANSLATE_NOOP("qvt::TConfigVoiePointDlg", "Losange")};

// The marks are drawn by the point graph itself, so that the list shows what the graph will
// draw: each at the screen's own size and at twice it for high-density screens.
std::array<QIcon, kMarkerNames.size()> MarkerIcons() {
  constexpr int kSide = 16;
  constexpr int kHalfSize = 5;
  std::array<QIcon, kMarkerNames.size()> icons;
  TCanvas canvas;
  canvas.SetBrushColour(Qt::black);
  TgraphePoint graph(&canvas);
  for (int ratio : {1, 2}) {
    canvas.SetPenWidth(ratio);
    for (std::size_t style = 0; style < icons.size(); ++style) {
      QImage image(kSide * ratio, kSide * ratio, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      canvas.SetImage(&image);
      const int centre = kSide * ratio / 2;
      graph.DrawMarker(centre, centre, static_cast<std::uint8_t>(style), kHalfSize * ratio);
      canvas.SetImage(nullptr); // ends the drawing
      image.setDevicePixelRatio(ratio);
      icons[style].addPixmap(QPixmap::fromImage(image));
    }
  }
  return icons;
}

} // namespace

TConfigVoiePointDlg::TConfigVoiePointDlg(QWidget* parent)
    : TChannelDlg("ConfigVoiePointDlg", parent) {
  PointCombo = new QComboBox(GroupBox1);
  PointCombo->setObjectName("PointCombo");
  PointCombo->setIconSize(QSize(16, 16));
  const auto icons = MarkerIcons();
  for (std::size_t i = 0; i < kMarkerNames.size(); ++i)
    PointCombo->addItem(icons[i], tr(kMarkerNames[i]));
  Fields->addRow(tr("&Marque"), PointCombo);
}

TCourbe* TConfigVoiePointDlg::EditedCurve() const {
  return Curve;
}

int TConfigVoiePointDlg::EditedChannel() const {
  return Curve ? Curve->Channel : 0;
}

void TConfigVoiePointDlg::FillExtra() {
  PointCombo->setCurrentIndex(Curve->MarkerStyle < PointCombo->count() ? Curve->MarkerStyle : 0);
}

void TConfigVoiePointDlg::StoreExtra() {
  Curve->MarkerStyle = static_cast<std::uint8_t>(std::max(PointCombo->currentIndex(), 0));
}

} // namespace qvt
