// Finding pages: from the page selector's text within a book, and from a typed number in the
// whole volume.
#include "tests/support/viewer.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QString kNoPage =
    QStringLiteral("IL NUMERO DIGITATO NON CORRISPONDE a nessuna pagina dell'intero TESTO\r");

// Front matter, pages 1-6, sheets from 7, openings from 20 (first page on the right), and an
// appendix of pages 1233-1235.
pack::VolumeSpec lookupVolume() {
    pack::VolumeSpec plan = standardVolume();
    plan.books = {makeBook("Frontespizio", 1, 'D', 1, 2), makeBook("Libro primo", 1, 'D', 1, 6),
                  makeBook("Libro secondo", 0, 'D', 7, 4), makeBook("Tavole", 2, 'D', 20, 3),
                  makeBook("Appendice", 1, 'D', 1233, 3)};
    return plan;
}

} // namespace

TEST(TypedNumber, FindsTheBookAndThePageInTheWholeVolume) {
    const struct {
        const char* text;
        int book, page;
        const char* label;
        bool noPage;
    } cases[] = {
        {"3", 1, 2, "0003", false},     {"8", 2, 1, "008s", false},
        {"9", 2, 3, "009s", false},     {"24", 3, 1, "0025", false}, // the opening that holds 24
        {"27", 3, 2, "0027", false},    {"1234", 4, 1, "1234", false},
        {"12345", 4, 1, "1234", false}, // read as its first four digits
        {"0", 1, 5, "0006", true},      {"9999", 4, 2, "1235", true},
        {"19", 2, 3, "009s", true},
    };
    for (const auto& c : cases) {
        Viewer v(lookupVolume());
        v.typeNumber(QString::fromLatin1(c.text));
        SCOPED_TRACE(c.text);
        EXPECT_EQ(v.book(), c.book);
        EXPECT_EQ(v.form->Combo1->ListIndex(), c.page);
        EXPECT_EQ(v.form->place.CurrentPageIndex, c.page);
        EXPECT_EQ(v.pageText(), c.label);
        EXPECT_TRUE(v.showing(c.book, c.page));
        if (c.noPage) {
            ASSERT_EQ(v.platform.boxes.size(), 1u);
            EXPECT_EQ(v.platform.boxes[0].text, kNoPage);
            EXPECT_EQ(v.platform.boxes[0].title, "- A T T E N Z I O N E -");
            EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
        } else {
            EXPECT_TRUE(v.platform.boxes.empty());
        }
    }
}

TEST(TypedNumber, OneBookVolumeSearchesItsOnlyBook) {
    pack::VolumeSpec plan = standardVolume();
    plan.books = {makeBook("Unico", 1, 'D', 10, 3)};
    Viewer v(plan);
    EXPECT_EQ(v.form->List1.ListCount(), 1);
    EXPECT_EQ(v.form->Combo2->ListCount(), 1);
    v.typeNumber("11");
    EXPECT_TRUE(v.platform.boxes.empty());
    EXPECT_EQ(v.pageText(), "0011");
    EXPECT_TRUE(v.showing(0, 1));
}

TEST(PageLabel, TheSelectorsTextFindsItsPage) {
    const struct {
        int book;
        const char* text;
        int index;         // one past the last page when no page answers
        const char* shown; // the selector's text afterwards
    } cases[] = {
        // Sheets from 1, first page on the right: 001d 002s 002d 003s 003d. A number without a
        // side is the sheet's first side, and the text is rewritten so; the side is the field's
        // fourth character. A sheet with its side that no page answers keeps its text.
        {1, "002d", 2, "002d"},
        {1, "002s", 1, "002s"},
        {1, "2", 1, "002s"},
        {1, "9d", 5, "9s  "},
        {1, "009d", 5, "009d"},
        // Pages from 1: the label whose number equals the text's.
        {0, " 3 ", 2, "0003"},
        {0, "12", 4, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Viewer v;
        v.openAt(c.book, 0);
        v.form->Combo1->setText(c.text);
        v.form->TrovoPagina();
        EXPECT_EQ(v.form->place.CurrentPageIndex, c.index);
        EXPECT_EQ(v.pageText(), c.shown);
    }
}

TEST(PageLabel, EveryPageTheListOffersOpens) {
    // Openings from 20 on the right and from 3 on the left: labels the plain arithmetic of the
    // lookup would miss.
    pack::VolumeSpec plan = standardVolume();
    plan.books = {makeBook("Destra", 2, 'D', 20, 3), makeBook("Sinistra", 2, 'S', 3, 3),
                  makeBook("Fogli", 0, 's', 40, 5), makeBook("Pagine", 1, 's', 0, 3)};
    Viewer v(plan);
    for (int book = 0; book < 4; ++book) {
        v.event([&] { v.form->Combo2->setListIndex(book); });
        for (int page = 0; page < v.form->Combo1->ListCount(); ++page) {
            const QString label = v.form->Combo1->List(page);
            v.event([&] { v.form->Combo1->setListIndex(page); });
            SCOPED_TRACE(label.toStdString());
            EXPECT_EQ(v.form->place.CurrentPageIndex, page);
            EXPECT_EQ(v.pageText(), label);
            EXPECT_TRUE(v.showing(book, page));
        }
    }
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0001", "0002", "0003"}));
    EXPECT_TRUE(v.platform.boxes.empty());
}

TEST(PageLabel, PickAfterTypingShowsThePickedOpening) {
    Viewer v;
    v.typeNumber("6"); // openings 0003 0005 0007: typing 6 shows 0007
    EXPECT_EQ(v.pageText(), "0007");
    v.event([&] { v.form->Combo1->setListIndex(0); });
    EXPECT_EQ(v.form->place.CurrentPageIndex, 0);
    EXPECT_EQ(v.pageText(), "0003");
    EXPECT_TRUE(v.showing(2, 0));
}

TEST(BookActivation, LabelInAnotherCaseEndsTheProgram) {
    Viewer v;
    v.form->Combo2->setText("01 LIB.01 ANTIPORTA");
    EXPECT_THROW(v.form->ATTIVAPAG(), ProgramEnded);
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text,
              "IL TESTO NON CORRISPONTE A NESSUN LIBRO VALIDO, L'ARCHIVIO RISULTA CORROTTO");
    EXPECT_EQ(v.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
    EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
}

TEST(BookActivation, BooksSharingALabelOpenTheirOwnArchive) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[2].label = plan.books[1].label;
    Viewer v(plan);
    v.event([&] { v.form->Combo2->setListIndex(2); });
    EXPECT_EQ(v.form->place.ArchivePath, "dv00003.ex_");
    EXPECT_EQ(v.form->place.NumberingKind, 2);
    EXPECT_EQ(v.form->Combo1->Text(), "0003");
}
