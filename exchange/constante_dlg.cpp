// SPDX-License-Identifier: GPL-3.0-or-later
// TConstanteDlg: its window, the check of the constant's value and the keys it keeps in the
// settings file.
#include "constante_dlg.h"

#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ansi.h"
#include "config_file_name.h"
#include "inifile.h"
#include "labelededit.h"
#include "message_box.h"
#include "numbers.h"
#include "numtext.h"
#include "radiogroup.h"
#include "text8.h"

qvt::TConstanteDlg* ConstanteDlg = nullptr;

Q_LOGGING_CATEGORY(lcConstante, "qvt.constante")

namespace qvt {
namespace {

// The settings file is in the 8-bit code page: "Unité" is the key with the byte 0xE9.
constexpr char kSection[] = "Constante";
constexpr char kSymbolKey[] = "Nom";
constexpr char kUnitKey[] = "Unit\xE9";
constexpr char kCommentKey[] = "Comm";

QString FromFile(const TIniFile& ini, const char* key) {
  return AnsiToQString(ini.ReadString(kSection, key, ""));
}

} // namespace

TConstanteDlg::TConstanteDlg(QWidget* parent) : QDialog(parent), settingsFile_(ConfigFileName) {
  setObjectName("ConstanteDlg");
  setWindowTitle(tr("Renseignements sur la page courante"));
  setModal(true);

  CommentGB = new QGroupBox(tr("&Commentaire"), this);
  EditComm = new QLineEdit(CommentGB);
  EditComm->setObjectName("EditComm");
  (new QVBoxLayout(CommentGB))->addWidget(EditComm);

  NewPageCB = new TRadioGroup(tr("Données vers &Kalkio"), this);
  NewPageCB->setObjectName("NewPageCB");
  NewPageCB->SetItems({tr("Nouveau &fichier"), tr("Nouvelle &page")});
  NewPageCB->SetColumns(2);
  NewPageCB->SetItemIndex(0);

  ParametreGB = new QGroupBox(tr("Paramètre"), this);
  NomConstEdit = new TLabeledEdit(tr("&Symbole"), ParametreGB);
  NomConstEdit->setObjectName("NomConstEdit");
  NomConstEdit->Edit()->setMaxLength(8);
  UniteConstEdit = new TLabeledEdit(tr("&Unité"), ParametreGB);
  UniteConstEdit->setObjectName("UniteConstEdit");
  ValeurConstEdit = new TLabeledEdit(tr("&Valeur"), ParametreGB);
  ValeurConstEdit->setObjectName("ValeurConstEdit");
  auto* parameters = new QHBoxLayout(ParametreGB);
  parameters->addWidget(NomConstEdit);
  parameters->addWidget(UniteConstEdit);
  parameters->addWidget(ValeurConstEdit);

  OKBtn = new QPushButton(tr("&OK"), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(tr("&Abandon"), this);
  CancelBtn->setObjectName("CancelBtn");
  HelpBtn = new QPushButton(tr("&Aide"), this);
  HelpBtn->setObjectName("HelpBtn");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CommentGB);
  layout->addWidget(NewPageCB);
  layout->addWidget(ParametreGB);
  layout->addLayout(buttons);

  connect(OKBtn, &QPushButton::clicked, this, &TConstanteDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  if (!settingsFile_.empty() &&
      QFile::exists(QFile::decodeName(QByteArray::fromStdString(settingsFile_)))) {
    const TIniFile ini(settingsFile_);
    NomConstEdit->SetText(FromFile(ini, kSymbolKey));
    UniteConstEdit->SetText(FromFile(ini, kUnitKey));
    EditComm->setText(FromFile(ini, kCommentKey));
  }
}

TConstanteDlg::~TConstanteDlg() {
  if (settingsFile_.empty())
    return;
  TIniFile ini;
  ini.SetFileName(settingsFile_);
  // A file that exists but cannot be read is not replaced by the three keys alone.
  if (!ini.Load()) {
    qCWarning(lcConstante) << "settings not written:" << ini.ErrorString();
    return;
  }
  const std::string symbol = AnsiFromQString(NomConstEdit->Text());
  const std::string unit = AnsiFromQString(UniteConstEdit->Text());
  const std::string comment = AnsiFromQString(EditComm->text());
  // A settings file made only of three empty keys would turn the main window's design values
  // into the file's defaults at the next start: without a file, empty texts write nothing.
  const bool missing = !QFile::exists(QFile::decodeName(QByteArray::fromStdString(settingsFile_)));
  if (missing && symbol.empty() && unit.empty() && comment.empty())
    return;
  const std::string before = ini.Content();
  // A key is written only when its text is not what the file already reads (a missing key
  // reads empty), so a session that did not touch the constants leaves the file alone.
  for (const auto& [key, text] : {std::pair{kSymbolKey, &symbol}, std::pair{kUnitKey, &unit},
                                  std::pair{kCommentKey, &comment}})
    if (ini.ReadString(kSection, key, "") != *text)
      ini.WriteString(kSection, key, *text);
  // Unchanged keys leave the file untouched, its date included.
  if ((missing || ini.Content() != before) && !ini.Save())
    qCWarning(lcConstante) << "settings not written:" << ini.ErrorString();
}

void TConstanteDlg::OKBtnClick() {
  const std::string value = ShortString(AnsiFromQString(ValeurConstEdit->Text()), kShortText);
  if (!value.empty() && ParseValue(value) == kNoValue) {
    ShowMessage(TMessageKind::Error, tr("Nombre mal écrit"));
    return;
  }
  accept();
}

TTransferInfo TConstanteDlg::Info(const std::string& title) const {
  TTransferInfo info;
  info.Title = title;
  info.NewPage = NewPageCB->ItemIndex() == 1;
  info.Comment = AnsiFromQString(EditComm->text());
  info.Symbol = AnsiFromQString(NomConstEdit->Text());
  info.Unit = AnsiFromQString(UniteConstEdit->Text());
  info.Value = AnsiFromQString(ValeurConstEdit->Text());
  return info;
}

void TConstanteDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, not over the main window.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

} // namespace qvt
