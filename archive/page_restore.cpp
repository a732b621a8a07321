// Restoring the scrambled head of the current entry.
#include "app/bookform.h"

#include "archive/entry_restore.h"

namespace cvx {

void BookForm::DECDPAG() {
    // Its callers check that the entry is long enough to hold every head byte's partner; a
    // shorter one is left as it is and its picture load fails.
    (void)archive::restoreEntry(PageData);
}

} // namespace cvx
