// CARICODATI: the volume's titles, cover reference and book records from the product data block.
#include "app/bookform.h"

#include "app/product_block.h"
#include "platform/files.h"

namespace cvx {

namespace {
const QString kExecutable = QStringLiteral("Cartavox.exe");
} // namespace

void BookForm::CARICODATI() {
    const QString exe = underRoot(Dir1.Path(), kExecutable);
    // One slot: open, read one string record, close. A failed read leaves `value` as it was.
    auto readSlot = [&](int slot, QString& value) {
        const auto ReadPosition = static_cast<std::int32_t>(block::slotPosition(ProductBase, slot));
        const files::Read r = files::readAt(exe, ReadPosition, block::kSlotSize);
        if (r.status == files::Status::NotFound)
            USCITA1();
        if (r.status != files::Status::Ok)
            return false;
        const auto chars = block::decodeStringRecord(r.data);
        if (!chars)
            return false;
        value = fromSingleByte(*chars);
        return true;
    };
    const QString blanks5(5, QLatin1Char(' '));
    const QString blanks64(64, QLatin1Char(' '));

    QString value = blanks5;
    readSlot(1, value);
    CoverArchiveName = QStringLiteral("dv") + value + QStringLiteral(".ex_");
    value = blanks5;
    readSlot(2, value);
    CoverEntryNumber = value;
    Label* const heads[5][2] = {{Label1[0].get(), Label5[0].get()},
                                {Label1[1].get(), Label5[1].get()},
                                {Label1[2].get(), nullptr},
                                {Label1[3].get(), nullptr},
                                {Label1[4].get(), Label7.get()}};
    for (int i = 0; i < 5; ++i) {
        value = blanks64;
        readSlot(3 + i, value);
        for (Label* shown : heads[i])
            if (shown)
                shown->setCaption(value);
    }

    // More archives than the grid has book slots cannot belong to this volume.
    if (File2.ListCount() - 1 > block::kMaxBooks - 1) {
        MessageText = QStringLiteral("ERRORE NELL'ARCHIVIO LIBRI");
        ERRORE();
    }
    List1.Clear();
    QString record = blanks64;
    for (int i = 0; i < File2.ListCount(); ++i) {
        // An unreadable record would silently repeat the previous book: refuse it instead.
        const bool read = readSlot(block::kFirstBookSlot + i, record);
        List1.AddItem(record);
        const QString label = trimBlanks(columns(record, 1, block::kBookLabelLength));
        Combo2->AddItem(label);
        if (!read || trimBlanks(record.left(label.size())).isEmpty()) {
            MessageText = QStringLiteral("IL programma NON RICONOSCE IL LIBRO: ") + numberText(i);
            ERRORE();
        }
    }
    // A book record beyond the last archive means an archive of the volume is missing: the
    // books after it would open the wrong archives.
    QString next = blanks64;
    if (File2.ListCount() < block::kMaxBooks &&
        readSlot(block::kFirstBookSlot + File2.ListCount(), next) &&
        !trimBlanks(columns(next, 1, block::kBookLabelLength)).isEmpty())
        USCITA1();
    showWindow();
}

} // namespace cvx
