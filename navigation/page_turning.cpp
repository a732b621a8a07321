// Turning pages across book boundaries.
#include "app/bookform.h"

namespace cvx {

void BookForm::PagAvanti() {}

void BookForm::PagIndietro() {}

void BookForm::AVANTLIBRO() {}

void BookForm::INDIETLIBRO() {}

} // namespace cvx
