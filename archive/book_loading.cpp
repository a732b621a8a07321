// Reading the book archives and the remembered place at start-up.
#include "app/bookform.h"

namespace cvx {

void BookForm::Ricupero() {
    SCHERMO->setVisible(false);
    ProgramFolder = Dir1.Path();
    File2.setPath(ProgramFolder);
    LastArchiveIndex = static_cast<std::int16_t>(File2.ListCount() - 1);
    CARICODATI();
}

void BookForm::RIClistpg() {}

} // namespace cvx
