// Page lookup by label and by typed number.
#include "app/bookform.h"

namespace cvx {

void BookForm::TrovoPagina() {}

void BookForm::TrovoLibro() {}

void BookForm::CERCOPAGINA() {}

} // namespace cvx
