// Restoring the scrambled head of the current entry.
#include "app/bookform.h"

namespace cvx {

void BookForm::DECDPAG() {}

} // namespace cvx
