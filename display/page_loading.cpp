// Loading the current page and fitting it into the viewing area.
#include "app/bookform.h"

namespace cvx {

void BookForm::CARICOPAG() {}

} // namespace cvx
