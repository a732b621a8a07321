// The credits banner and its countdown.
#include "app/bookform.h"

namespace cvx {

void BookForm::Image15_Click() {}

void BookForm::Timer2_Timer() {}

void BookForm::Picture9_Click() {}

} // namespace cvx
