// TDDEForm: the program's side of the data exchange with other programs: the macro server
// other programs reach it through, and the client that hands data to Kalkio.
#pragma once

#include <QObject>

namespace qvt {

class TDDEForm : public QObject {
  Q_OBJECT

public:
  explicit TDDEForm(QObject* parent = nullptr);
};

} // namespace qvt

// The program's one TDDEForm, created at start-up.
extern qvt::TDDEForm* DDEForm;
