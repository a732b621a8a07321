// INSTALLO: creates the working folder with an empty bookmark file and an empty working image.
#include "app/bookform.h"

#include "platform/files.h"

namespace cvx {

void BookForm::INSTALLO() {
    const QString folder = underRoot(platform_.driveRoot(), WorkFolderName) + QLatin1Char('/');
    auto fail = [this](const QString& what) {
        MessageText = what;
        ERRORE();
    };
    if (!Dir2.trySetPath(folder) && !files::makeFolder(folder).ok())
        fail(QStringLiteral("IMPOSSIBILE CREARE LA CARTELLA DI LAVORO: ") + folder);
    if (!Dir2.trySetPath(folder))
        fail(QStringLiteral("IMPOSSIBILE APRIRE LA CARTELLA DI LAVORO: ") + folder);
    File2.setPath(Dir2.Path());
    QString ScratchText = underRoot(Dir2.Path(), WorkFolderName + QStringLiteral(".lib"));
    if (!files::makeEmpty(ScratchText).ok())
        fail(QStringLiteral("IMPOSSIBILE CREARE IL FILE: ") + ScratchText);
    ScratchText = underRoot(Dir2.Path(), QStringLiteral("lab.jpg"));
    if (!files::makeEmpty(ScratchText).ok())
        fail(QStringLiteral("IMPOSSIBILE CREARE IL FILE: ") + ScratchText);
}

} // namespace cvx
