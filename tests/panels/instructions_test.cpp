// The instructions panel: opening and closing it, the state of the selectors, and the text and
// pointer picture of every topic.
#include "app/bookform.h"
#include "tests/support/test_volume.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QChar CR(13);

struct PanelState {
    bool panel, question, closeQuestion, books, pages, confirm;
    bool operator==(const PanelState&) const = default;
};

PanelState stateOf(const BookForm& f) {
    return {f.Picture1->Visible(), f.Image2[0]->Visible(), f.Image2[1]->Visible(),
            f.Combo2->Enabled(),   f.Combo1->Enabled(),    f.Picture5->Enabled()};
}

const PanelState kClosed{false, true, false, true, true, true};
const PanelState kOpen{true, false, true, false, false, false};

int shownPointers(const BookForm& f, int* which) {
    int shown = 0;
    for (int i = 0; i < 6; ++i)
        if (f.Image7[i]->Visible()) {
            ++shown;
            *which = i;
        }
    return shown;
}
} // namespace

TEST(InstructionsPanel, StartsClosedWithTheFirstTopic) {
    StartedViewer v;
    EXPECT_EQ(stateOf(*v.form), kClosed);
    EXPECT_TRUE(v.form->Option1[0]->Value());
    EXPECT_TRUE(v.form->Label4->Caption().startsWith(QStringLiteral("COME SELEZIONARE UN LIBRO") +
                                                     CR + QStringLiteral("USANDO IL MOUSE") + CR));
    EXPECT_TRUE(v.form->Label4->Caption().endsWith(
        QStringLiteral("In ogni caso l'elenco libri riporta SOLO le voci esistenti") + CR));
    EXPECT_TRUE(v.form->Label2->Caption().startsWith(QStringLiteral("I LIBRI") + CR));
    EXPECT_TRUE(v.form->Label2->Caption().endsWith(QStringLiteral("ecc. ecc.  ") + CR));
    // Shown with line breaks.
    EXPECT_TRUE(v.form->Label2->label()->text().startsWith("I LIBRI\nI testi antichi"));
    int which = -1;
    EXPECT_EQ(shownPointers(*v.form, &which), 0);
}

TEST(InstructionsPanel, ToggleOpensAndClosesWithTheSelectors) {
    StartedViewer v;
    v.form->Image2_Click(0); // F3 or the question mark
    EXPECT_EQ(stateOf(*v.form), kOpen);
    v.form->Image2_Click(0);
    EXPECT_EQ(stateOf(*v.form), kClosed);
    // Either picture toggles.
    v.form->Image2_Click(1);
    EXPECT_EQ(stateOf(*v.form), kOpen);
    v.form->Image2_Click(1);
    EXPECT_EQ(stateOf(*v.form), kClosed);
}

TEST(InstructionsPanel, F3TwiceOpensAndCloses) {
    StartedViewer v;
    v.form->Form_KeyDown(114, 0);
    EXPECT_EQ(stateOf(*v.form), kOpen);
    v.form->Form_KeyDown(114, 0);
    EXPECT_EQ(stateOf(*v.form), kClosed);
}

TEST(InstructionsPanel, F3PictureAlwaysCloses) {
    StartedViewer v;
    v.form->Image2_Click(0);
    v.form->Image14_Click();
    EXPECT_EQ(stateOf(*v.form), kClosed);
    v.form->Image14_Click();
    EXPECT_EQ(stateOf(*v.form), kClosed);
}

TEST(InstructionsPanel, HiddenByAPageTurnReopensThenCloses) {
    StartedViewer v;
    v.form->Image2_Click(0);
    v.form->Picture1->setVisible(false); // what a forward turn or a page pick does
    EXPECT_FALSE(v.form->Combo1->Enabled());
    v.form->Image2_Click(0);
    EXPECT_EQ(stateOf(*v.form), kOpen);
    v.form->Image2_Click(0);
    EXPECT_EQ(stateOf(*v.form), kClosed);
}

TEST(InstructionsPanel, EveryTopicShowsItsTextAndPicture) {
    StartedViewer v;
    // Pointer per topic: none, right, left, lens, up, down, none, crossed lens.
    const int pointer[8] = {-1, 1, 2, 0, 3, 4, -1, 5};
    const char* first[8] = {"COME SELEZIONARE UN LIBRO",
                            "COME VOLTARE PAGINA IN AVANTI",
                            "COME VOLTARE PAGINA INDIETRO",
                            "COME INGRANDIRE LA PAGINA",
                            "COME SPOSTARE LA PAGINA IN ALTO",
                            "COME SPOSTARE LA PAGINA IN BASSO",
                            "COME ANDARE DIRETTAMENTE AD UNA PAGINA",
                            "COME RIMPICCOLIRE LA PAGINA"};
    // Visit the topics in an order that leaves a picture shown before each one.
    for (int k : {3, 0, 1, 6, 7, 2, 4, 5}) {
        SCOPED_TRACE(k);
        v.form->Option1[k]->setValue(true);
        EXPECT_TRUE(v.form->Option1[k]->Value());
        EXPECT_EQ(v.form->Label4->Caption().section(CR, 0, 0), QString::fromLatin1(first[k]));
        int which = -1;
        const int shown = shownPointers(*v.form, &which);
        EXPECT_EQ(shown, pointer[k] < 0 ? 0 : 1);
        if (pointer[k] >= 0) {
            EXPECT_EQ(which, pointer[k]);
        }
    }
}

TEST(InstructionsPanel, TopicEndsAsListed) {
    StartedViewer v;
    v.form->Option1_Click(1);
    EXPECT_TRUE(v.form->Label4->Caption().endsWith(QStringLiteral("l'azione si blocca. ")));
    v.form->Option1_Click(4);
    EXPECT_TRUE(v.form->Label4->Caption().endsWith(QStringLiteral("verso l'alto") + CR));
    v.form->Option1_Click(6);
    EXPECT_TRUE(v.form->Label4->Caption().endsWith(QStringLiteral("ed APERTA") + CR));
}

TEST(InstructionsPanel, TopicStaysAcrossClosing) {
    StartedViewer v;
    v.form->Image2_Click(0);
    v.form->Option1[5]->setValue(true);
    const QString text = v.form->Label4->Caption();
    v.form->Image14_Click();
    v.form->Image2_Click(0);
    EXPECT_EQ(v.form->Label4->Caption(), text);
    EXPECT_TRUE(v.form->Image7[4]->Visible());
}

TEST(InstructionsPanel, CaptionsAndTooltips) {
    StartedViewer v;
    const char* captions[8] = {"come      SELEZIONARE UN LIBRO dall'ELENCO",
                               "come      VOLTARE in AVANTI",
                               "/ INDIETRO la PAGINA",
                               "come      INGRANDIRE",
                               "come      SPOSTARE in ALTO",
                               "/ in BASSO la PAGINA",
                               "come      ANDARE DIRETTAMENTE AD UNA PAGINA",
                               "/  RIDURRE LA PAGINA"};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(v.form->Option1[k]->Caption(), QString::fromLatin1(captions[k])) << k;
    EXPECT_EQ(v.form->Image2[0]->ToolTipText(), "ISTRUZIONI");
    EXPECT_EQ(v.form->Image2[1]->ToolTipText(), "CHIUDI ISTRUZIONI");
    EXPECT_EQ(v.form->Image14->ToolTipText(), "Uscita Istruzuini");
    EXPECT_EQ(v.form->Label12->Caption(), "per TERMINARLE premere F3");
}
