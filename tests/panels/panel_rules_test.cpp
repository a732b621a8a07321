// The pure rules of the panels: printer arithmetic and its confirmation, the bookmark lines, and
// the instruction texts.
#include "panels/bookmark_lines.h"
#include "panels/instruction_texts.h"
#include "panels/print_layout.h"

#include <gtest/gtest.h>

using namespace cvx;

namespace {
const QChar CR(13);

QStringList linesOf(const QString& text) {
    return text.split(CR);
}
} // namespace

// Figures worked out by hand, in single precision as the printer's scale figures are.
TEST(PrintLayout, LargestPlacementInWholeMillimetres) {
    struct Case {
        double pw, ph, sw, sh;
        int width, height, x;
    };
    const Case cases[] = {
        {200, 287, 600, 900, 187, 281, 11},       // s2 = 287 * 55 / 56 / 900 = 0.3132 < s1
        {287, 200, 600, 900, 130, 196, 155},      // landscape: s2 = 0.2183 < s1 = 0.4783
        {200, 287, 1000, 300, 200, 60, -2},       // s = s1 = 0.2: the width limits, x = -2
        {200, 287, 9000, 13500, 187, 281, 11},    // the first page in twips: units do not matter
        {201.54, 288.54, 600, 900, 188, 283, 11}, // s2 = 0.31488; the area's integer part
        {200, 287, 74400, 52620, 200, 141, -2},   // a 4960 x 3508 opening: 74400 x s1 is 200
    };
    for (const Case& c : cases) {
        const printing::Placement p = printing::placement(c.pw, c.ph, c.sw, c.sh);
        EXPECT_EQ(QList<int>({p.width, p.height, p.x}), QList<int>({c.width, c.height, c.x}))
            << c.pw << " x " << c.ph << ", " << c.sw << " x " << c.sh;
    }
}

TEST(PrintLayout, OrientationWords) {
    EXPECT_EQ(printing::orientationWord(1), "VERTICALE");
    EXPECT_EQ(printing::orientationWord(2), "ORIZZONTALE");
    EXPECT_EQ(printing::orientationWord(0), "ORIZZONTALE");
}

TEST(PrintLayout, ConfirmationHasTenLinesAndNoFinalBreak) {
    const QString text =
        printing::confirmationText(QStringLiteral("Ufficio"), QStringLiteral("VERTICALE"), 200.7,
                                   287.9, printing::placement(200.7, 287.9, 600, 900));
    // Built by hand line by line, so that a change of wording shows up here.
    const QString byHand = QStringLiteral("NOME DELLA STAMPANTE: Ufficio") + CR +
                           QStringLiteral("SENSO DI STAMPA: VERTICALE") + CR + CR +
                           QStringLiteral("DIMENSIONE pagina in mm.: 200 x 287") + CR +
                           QStringLiteral("DIMENSIONE immagine in mm.: 188 x 282") + CR + CR +
                           QStringLiteral("PER MODIFICARE I PARAMETRI") + CR +
                           QStringLiteral("occorre modificare il settaggio della stampante") + CR +
                           CR + QStringLiteral("PROSEGUO CON LA STAMPA?");
    EXPECT_EQ(text, byHand);
    EXPECT_FALSE(text.contains(QLatin1Char('\n')));
    EXPECT_EQ(linesOf(text).size(), 10);
}

TEST(BookmarkLines, SignPositionAndLineEnds) {
    EXPECT_EQ(bookmark::bookmarkLines(0, 3), QByteArray(" 0\r\n 3\r\n"));
    EXPECT_EQ(bookmark::bookmarkLines(2, 15), QByteArray(" 2\r\n 15\r\n"));
    EXPECT_EQ(bookmark::bookmarkLines(12, 400), QByteArray(" 12\r\n 400\r\n"));
}

TEST(BookmarkLines, PositionIgnoresBlanksAndCase) {
    const QStringList items = {QStringLiteral("1r"), QStringLiteral("1v"), QStringLiteral("2r  ")};
    EXPECT_EQ(bookmark::matchingPosition(items, QStringLiteral("1V")), 1);
    EXPECT_EQ(bookmark::matchingPosition(items, QStringLiteral("  2R")), 2);
    EXPECT_EQ(bookmark::matchingPosition(items, QStringLiteral("1r  ")), 0);
}

TEST(BookmarkLines, NoMatchGivesTheItemCount) {
    const QStringList items = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    EXPECT_EQ(bookmark::matchingPosition(items, QStringLiteral("9")), 3);
    EXPECT_EQ(bookmark::matchingPosition({}, QStringLiteral("1")), 0);
    // The first of two equal items wins.
    EXPECT_EQ(
        bookmark::matchingPosition({QStringLiteral("a"), QStringLiteral("A")}, QStringLiteral("a")),
        0);
}

