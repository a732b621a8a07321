// ERRORE and USCITA1: tell the reader why, then end the program at once.
#include "app/bookform.h"

#include <QDir>

namespace cvx {

void BookForm::ERRORE() {
    platform_.messageBox(MessageText, kStyleCritical,
                         QStringLiteral("ATTENZIONE, CHIUDO IL PROGRAMMA"));
    platform_.endProgram(kExitFailure);
    Q_UNREACHABLE();
}

void BookForm::USCITA1() {
    const QString text = QStringLiteral("UN FILE di SISTEMA in: ") +
                         QDir::toNativeSeparators(Dir1.Path()) +
                         QStringLiteral(" RISULTA MANCANTE O CORROTTO") + QChar(13) +
                         QStringLiteral("CHIUDO IL PROGRAMMA");
    platform_.messageBox(text, kStyleOk, QStringLiteral("- A T T E N Z I O N E -"));
    platform_.endProgram(kExitFailure);
    Q_UNREACHABLE();
}

} // namespace cvx
