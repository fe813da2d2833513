// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a screen reader sees it, through Qt's accessibility interfaces: a name
// for every control the user can reach, and a graph that tells the set-up it shows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

#include "lcd99.h"
#include "mainform_fixture.h"

namespace qvt {
namespace {

QString Accessible(QWidget* widget, QAccessible::Text what) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face != nullptr ? face->text(what) : QString();
}

TEST_F(MainFormTest, EveryVisibleControlHasAnAccessibleName) {
  Start();
  form->GBFbtn->click(); // the generator panel too
  ASSERT_FALSE(form->GBFPanel->isHidden());
  int checked = 0;
  for (QWidget* w : form->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                         qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                         qobject_cast<TLCD99*>(w);
    if (!control || !w->isVisible())
      continue;
    ++checked;
    EXPECT_FALSE(Accessible(w, QAccessible::Name).isEmpty())
        << w->metaObject()->className() << " " << w->objectName().toStdString() << " in "
        << w->parentWidget()->objectName().toStdString();
  }
  EXPECT_GT(checked, 40);
  EXPECT_EQ(Accessible(form->DureeUpDown->UpButton(), QAccessible::Name),
            QStringLiteral("Augmenter la durée"));
  EXPECT_EQ(Accessible(form->MajBtn, QAccessible::Name), QStringLiteral("Mise à jour du GBF"));
  form->LCD10k->SetValue("2500");
  EXPECT_EQ(Accessible(form->LCD10k, QAccessible::Description), QStringLiteral("2500"))
      << "the frequency shown";
}

TEST_F(MainFormTest, TheGraphDescribesTheTimeBaseChannelsAndTrigger) {
  Start();
  auto description = [&] {
    return Accessible(form->TempsPaintBox, QAccessible::Description).toStdString();
  };
  Activate(1);
  Trigger(2, true);
  EXPECT_EQ(description(), "Base de temps 10 µs ; voies actives : V0, V1 ; "
                           "synchronisation sur V1, front montant à 0 V");
  // A time-base step repaints the graph without reconfiguring it: the description follows.
  TimeBase(k20ms);
  EXPECT_TRUE(WaitFor([&] { return description().starts_with("Base de temps 20 ms ;"); }))
      << description();
  Trigger(0);
  form->Channels[1].Active->click();
  EXPECT_EQ(description(), "Base de temps 20 ms ; voie active : V0 ; synchronisation au clavier");
}

} // namespace
} // namespace qvt
