// Moving a magnified page up and down.
#include "app/bookform.h"

namespace cvx {

void BookForm::PAGSU() {}

void BookForm::PAGGIU() {}

} // namespace cvx
