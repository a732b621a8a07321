// Placing the hot zones over the page image.
#include "app/bookform.h"

namespace cvx {

void BookForm::IMMAGIN8() {}

} // namespace cvx
