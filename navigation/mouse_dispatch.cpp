// Clicks on the hot zones.
#include "app/bookform.h"

namespace cvx {

void BookForm::Image8_Click(std::int16_t) {}

} // namespace cvx
