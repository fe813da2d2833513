// TDDEForm: never shown; the server and the client come with the data exchange.
#include "dde_form.h"

qvt::TDDEForm* DDEForm = nullptr;

namespace qvt {

TDDEForm::TDDEForm(QObject* parent) : QObject(parent) {
  setObjectName("DDEForm");
}

} // namespace qvt