TEST(InstructionTexts, EachTopicAsListed) {
    // Lines, whether a carriage return follows the last one, the first line, how it ends, and
    // the pointer picture (Image7: 0 lens, 1 right, 2 left, 3 up, 4 down, 5 crossed lens).
    const struct {
        int lines;
        bool finalBreak;
        const char* first;
        const char* end;
        int picture;
    } topics[8] = {
        {14, true, "COME SELEZIONARE UN LIBRO",
         "In ogni caso l'elenco libri riporta SOLO le voci esistenti\r", -1},
        {13, false, "COME VOLTARE PAGINA IN AVANTI",
         "Raggiunta l'ultima pagina del libro, l'azione si blocca. ", 1},
        {14, false, "COME VOLTARE PAGINA INDIETRO",
         "Raggiunta la prima pagina del libro, l'azione si blocca. ", 2},
        {16, false, "COME INGRANDIRE LA PAGINA",
         "Alla lente si alterna la lente crociata e viceversa.", 0},
        {13, true, "COME SPOSTARE LA PAGINA IN ALTO", "Premere il tasto freccetta verso l'alto\r",
         3},
        {13, true, "COME SPOSTARE LA PAGINA IN BASSO",
         "Premere il tasto freccetta verso il basso\r", 4},
        {12, true, "COME ANDARE DIRETTAMENTE AD UNA PAGINA",
         "La pagina viene ricercata in automatico ed APERTA\r", -1},
        {16, false, "COME RIMPICCOLIRE LA PAGINA",
         "Alla lente si alterna la lente crociata e viceversa.", 5},
    };
    for (int k = 0; k < 8; ++k) {
        const QString text = instructions::topicText(k);
        SCOPED_TRACE(k);
        EXPECT_EQ(text.count(CR), topics[k].finalBreak ? topics[k].lines : topics[k].lines - 1);
        EXPECT_EQ(text.endsWith(CR), topics[k].finalBreak);
        EXPECT_FALSE(text.contains(QLatin1Char('\n')));
        EXPECT_EQ(linesOf(text).first(), QString::fromLatin1(topics[k].first));
        EXPECT_TRUE(text.endsWith(QString::fromLatin1(topics[k].end)));
        EXPECT_EQ(instructions::topicPicture(k), topics[k].picture);
    }
    for (const int none : {-1, 8}) {
        EXPECT_TRUE(instructions::topicText(none).isEmpty());
        EXPECT_EQ(instructions::topicPicture(none), -1);
    }
}

TEST(InstructionTexts, LinesKeepTheirBlanksAndPiecesJoinWithNothingBetween) {
    const QStringList topic1 = linesOf(instructions::topicText(1));
    EXPECT_EQ(topic1[1], "");
    EXPECT_EQ(topic1[3], "POSIZIONARE il cursore (mouse) ");
    EXPECT_EQ(linesOf(instructions::topicText(3))[2], "IMPORTANTE: ");
    EXPECT_EQ(linesOf(instructions::topicText(0))[3],
              "Cliccare sul pulsante a triangolino verso il basso della FINESTRA a scorrimento (in "
              "alto, prima a sinistra): SI APRE UN ELENCO DI TUTTI I 'LIBRI' esistenti.");
    EXPECT_EQ(linesOf(instructions::topicText(4))[3],
              "QUESTO COMANDO esiste SOLO se la pagina risulta ingrandita, e non si e' raggiunto "
              "il bordo inferiore della stessa");
    EXPECT_EQ(linesOf(instructions::topicText(6))[8],
              "Premere il tasto F2 e DIGITARE il NUMERO di pagina voluto.");
}

TEST(InstructionTexts, PreliminaryNote) {
    const QStringList lines = linesOf(instructions::preliminaryNote());
    ASSERT_EQ(lines.size(), 9); // eight lines and the final break
    EXPECT_EQ(lines[0], "I LIBRI");
    EXPECT_EQ(lines[2], " Abbiamo considerato gli INDICI e le ANTIPAGINE come due Libri.");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[7], "Esempio: 100s, 100d, 101s, 101d, 102s, 102d, ecc. ecc.  ");
    EXPECT_EQ(lines[8], "");
    EXPECT_TRUE(lines[5].contains("affiancate. In questo caso l'elenco delle pagine riporta SOLO"));
    EXPECT_TRUE(lines[6].endsWith("equivalgono a due pagine con lo stesso numero, seguite da una "
                                  "s od una d."));
}
