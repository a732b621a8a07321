// The keyboard commands.
#include "app/bookform.h"

namespace cvx {

void BookForm::Form_KeyDown(std::int16_t, std::int16_t) {}

} // namespace cvx
