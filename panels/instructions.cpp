// The instructions panel.
#include "app/bookform.h"

namespace cvx {

void BookForm::Image2_Click(std::int16_t) {}

void BookForm::Image14_Click() {}

void BookForm::Option1_Click(std::int16_t) {}

void BookForm::fillInstructionTexts() {}

} // namespace cvx
