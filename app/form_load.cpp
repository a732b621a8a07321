// The start-up sequence: one pass of the window's load handler, in a fixed order.
#include "app/bookform.h"

#include "app/product_block.h"
#include "platform/files.h"

#include <QCoreApplication>

namespace cvx {

namespace {
const QString kExecutable = QStringLiteral("Cartavox.exe");
} // namespace

void BookForm::Form_Load() {
    const QString exe = underRoot(Dir1.Path(), kExecutable);

    // 1. Locate the product data block.
    const files::Length length = files::lengthOf(exe);
    if (length.status == files::Status::NotFound)
        USCITA1();
    const files::Read head =
        files::readAt(exe, block::basePosition(length.length), block::kBaseReadLength);
    ProductBase =
        head.status == files::Status::Ok ? numericValue(fromSingleByte(head.data.left(8))) : 0;

    // 2-3. Read the working-folder name; failures other than a missing file are ignored here.
    const auto ReadPosition = static_cast<std::int32_t>(block::workFolderPosition(ProductBase));
    const files::Read name = files::readAt(exe, ReadPosition, block::kWorkFolderNameLength);
    if (name.status == files::Status::NotFound)
        USCITA1();
    if (name.status == files::Status::Ok && name.data.size() == block::kWorkFolderNameLength)
        WorkFolderName = fromSingleByte(name.data);

    // 4. Failures count again. A block whose base or folder name is unusable would scatter
    // reads over the executable and create folders in the wrong place: stop here instead.
    if (ProductBase <= block::kGridBeforeBase || ProductBase > length.length ||
        !block::usableFolderName(WorkFolderName)) {
        MessageText = QStringLiteral("I DATI DEL VOLUME in %1 RISULTANO MANCANTI O CORROTTI")
                          .arg(kExecutable);
        ERRORE();
    }

    checkScreen(); // 5

    // 6. Paths of the working folder's two files.
    const QString folder = underRoot(platform_.driveRoot(), WorkFolderName) + QLatin1Char('/');
    BookmarkPath = folder + WorkFolderName + QStringLiteral(".lib");
    WorkImagePath = folder + QStringLiteral("lab.jpg");

    // 7. Working folder.
    if (files::lengthOf(BookmarkPath).status != files::Status::Ok)
        INSTALLO();

    layoutFirstGroup(); // 8

    // 9. Initial viewer state.
    view.PanStep = 0;
    view.Magnified = False;
    Label8->setCaption(QStringLiteral("0"));
    Image2[0]->setVisible(true);
    Image2[1]->setVisible(false);
    Combo2->setEnabled(true);
    Combo1->setEnabled(true);
    // The ink aids this reader left on this volume, in the working folder: before a page shows.
    inkPanel_->keepIn(folder + QStringLiteral("ausili.cfg"));

    layoutSecondGroup();               // 10
    Ricupero();                        // 11
    fillInstructionTexts();            // 12
    Option1[0]->setValue(true);        // 13
    setKeyPreview(true);               // 14
    facing_->recall();                 // facing pages, as the reader left them
    QCoreApplication::processEvents(); // 15
}

} // namespace cvx
