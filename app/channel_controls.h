// SPDX-License-Identifier: GPL-3.0-or-later
// TChannelControls: the seven controls of one channel group of the main window, which the
// curves of both graphs refer to.
#pragma once

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace qvt {

class TRadioGroup;
class TShape;

struct TChannelControls {
  TRadioGroup* Input = nullptr; // "Entrée": item 0 the BNC socket, item 1 the YD socket
  TShape* Swatch = nullptr;     // the channel's colour
  QComboBox* Range = nullptr;   // "50 mV" ... "15 V"
  QCheckBox* Positive = nullptr; // "V>0": the scale starts at 0
  QCheckBox* Active = nullptr;
  QGroupBox* Group = nullptr;
  QLabel* Digits = nullptr; // the channel number, or the live value in point mode
};

} // namespace qvt
