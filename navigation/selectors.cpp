// The book and page selectors.
#include "app/bookform.h"

namespace cvx {

void BookForm::Combo1_Click() {}

void BookForm::Combo1_KeyPress(int&) {}

void BookForm::Combo2_Click() {}

void BookForm::Combo2_KeyPress(int&) {}

void BookForm::Picture5_Click() {}

} // namespace cvx
