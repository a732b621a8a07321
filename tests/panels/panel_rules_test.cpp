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

TEST(InstructionTexts, LineCountsAndFinalBreaks) {
    // Lines per topic as listed, and whether a carriage return follows the last one.
    const int lines[8] = {14, 13, 14, 16, 13, 13, 12, 16};
    const bool finalBreak[8] = {true, false, false, false, true, true, true, false};
    for (int k = 0; k < 8; ++k) {
        const QString text = instructions::topicText(k);
        SCOPED_TRACE(k);
        EXPECT_EQ(text.endsWith(CR), finalBreak[k]);
        EXPECT_EQ(text.count(CR), finalBreak[k] ? lines[k] : lines[k] - 1);
        EXPECT_FALSE(text.contains(QLatin1Char('\n')));
    }
    EXPECT_TRUE(instructions::topicText(8).isEmpty());
    EXPECT_TRUE(instructions::topicText(-1).isEmpty());
}

TEST(InstructionTexts, FirstLinesNameTheTopic) {
    const char* first[8] = {"COME SELEZIONARE UN LIBRO",
                            "COME VOLTARE PAGINA IN AVANTI",
                            "COME VOLTARE PAGINA INDIETRO",
                            "COME INGRANDIRE LA PAGINA",
                            "COME SPOSTARE LA PAGINA IN ALTO",
                            "COME SPOSTARE LA PAGINA IN BASSO",
                            "COME ANDARE DIRETTAMENTE AD UNA PAGINA",
                            "COME RIMPICCOLIRE LA PAGINA"};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(linesOf(instructions::topicText(k)).first(), QString::fromLatin1(first[k])) << k;
}

TEST(InstructionTexts, TrailingBlanksAndEndsAreKept) {
    EXPECT_TRUE(instructions::topicText(1).endsWith(
        QStringLiteral("Raggiunta l'ultima pagina del libro, l'azione si blocca. ")));
    EXPECT_TRUE(instructions::topicText(2).endsWith(QStringLiteral("si blocca. ")));
    EXPECT_TRUE(instructions::topicText(4).endsWith(
        QStringLiteral("Premere il tasto freccetta verso l'alto") + CR));
    EXPECT_TRUE(instructions::topicText(7).endsWith(
        QStringLiteral("Alla lente si alterna la lente crociata e viceversa.")));
    const QStringList topic1 = linesOf(instructions::topicText(1));
    EXPECT_EQ(topic1[3], "POSIZIONARE il cursore (mouse) ");
    EXPECT_EQ(topic1[1], "");
    const QStringList topic3 = linesOf(instructions::topicText(3));
    EXPECT_EQ(topic3[2], "IMPORTANTE: ");
    EXPECT_EQ(topic3[12], "Premere il tasto Maiusc (Shift)");
}

TEST(InstructionTexts, PiecesJoinWithNothingBetween) {
    EXPECT_EQ(linesOf(instructions::topicText(0))[3],
              "Cliccare sul pulsante a triangolino verso il basso della FINESTRA a scorrimento (in "
              "alto, prima a sinistra): SI APRE UN ELENCO DI TUTTI I 'LIBRI' esistenti.");
    EXPECT_EQ(linesOf(instructions::topicText(4))[3],
              "QUESTO COMANDO esiste SOLO se la pagina risulta ingrandita, e non si e' raggiunto "
              "il bordo inferiore della stessa");
    EXPECT_EQ(linesOf(instructions::topicText(5))[6],
              "Posizionare il cursore (mouse) circa sul bordo superiore dell'immagine pagina");
    EXPECT_EQ(linesOf(instructions::topicText(6))[8],
              "Premere il tasto F2 e DIGITARE il NUMERO di pagina voluto.");
}

TEST(InstructionTexts, PreliminaryNote) {
    const QString note = instructions::preliminaryNote();
    const QStringList lines = linesOf(note);
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

TEST(InstructionTexts, PointerPictureOfEachTopic) {
    // Image7: 0 lens, 1 right, 2 left, 3 up, 4 down, 5 crossed lens.
    const int expected[8] = {-1, 1, 2, 0, 3, 4, -1, 5};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(instructions::topicPicture(k), expected[k]) << k;
    EXPECT_EQ(instructions::topicPicture(8), -1);
}
