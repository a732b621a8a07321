// The closing panel and its countdown.
#include "app/bookform.h"

namespace cvx {

void BookForm::Command1_Click() {}

void BookForm::Image11_Click() {}

void BookForm::Timer1_Timer() {}

void BookForm::Image13_Click(std::int16_t) {}

} // namespace cvx
