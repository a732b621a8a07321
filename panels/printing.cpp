// Printing the current sheet.
#include "app/bookform.h"

namespace cvx {

void BookForm::Command2_Click() {}

void BookForm::Image10_Click() {}

} // namespace cvx
