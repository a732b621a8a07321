// Making the book chosen in the book selector the current book.
#include "app/bookform.h"

namespace cvx {

void BookForm::ATTIVAPAG() {}

} // namespace cvx
