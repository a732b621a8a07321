// The closing panel and its countdown: SI keeps the current place for the next start, NO (or
// the end of the countdown) forgets it, Annulla goes back to reading.
#include "app/bookform.h"

#include "panels/bookmark_lines.h"
#include "platform/files.h"

#include <QDir>

namespace cvx {

namespace {
const QString kNotSaved = QStringLiteral("La pagina corrente non e' stata salvata nel file: ");
const QString kNotCleared = QStringLiteral("Impossibile svuotare il file: ");
const QString kImageNotEmptied = QStringLiteral("Impossibile svuotare l'immagine di lavoro: ");

// `sentence` followed by the path of the file it is about.
QString aboutFile(const QString& sentence, const QString& path) {
    return sentence + QDir::toNativeSeparators(path);
}

// Empties the working image, so that no page data stays on disk, then ends the program, saying
// first what could not be written.
[[noreturn]] void endAfterClosing(Platform& platform, const QString& workImagePath,
                                  QString failures) {
    if (!files::makeEmpty(workImagePath).ok()) {
        if (!failures.isEmpty())
            failures += QChar(13);
        failures += aboutFile(kImageNotEmptied, workImagePath);
    }
    if (!failures.isEmpty())
        platform.messageBox(failures, kStyleCritical,
                            QStringLiteral("ATTENZIONE, CHIUDO IL PROGRAMMA"));
    platform.endProgram(failures.isEmpty() ? kExitNormal : kExitFailure);
    Q_UNREACHABLE();
}
} // namespace

void BookForm::Command1_Click() {
    for (int LoopIndex = 0; LoopIndex <= 5; ++LoopIndex)
        Image8[LoopIndex]->setEnabled(false);
    Picture7->setVisible(true);
    CountdownTicks = 80;
    Timer1.setEnabled(true);
    Timer1.setInterval(200);
}

void BookForm::Form_QueryUnload(std::int16_t& cancel, std::int16_t unloadMode) {
    cancel = True;
    // Only the reader answers the panel. The session manager asks at every save of the session,
    // not only at its end, and nobody may be there: the viewer and the kept place stay as they
    // are. The window manager's close asks, as Esc does, and asks again while the panel waits.
    if (unloadMode != kUnloadSessionEnding)
        Command1_Click();
}

void BookForm::Image11_Click() {
    Command1_Click();
}

void BookForm::Timer1_Timer() {
    Shape2->setWidth(50.0 * CountdownTicks);
    CountdownTicks -= 1;
    Label11->setCaption(numberText(CountdownTicks / 10));
    if (CountdownTicks == 0)
        Image13_Click(1);
}

void BookForm::Image13_Click(std::int16_t index) {
    Timer1.setEnabled(false);
    if (index == 0) {
        const int book = bookmark::matchingPosition(Combo2->items(), Combo2->Text());
        const int LoopIndex = bookmark::matchingPosition(Combo1->items(), Combo1->Text());
        // Written aside and then put in place, so the file keeps the old place if this fails.
        const bool saved =
            files::replaceAtomically(BookmarkPath, bookmark::bookmarkLines(book, LoopIndex)).ok();
        endAfterClosing(platform_, WorkImagePath,
                        saved ? QString() : aboutFile(kNotSaved, BookmarkPath));
    }
    if (index == 1) {
        const bool cleared = files::makeEmpty(BookmarkPath).ok();
        endAfterClosing(platform_, WorkImagePath,
                        cleared ? QString() : aboutFile(kNotCleared, BookmarkPath));
    }
    if (index == 2) {
        for (int LoopIndex = 0; LoopIndex <= 5; ++LoopIndex)
            Image8[LoopIndex]->setEnabled(true);
        Picture7->setVisible(false);
    }
}

} // namespace cvx
