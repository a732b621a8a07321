// Magnifying and reducing the page.
#include "app/bookform.h"

namespace cvx {

void BookForm::LENTE1() {}

void BookForm::LENTE0() {}

} // namespace cvx
